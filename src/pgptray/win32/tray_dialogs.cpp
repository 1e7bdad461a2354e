// The dialogs of the tray program: recipients, pass phrase, preferences, messages, the result
// window and the tools window.
#include "pgptray/tray_texts.h"
#include "pgptray/win32/form.h"
#include "pgptray/win32/tray_app.h"

namespace pgptray {
namespace {

constexpr int kRecipientList = 100;
constexpr int kEncryptToSelf = 101;
constexpr int kPassphraseEdit = 200;
constexpr int kOwnKeyList = 201;
constexpr int kResultText = 300;
constexpr int kPrefGpg = 400, kPrefFolder = 401, kPrefKey = 402, kPrefSelf = 403;

// Dialog units (a quarter of the font's average character width): key id, state, name, address.
int kKeyListTabs[] = {72, 116, 210};

// A list of keys, one per line (RecipientEntry), each line's data the key's index.
HWND keyList(Form& f, const std::vector<GpgKey>& keys, DWORD selection, int y, int height, int id) {
    HWND list = f.add("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | selection | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT,
                      10, y, 540, height, id, WS_EX_CLIENTEDGE);
    SendMessageA(list, LB_SETTABSTOPS, 3, reinterpret_cast<LPARAM>(kKeyListTabs));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int at = static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0,
                                                     reinterpret_cast<LPARAM>(RecipientEntry(keys[i]).c_str())));
        SendMessageA(list, LB_SETITEMDATA, at, static_cast<LPARAM>(i));
    }
    return list;
}

}  // namespace

TrayWindows::TrayWindows() = default;
TrayWindows::~TrayWindows() = default;

bool TrayWindows::chooseRecipients(const std::vector<GpgKey>& keys, bool& encryptToSelf,
                                   std::vector<std::string>& chosen) {
    Form f(std::string(kProgramTitle) + " - Choose Recipients", 560, 300);
    f.label("Choose the keys to encrypt to (click to select; expired and revoked keys cannot be chosen):", 10, 8,
            540, 18);
    HWND list = keyList(f, keys, LBS_MULTIPLESEL, 30, 200, kRecipientList);
    f.add("BUTTON", "Encrypt to myself", WS_TABSTOP | BS_AUTOCHECKBOX, 10, 238, 200, 20, kEncryptToSelf);
    SendMessageA(f.item(kEncryptToSelf), BM_SETCHECK, encryptToSelf ? BST_CHECKED : BST_UNCHECKED, 0);
    f.button("OK", 380, 264, 80, 26, IDOK, true);
    f.button("Cancel", 470, 264, 80, 26, IDCANCEL);
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
    encryptToSelf = SendMessageA(f.item(kEncryptToSelf), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return true;
}

bool TrayWindows::chooseOwnKey(const std::vector<GpgKey>& secretKeys, std::string& fingerprint) {
    Form f(std::string(kProgramTitle) + " - Choose Your Key", 560, 230);
    f.label("\"Encrypt to myself\" needs your own key. Choose it (it also becomes your default signing key):", 10, 8,
            540, 18);
    HWND list = keyList(f, secretKeys, 0, 30, 160, kOwnKeyList);
    f.button("OK", 380, 198, 80, 26, IDOK, true);
    f.button("Cancel", 470, 198, 80, 26, IDCANCEL);
    if (f.runModal() != IDOK) return false;
    const int at = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (at < 0) return false;
    const auto k = static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, at, 0));
    if (k >= secretKeys.size()) return false;
    fingerprint = secretKeys[k].fingerprint;
    return true;
}

