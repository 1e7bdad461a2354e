// The dialogs of the tray program: recipients, pass phrase, preferences, messages, the result
// window and the tools window.
#include <algorithm>

#include "pgptray/tray_texts.h"
#include "pgptray/win32/form.h"
#include "pgptray/win32/tray_app.h"

namespace pgptray {
namespace {

using K = ControlKind;

constexpr int kRecipientList = 100;
constexpr int kEncryptToSelf = 101;
constexpr int kPassphraseEdit = 200;
constexpr int kOwnKeyList = 201;
constexpr int kResultText = 300;
constexpr int kPrefGpg = 400, kPrefFolder = 401, kPrefKey = 402, kPrefSelf = 403, kPrefWithoutAsking = 404;
constexpr int kToolsKeys = 40001;

// Dialog units (a quarter of the font's average character width): key id, state, name, address.
int kKeyListTabs[] = {72, 116, 210};

// Fills a built list with keys, one per line (RecipientEntry), each line's data the key's index.
HWND fillKeyList(Form& f, int id, const std::vector<GpgKey>& keys) {
    HWND list = f.item(id);
    SendMessageA(list, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(kKeyListTabs));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int at = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0,
                                                     reinterpret_cast<LPARAM>(RecipientEntry(keys[i]).c_str())));
        SendMessageA(list, LB_SETITEMDATA, at, static_cast<LPARAM>(i));
    }
    return list;
}

// The line of a filled key list that shows keys[index].
int ListIndexOf(HWND list, std::size_t index) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        if (static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, i, 0)) == index) return i;
    return -1;
}

}  // namespace

TrayWindows::TrayWindows() = default;
TrayWindows::~TrayWindows() = default;

bool TrayWindows::chooseRecipients(const std::vector<GpgKey>& keys, const std::string& notice, bool& encryptToSelf,
                                   std::vector<std::string>& chosen) {
    // The addresses left without a key are named above the list, which moves down for them.
    const int top = notice.empty() ? 0 : 40;
    const ControlSpec rows[] = {
        {K::Text, "lblNotice", notice.c_str(), 10, 8, 540, 34, v5::kNoControlId, v5::cfNoPrefix},
        {K::Label, "lblKeys",
         "Choose the keys to encrypt to (click to select; expired and revoked keys cannot be chosen):", 10, 8 + top,
         540, 18},
        {K::ListBox, "lstKeys", "", 10, 30 + top, 540, 200, kRecipientList, v5::cfMultiSelect | v5::cfColumns},
        {K::CheckBox, "chkEncryptToSelf", "Encrypt to myself", 10, 238 + top, 200, 20, kEncryptToSelf},
        {K::Button, "btnOk", "OK", 380, 264 + top, 80, 26, IDOK, v5::cfDefault},
        {K::Button, "btnCancel", "Cancel", 470, 264 + top, 80, 26, IDCANCEL},
    };
    Form f(std::string(kProgramTitle) + " - Choose Recipients", 560, 300 + top);
    f.build(rows);
    HWND list = fillKeyList(f, kRecipientList, keys);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (!keys[i].usable() || std::find(chosen.begin(), chosen.end(), keys[i].fingerprint) == chosen.end()) continue;
        // Index -1 would select every line.
        if (const int line = ListIndexOf(list, i); line >= 0) SendMessageA(list, LB_SETSEL, TRUE, line);
    }
    f.setChecked(kEncryptToSelf, encryptToSelf);
    f.onCommand = [&](int id, int code) {
        if (id == kRecipientList && code == LBN_SELCHANGE) {
            const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                const auto k = static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
                if (k < keys.size() && !keys[k].usable() && SendMessageA(list, LB_GETSEL, i, 0) > 0)
                    SendMessageA(list, LB_SETSEL, FALSE, i);
            }
            return true;
        }
        return false;
    };
    if (f.runModal() != IDOK) return false;
    chosen.clear();
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, i, 0));
        if (SendMessageA(list, LB_GETSEL, i, 0) > 0 && k < keys.size() && keys[k].usable())
            chosen.push_back(keys[k].fingerprint);
    }
    encryptToSelf = f.checked(kEncryptToSelf);
    return true;
}

bool TrayWindows::chooseOwnKey(const std::vector<GpgKey>& secretKeys, std::string& fingerprint) {
    static const ControlSpec rows[] = {
        {K::Label, "lblOwnKey",
         "\"Encrypt to myself\" needs your own key. Choose it (it also becomes your default signing key):", 10, 8,
         540, 18, v5::kNoControlId, v5::cfNoPrefix},
        {K::ListBox, "lstOwnKeys", "", 10, 30, 540, 160, kOwnKeyList, v5::cfColumns},
        {K::Button, "btnOk", "OK", 380, 198, 80, 26, IDOK, v5::cfDefault},
        {K::Button, "btnCancel", "Cancel", 470, 198, 80, 26, IDCANCEL},
    };
    Form f(std::string(kProgramTitle) + " - Choose Your Key", 560, 230);
    f.build(rows);
    HWND list = fillKeyList(f, kOwnKeyList, secretKeys);
    if (f.runModal() != IDOK) return false;
    const int at = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (at < 0) return false;
    const auto k = static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, at, 0));
    if (k >= secretKeys.size()) return false;
    fingerprint = secretKeys[k].fingerprint;
    return true;
}

