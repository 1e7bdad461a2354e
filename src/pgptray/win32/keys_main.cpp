// PGPKeys.Exe: the key manager: the key list, import from a file or the clipboard, a public key
// copied to the clipboard, a new key pair, and deleting a key after a question.
#include <windows.h>
#include <commdlg.h>

#include "pgptray/key_manager.h"
#include "pgptray/win32/form.h"
#include "pgptray/win32/tray_app.h"
#include "platform/win32/toolkit/handles.h"

namespace pgptray {
namespace {

enum : int { kList = 500, kImportFile, kImportClipboard, kCopy, kNew, kDelete, kRefresh };
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
        Form f("PGPkeys - New Key Pair", 380, 190);
        f.label("Full name:", 10, 12, 110, 18);
        f.edit("", 120, 10, 250, 22, kName);
        f.label("E-mail address:", 10, 42, 110, 18);
        f.edit("", 120, 40, 250, 22, kEmail);
        f.label("Pass phrase:", 10, 72, 110, 18);
        f.edit("", 120, 70, 250, 22, kPass, ES_PASSWORD);
        f.label("Once more:", 10, 102, 110, 18);
        f.edit("", 120, 100, 250, 22, kPass2, ES_PASSWORD);
        f.label("An ed25519 signing key with a cv25519 encryption key.", 10, 130, 360, 18);
        f.button("OK", 200, 156, 80, 26, IDOK, true);
        f.button("Cancel", 290, 156, 80, 26, IDCANCEL);
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
        if (f.runModal() != IDOK) return;
        manager.newKeyPair(f.text(kName), f.text(kEmail), f.text(kPass));
        refresh();
    }

    void run() {
        HWND list = form.add("LISTBOX", "", WS_TABSTOP | WS_VSCROLL | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT |
                                                LBS_NOTIFY, 10, 10, 440, 310, kList, WS_EX_CLIENTEDGE);
        int tabs[] = {30, 130, 230, 270};
        SendMessageA(list, LB_SETTABSTOPS, 4, reinterpret_cast<LPARAM>(tabs));
        const std::pair<const char*, int> buttons[] = {
            {"Import &File...", kImportFile}, {"Import from C&lipboard", kImportClipboard},
            {"&Copy Public Key", kCopy},      {"&New Key Pair...", kNew},
            {"&Delete Key", kDelete},         {"&Refresh", kRefresh},
        };
        int y = 10;
        for (const auto& [caption, id] : buttons) {
            form.button(caption, 460, y, 130, 26, id);
            y += 34;
        }
        form.button("Close", 460, 294, 130, 26, IDCANCEL);
        form.onCommand = [this](int id, int) {
            switch (id) {
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
