// Photographs the properties window of a running Vostrel 5, page by page, its tools menu and the
// tip of the day.
// Usage: screenshot_pages.exe <folder, as a Unix path>
// The window is opened the way a person does it, by a right click on the main tray icon; pages
// are turned with the arrow keys on the tabs. Each picture is taken with ImageMagick's "import",
// which Wine starts as the Linux program it is.
#include <windows.h>

#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <functional>
#include <string>

#include "../tray_support.h"
#include "platform/win32/toolkit/handles.h"

namespace {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// Lets the window finish painting before the picture is taken.
void Settle() { Sleep(600); }

bool Photograph(HWND window, const std::string& folder, const std::string& name) {
    RECT r{};
    GetWindowRect(window, &r);
    char geometry[64];
    std::snprintf(geometry, sizeof geometry, "%ldx%ld+%ld+%ld", r.right - r.left, r.bottom - r.top, r.left, r.top);
    std::string command = "/usr/bin/import -window root -crop " + std::string(geometry) + " +repage " + folder +
                          "/" + name + ".png";
    // The same file as Wine sees it, on its drive for the Unix root.
    std::string windowsPath = "Z:" + folder + "/" + name + ".png";
    for (char& c : windowsPath)
        if (c == '/') c = '\\';
    DeleteFileA(windowsPath.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    // The handle of a Linux program does not tell when it ends: wait for its picture, written whole.
    v5::win32::OwnedProcess{info};
    auto size = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return GetFileAttributesExA(windowsPath.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0u;
    };
    DWORD last = 0;
    if (!WaitUntil([&] {
            const DWORD now = size();
            const bool done = now > 0 && now == last;
            last = now;
            Sleep(200);
            return done;
        }, 30000))
        return false;
    std::printf("saved %s/%s.png\n", folder.c_str(), name.c_str());
    return true;
}

std::string FileNameFor(const std::string& caption) {
    std::string name;
    for (char c : caption) name += c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string TabCaption(HWND tabs, int index) {
    // The tab's text lives in the other process; the page names are known by position instead.
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    static const char* all[] = {"Routine", "Special", "Mailer Choice", "Options", "About"};
    static const char* twoPages[] = {"Mailer Choice", "About"};
    if (count == 5 && index < 5) return all[index];
    if (count == 2 && index < 2) return twoPages[index];
    return "page-" + std::to_string(index);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 2) return 2;
    const std::string folder = __argv[1];
    HWND main = nullptr;
    if (!WaitUntil([&] {
            main = FindWindowA("TfrmProps", nullptr);
            return main && e2e::TrayIcons().size() >= 2;
        }))
        return 3;
    e2e::ClickTrayIcon(e2e::TrayIcons()[0], WM_RBUTTONUP);
    if (!WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) return 4;
    HWND tabs = GetDlgItem(main, 1010);
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    // Back to the first tab, then one page after the other.
    for (int guard = 0; guard < count && SendMessageA(tabs, TCM_GETCURSEL, 0, 0) > 0; ++guard) {
        const LRESULT before = SendMessageA(tabs, TCM_GETCURSEL, 0, 0);
        PostMessageA(tabs, WM_KEYDOWN, VK_LEFT, 0);
        WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) != before; }, 5000);
    }
    for (int index = 0; index < count; ++index) {
        if (index > 0) {
            PostMessageA(tabs, WM_KEYDOWN, VK_RIGHT, 0);
            WaitUntil([&] { return SendMessageA(tabs, TCM_GETCURSEL, 0, 0) == index; }, 5000);
        }
        Settle();
        Photograph(main, folder, FileNameFor(TabCaption(tabs, index)));
    }

    // The tools icon's menu.
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    e2e::ClickTrayIcon(e2e::TrayIcons()[1], WM_RBUTTONUP);
    HWND menu = nullptr;
    if (WaitUntil([&] { return (menu = e2e::VisibleWindowOf(processId, "#32768")) != nullptr; }, 5000)) {
        Settle();
        Photograph(menu, folder, "tools-menu");
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return e2e::VisibleWindowOf(processId, "#32768") == nullptr; }, 5000);
    }

    // The tip of the day, as "Show &Now" opens it.
    PostMessageA(GetDlgItem(main, 1402), BM_CLICK, 0, 0);
    HWND tips = nullptr;
    if (WaitUntil([&] { return (tips = e2e::VisibleWindowOf(processId, "TfrmTips")) != nullptr; }, 5000)) {
        Settle();
        Photograph(tips, folder, "tip-of-the-day");
        PostMessageA(tips, WM_CLOSE, 0, 0);
    }
    return 0;
}