bool TrayWindows::askPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase) {
    const std::string prompt =
        (retry ? "The pass phrase was wrong. Try again.\r\n" : std::string()) + "Pass phrase for " + keyLabel + ":";
    const ControlSpec rows[] = {
        {K::Label, "lblPrompt", prompt.c_str(), 10, 8, 380, 34},
        {K::Edit, "txtPassphrase", "", 10, 48, 380, 22, kPassphraseEdit, v5::cfSunken | v5::cfPassword},
        {K::Button, "btnOk", "OK", 220, 94, 80, 26, IDOK, v5::cfDefault},
        {K::Button, "btnCancel", "Cancel", 310, 94, 80, 26, IDCANCEL},
    };
    Form f(std::string(kProgramTitle) + " - Enter Pass Phrase", 400, 130);
    f.build(rows);
    SetFocus(f.item(kPassphraseEdit));
    const bool ok = f.runModal() == IDOK;
    if (ok) passphrase = f.text(kPassphraseEdit);
    // Whatever was typed leaves the edit control on every way out.
    WipeEdit(f.item(kPassphraseEdit));
    return ok;
}

bool TrayWindows::editPreferences(TraySettings& settings, const std::vector<std::string>& signingKeys) {
    const ControlSpec rows[] = {
        {K::Label, "lblGpg", "gpg.exe (empty: the installed GnuPG, then the PATH):", 10, 8, 440, 18},
        {K::Edit, "txtGpg", settings.gpgPath.c_str(), 10, 26, 440, 22, kPrefGpg, v5::cfSunken},
        {K::Label, "lblFolder", "Key folder (empty: GnuPG's own):", 10, 56, 440, 18},
        {K::Edit, "txtFolder", settings.keyFolder.c_str(), 10, 74, 440, 22, kPrefFolder, v5::cfSunken},
        {K::Label, "lblKey", "Default signing key (fingerprint; empty: GnuPG's default):", 10, 104, 440, 18},
        {K::ComboBox, "cboKey", "", 10, 122, 440, 200, kPrefKey},
        {K::CheckBox, "chkEncryptToSelf", "Encrypt to myself", 10, 152, 200, 20, kPrefSelf},
        {K::CheckBox, "chkEncryptWithoutAsking",
         "Encrypt without asking when every recipient has exactly one valid key", 10, 176, 440, 20, kPrefWithoutAsking},
        {K::Button, "btnOk", "OK", 280, 202, 80, 26, IDOK, v5::cfDefault},
        {K::Button, "btnCancel", "Cancel", 370, 202, 80, 26, IDCANCEL},
    };
    Form f(std::string(kProgramTitle) + " - Preferences", 460, 234);
    f.build(rows);
    HWND combo = f.item(kPrefKey);
    for (const std::string& fingerprint : signingKeys)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fingerprint.c_str()));
    SetWindowTextA(combo, settings.defaultKey.c_str());
    f.setChecked(kPrefSelf, settings.encryptToSelf);
    f.setChecked(kPrefWithoutAsking, settings.encryptWithoutAsking);
    if (f.runModal() != IDOK) return false;
    settings.gpgPath = f.text(kPrefGpg);
    settings.keyFolder = f.text(kPrefFolder);
    settings.defaultKey = f.text(kPrefKey);
    settings.encryptToSelf = f.checked(kPrefSelf);
    settings.encryptWithoutAsking = f.checked(kPrefWithoutAsking);
    return true;
}

void TrayWindows::message(const std::string& text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Error     ? MB_ICONERROR
                      : kind == MessageKind::Warning ? MB_ICONWARNING
                                                     : MB_ICONINFORMATION;
    TrayMessage(text, MB_OK | icon);
}

bool TrayWindows::ask(const std::string& question) {
    return TrayMessage(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void TrayWindows::showResult(const std::string& text) {
    const ControlSpec rows[] = {
        {K::Memo, "txtResult", text.c_str(), 10, 10, 400, 140, kResultText, v5::cfReadOnly},
        {K::Button, "btnOk", "OK", 170, 162, 80, 26, IDOK, v5::cfDefault},
    };
    result_ = std::make_unique<Form>(std::string(kProgramTitle) + " - Result", 420, 200);
    result_->build(rows);
    result_->showModeless();
}

void TrayWindows::appendResult(const std::string& text) {
    if (!resultOpen()) return;
    result_->setText(kResultText, result_->text(kResultText) + text);
    SetForegroundWindow(result_->hwnd());
}

bool TrayWindows::resultOpen() { return result_ && !result_->closed(); }

void TrayWindows::showTools() {
    // The buttons send the hidden window's command identifiers; "&Keys" starts the key manager.
    static const ControlSpec rows[] = {
        {K::Label, "lblClipboard", "The clipboard's text:", 10, 8, 130, 18},
        {K::Button, "btnEncrypt", "&Encrypt", 10, 30, 130, 26, 40017},
        {K::Button, "btnEncryptSign", "Encrypt && &Sign", 10, 62, 130, 26, 40007},
        {K::Button, "btnSign", "Si&gn", 10, 94, 130, 26, 40018},
        {K::Button, "btnDecrypt", "&Decrypt/Verify", 10, 126, 130, 26, 40008},
        {K::Button, "btnImport", "&Import Keys", 10, 158, 130, 26, 40006},
        {K::Button, "btnPreferences", "&Preferences", 10, 190, 130, 26, 40012},
        {K::Button, "btnKeys", "&Keys", 10, 222, 130, 26, kToolsKeys},
    };
    tools_ = std::make_unique<Form>("PGPtools", 150, 40 + 32 * 7);
    Form& f = *tools_;
    f.build(rows);
    f.onCommand = [this](int id, int) {
        if (id == kToolsKeys) {
            StartSiblingProgram("PGPKeys.Exe");
            return true;
        }
        if (id >= 40000 && id < 40100) {
            if (onTool) onTool(static_cast<unsigned>(id));
            return true;
        }
        return false;
    };
    f.showModeless();
}

bool TrayWindows::toolsOpen() const { return tools_ && !tools_->closed(); }

}  // namespace pgptray