bool TrayWindows::askPassphrase(const std::string& keyLabel, bool retry, std::string& passphrase) {
    Form f(std::string(kProgramTitle) + " - Enter Pass Phrase", 400, 130);
    f.label((retry ? "The pass phrase was wrong. Try again.\r\n" : std::string()) + "Pass phrase for " + keyLabel + ":",
            10, 8, 380, 34);
    f.edit("", 10, 48, 380, 22, kPassphraseEdit, ES_PASSWORD);
    f.button("OK", 220, 94, 80, 26, IDOK, true);
    f.button("Cancel", 310, 94, 80, 26, IDCANCEL);
    SetFocus(f.item(kPassphraseEdit));
    const bool ok = f.runModal() == IDOK;
    if (ok) passphrase = f.text(kPassphraseEdit);
    // Whatever was typed leaves the edit control on every way out.
    WipeEdit(f.item(kPassphraseEdit));
    return ok;
}

bool TrayWindows::editPreferences(TraySettings& settings, const std::vector<std::string>& signingKeys) {
    Form f(std::string(kProgramTitle) + " - Preferences", 460, 210);
    f.label("gpg.exe (empty: the installed GnuPG, then the PATH):", 10, 8, 440, 18);
    f.edit(settings.gpgPath, 10, 26, 440, 22, kPrefGpg);
    f.label("Key folder (empty: GnuPG's own):", 10, 56, 440, 18);
    f.edit(settings.keyFolder, 10, 74, 440, 22, kPrefFolder);
    f.label("Default signing key (fingerprint; empty: GnuPG's default):", 10, 104, 440, 18);
    HWND combo = f.add("COMBOBOX", "", WS_TABSTOP | CBS_DROPDOWN | WS_VSCROLL | CBS_AUTOHSCROLL, 10, 122, 440, 200,
                       kPrefKey);
    for (const std::string& fingerprint : signingKeys)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fingerprint.c_str()));
    SetWindowTextA(combo, settings.defaultKey.c_str());
    f.add("BUTTON", "Encrypt to myself", WS_TABSTOP | BS_AUTOCHECKBOX, 10, 152, 200, 20, kPrefSelf);
    SendMessageA(f.item(kPrefSelf), BM_SETCHECK, settings.encryptToSelf ? BST_CHECKED : BST_UNCHECKED, 0);
    f.button("OK", 280, 178, 80, 26, IDOK, true);
    f.button("Cancel", 370, 178, 80, 26, IDCANCEL);
    if (f.runModal() != IDOK) return false;
    settings.gpgPath = f.text(kPrefGpg);
    settings.keyFolder = f.text(kPrefFolder);
    settings.defaultKey = f.text(kPrefKey);
    settings.encryptToSelf = SendMessageA(f.item(kPrefSelf), BM_GETCHECK, 0, 0) == BST_CHECKED;
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
    result_ = std::make_unique<Form>(std::string(kProgramTitle) + " - Result", 420, 200);
    Form& f = *result_;
    f.add("EDIT", text, ES_MULTILINE | ES_READONLY | WS_VSCROLL, 10, 10, 400, 140, kResultText, WS_EX_CLIENTEDGE);
    f.button("OK", 170, 162, 80, 26, IDOK, true);
    f.showModeless();
}

void TrayWindows::appendResult(const std::string& text) {
    if (!resultOpen()) return;
    result_->setText(kResultText, result_->text(kResultText) + text);
    SetForegroundWindow(result_->hwnd());
}

bool TrayWindows::resultOpen() { return result_ && !result_->closed(); }

void TrayWindows::showTools() {
    struct ToolButton { const char* caption; unsigned command; };
    static const ToolButton tools[] = {
        {"&Encrypt", 40017}, {"Encrypt && &Sign", 40007}, {"Si&gn", 40018},
        {"&Decrypt/Verify", 40008}, {"&Import Keys", 40006}, {"&Preferences", 40012},
    };
    tools_ = std::make_unique<Form>("PGPtools", 150, 40 + 32 * 7);
    Form& f = *tools_;
    f.label("The clipboard's text:", 10, 8, 130, 18);
    int y = 30;
    for (const ToolButton& t : tools) {
        f.button(t.caption, 10, y, 130, 26, static_cast<int>(t.command));
        y += 32;
    }
    f.button("&Keys", 10, y, 130, 26, 40001);
    f.onCommand = [this](int id, int) {
        if (id == 40001) {
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
