// What the demonstration does on the Windows side, one command per start:
//   demo_tool.exe text <title piece>           prints the text of the window's edit control
//   demo_tool.exe click-tray                   a left click on the first icon of Wine's tray
//   demo_tool.exe shot <title piece> <file>    a picture of the window, taken with ImageMagick's
//                                              "import" (a Unix path for the file)
//   demo_tool.exe choose <entry piece>         in the tray program's recipient dialog, a click on
//                                              the key whose entry holds the piece, then on OK
//   demo_tool.exe put <title piece> <file>     puts the file's text into the window's edit control
//   demo_tool.exe verify <entry piece>         in the key manager, a click on the key whose entry
//                                              holds the piece, on "Mark as Verified", then on
//                                              Close
// The exit code is 0 on success, 1 when the window, the icon or the entry is not there, and 3 when
// the key manager did not mark the key verified.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../pgptray/tray_windows.h"
#include "../tray_support.h"
#include "platform/win32/toolkit/handles.h"

namespace {

struct Search {
    std::string piece;
    HWND found = nullptr;
};

BOOL CALLBACK ByTitle(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    if (IsWindowVisible(hwnd) && std::string(title).find(search->piece) != std::string::npos) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WindowTitled(const std::string& piece) {
    Search search{piece};
    EnumWindows(ByTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK FirstEdit(HWND hwnd, LPARAM param) {
    if (e2e::ClassOf(hwnd) == "Edit") {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND EditOf(const std::string& piece) {
    HWND frame = WindowTitled(piece);
    HWND edit = nullptr;
    if (frame) EnumChildWindows(frame, FirstEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

int PrintText(const std::string& piece) {
    HWND edit = EditOf(piece);
    if (!edit) return 1;
    const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::string out;
    for (const char* p = text.data(); *p; ++p)
        if (*p != '\r') out += *p;
    std::fputs(out.c_str(), stdout);
    std::fputs("\n", stdout);
    return 0;
}

int ClickTray() {
    const std::vector<HWND> icons = e2e::TrayIcons();
    if (icons.empty()) return 1;
    e2e::ClickTrayIcon(icons.front(), WM_LBUTTONUP);
    return 0;
}

int Shot(const std::string& piece, const std::string& file) {
    HWND window = WindowTitled(piece);
    if (!window) return 1;
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    RECT r{};
    GetWindowRect(window, &r);
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::string command = "/usr/bin/import -window root -crop " + std::string(geometry) + " +repage " + file;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return 1;
    // A Linux program: its handle would not tell when it ends.
    v5::win32::OwnedProcess{info};
    return 0;
}

int ChooseRecipient(const std::string& piece) {
    HWND dialog = e2e::VisibleWindowTitled("PGPtray - Choose Recipients");
    if (!dialog || !e2e::ClickListEntry(FindWindowExA(dialog, nullptr, "ListBox", nullptr), piece)) return 1;
    SendMessageA(FindWindowExA(dialog, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
    return 0;
}

int PutText(const std::string& piece, const char* path) {
    HWND edit = EditOf(piece);
    std::FILE* file = std::fopen(path, "rb");
    if (!edit || !file) {
        if (file) std::fclose(file);
        return 1;
    }
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    std::fclose(file);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return 0;
}

int MarkVerified(const std::string& piece) {
    HWND keys = e2e::VisibleWindowTitled("PGPkeys");
    HWND list = keys ? FindWindowExA(keys, nullptr, "ListBox", nullptr) : nullptr;
    if (!list || !e2e::ClickListEntry(list, piece)) return 1;
    // Returns once gpg has certified the key and the list was filled again.
    SendMessageA(FindWindowExA(keys, nullptr, "Button", "Mark as &Verified"), BM_CLICK, 0, 0);
    bool verified = false;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const std::string entry = e2e::ListEntry(list, i);
        if (entry.find(piece) != std::string::npos) verified = entry.find("\tverified\t") != std::string::npos;
    }
    SendMessageA(FindWindowExA(keys, nullptr, "Button", "Close"), BM_CLICK, 0, 0);
    return verified ? 0 : 3;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** argv = __argv;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "text" && argc == 3) return PrintText(argv[2]);
    if (command == "click-tray") return ClickTray();
    if (command == "shot" && argc == 4) return Shot(argv[2], argv[3]);
    if (command == "choose" && argc == 3) return ChooseRecipient(argv[2]);
    if (command == "put" && argc == 4) return PutText(argv[2], argv[3]);
    if (command == "verify" && argc == 3) return MarkVerified(argv[2]);
    std::fputs("usage: demo_tool text <title> | click-tray | shot <title> <file> | choose <entry> | put <title> <file>"
               " | verify <entry>\n",
               stderr);
    return 2;
}
