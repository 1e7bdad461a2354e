// PGPKeys.Exe: the key manager: the key list (the selected key's fingerprint below it), import
// from a file or the clipboard, a public key copied to the clipboard, a key marked as verified, a
// new key pair, and deleting a key after a question.
#include <windows.h>
#include <commdlg.h>

#include "pgptray/key_manager.h"
#include "pgptray/tray_texts.h"
#include "pgptray/win32/form.h"
#include "pgptray/win32/tray_app.h"
#include "platform/win32/toolkit/handles.h"

namespace pgptray {
namespace {

using K = ControlKind;

enum : int { kList = 500, kImportFile, kImportClipboard, kCopy, kNew, kDelete, kRefresh, kVerify, kFingerprint };
enum : int { kName = 600, kEmail, kPass, kPass2 };

// A key file, read whole through Win32: the C++ streams would bring the locale machinery of the
// runtime library into this small program, several times its own size.
bool readKeyFile(const char* path, std::string& text) {
    const v5::win32::OwnedHandle file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart >= (64 << 20)) return false;
    text.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    return text.empty() ||
           (ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr) && got == text.size());
}

// PGPKeys.Exe's window over the key manager.
struct KeysWindow {
    TrayProgram program;
    KeyManager manager{program.app};
    Form form{"PGPkeys", 600, 330};
    std::vector<GpgKey> keys;

    void refresh() {
        // The listings first: the window answers meanwhile, and shows the old list till then.
        KeyManager::Listing listing = manager.list();
        keys = std::move(listing.keys);
        HWND list = form.item(kList);
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        for (std::size_t i = 0; i < listing.entries.size(); ++i) {
            const int at = static_cast<int>(
                SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listing.entries[i].c_str())));
            SendMessageA(list, LB_SETITEMDATA, at, static_cast<LPARAM>(i));
        }
        showFingerprint();
    }

    // The selected key's fingerprint, to compare with what its owner gave before marking it verified.
    void showFingerprint() {
        HWND list = form.item(kList);
        const int at = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        const auto i = at < 0 ? keys.size() : static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, at, 0));
        form.setText(kFingerprint, i < keys.size() ? "Fingerprint: " + FormatFingerprint(keys[i].fingerprint) : "");
    }

    const GpgKey* selected() {
        HWND list = form.item(kList);
        const int at = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
        if (at < 0) {
            program.windows.message("Select a key first.", MessageKind::Information);
            return nullptr;
        }
        const auto i = static_cast<std::size_t>(SendMessageA(list, LB_GETITEMDATA, at, 0));
        return i < keys.size() ? &keys[i] : nullptr;
    }

    void importFile() {
        char file[MAX_PATH] = {};
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = form.hwnd();
        ofn.lpstrFilter = "Key files (*.asc;*.gpg;*.pgp;*.key)\0*.asc;*.gpg;*.pgp;*.key\0All files\0*.*\0";
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
        if (!GetOpenFileNameA(&ofn)) return;
        std::string text;
        if (!readKeyFile(file, text)) {
            program.windows.message(std::string("The file could not be read: ") + file, MessageKind::Error);
            return;
        }
        if (manager.importText(text)) refresh();
    }

    void newKeyPair() {
        static const ControlSpec rows[] = {
            {K::Label, "lblName", "Full name:", 10, 12, 110, 18},
            {K::Edit, "txtName", "", 120, 10, 250, 22, kName, v5::cfSunken},
            {K::Label, "lblEmail", "E-mail address:", 10, 42, 110, 18},
            {K::Edit, "txtEmail", "", 120, 40, 250, 22, kEmail, v5::cfSunken},
            {K::Label, "lblPass", "Pass phrase:", 10, 72, 110, 18},
            {K::Edit, "txtPass", "", 120, 70, 250, 22, kPass, v5::cfSunken | v5::cfPassword},
            {K::Label, "lblPass2", "Once more:", 10, 102, 110, 18},
            {K::Edit, "txtPass2", "", 120, 100, 250, 22, kPass2, v5::cfSunken | v5::cfPassword},
            {K::Label, "lblKind", "An ed25519 signing key with a cv25519 encryption key.", 10, 130, 360, 18},
            {K::Button, "btnOk", "OK", 200, 156, 80, 26, IDOK, v5::cfDefault},
            {K::Button, "btnCancel", "Cancel", 290, 156, 80, 26, IDCANCEL},
        };
        Form f("PGPkeys - New Key Pair", 380, 190);
        f.build(rows);
        f.onCommand = [&](int id, int) {
            if (id != IDOK) return false;
            std::string pass = f.text(kPass), repeated = f.text(kPass2);
            const std::string problem = NewKeyPairProblem(f.text(kName), f.text(kEmail), pass, repeated);
            WipeSecret(pass);
            WipeSecret(repeated);
            if (problem.empty()) return false;
            program.windows.message(problem, MessageKind::Warning);
            return true;
        };
        const bool ok = f.runModal() == IDOK;
        std::string pass = ok ? f.text(kPass) : std::string();
        // The pass phrases leave the dialog's edit controls on every way out.
        WipeEdit(f.item(kPass));
        WipeEdit(f.item(kPass2));
        if (!ok) return;
        manager.newKeyPair(f.text(kName), f.text(kEmail), std::move(pass));
        refresh();
    }

    void run() {
        static const ControlSpec rows[] = {
            {K::ListBox, "lstKeys", "", 10, 10, 440, 286, kList, v5::cfColumns},
            {K::Label, "lblFingerprint", "", 10, 302, 440, 18, kFingerprint, v5::cfNoPrefix},
            {K::Button, "btnImportFile", "Import &File...", 460, 10, 130, 26, kImportFile},
            {K::Button, "btnImportClipboard", "Import from C&lipboard", 460, 44, 130, 26, kImportClipboard},
            {K::Button, "btnCopy", "&Copy Public Key", 460, 78, 130, 26, kCopy},
            {K::Button, "btnVerify", "Mark as &Verified", 460, 112, 130, 26, kVerify},
            {K::Button, "btnNew", "&New Key Pair...", 460, 146, 130, 26, kNew},
            {K::Button, "btnDelete", "&Delete Key", 460, 180, 130, 26, kDelete},
            {K::Button, "btnRefresh", "&Refresh", 460, 214, 130, 26, kRefresh},
            {K::Button, "btnClose", "Close", 460, 294, 130, 26, IDCANCEL},
        };
        form.build(rows);
        // Kind, key id, state, name, address (dialog units).
        int tabs[] = {26, 98, 142, 226};
        SendMessageA(form.item(kList), LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(tabs));
        form.onCommand = [this](int id, int notification) {
            switch (id) {
                case kList:
                    if (notification == LBN_SELCHANGE) showFingerprint();
                    return true;
                case kVerify:
                    if (const GpgKey* k = selected(); k && manager.markVerified(*k)) refresh();
                    return true;
                case kImportFile: importFile(); return true;
                case kImportClipboard:
                    if (manager.importClipboard()) refresh();
                    return true;
                case kCopy:
                    if (const GpgKey* k = selected()) manager.copyPublicKey(*k);
                    return true;
                case kNew: newKeyPair(); return true;
                case kDelete:
                    if (const GpgKey* k = selected(); k && manager.deleteKey(*k)) refresh();
                    return true;
                case kRefresh: refresh(); return true;
                case IDOK: return true;  // Enter in the list closes nothing
                default: return false;
            }
        };
        refresh();
        form.runModal();
    }
};

}  // namespace
}  // namespace pgptray

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    pgptray::KeysWindow window;
    window.run();
    return 0;
}
