#pragma once
// Finding and clicking the program's tray icons under Wine, where the tray is a window of its own
// ("Wine System Tray") whose child windows are the icons. A mouse message posted to such a child
// reaches the icon's owner as its tray callback, as a real click does.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../tests/win32/top_windows.h"

namespace e2e {

inline constexpr const char* kWineTrayClass = "__winex11_standalone_tray";
inline constexpr const char* kWineTrayIconClass = "__winex11_tray_icon";

// The icons in the tray, left to right (the order in which they were added).
inline std::vector<HWND> TrayIcons() {
    std::vector<HWND> icons;
    HWND tray = FindWindowA(kWineTrayClass, nullptr);
    if (!tray) return icons;
    for (HWND child = FindWindowExA(tray, nullptr, kWineTrayIconClass, nullptr); child;
         child = FindWindowExA(tray, child, kWineTrayIconClass, nullptr))
        if (IsWindowVisible(child)) icons.push_back(child);
    std::sort(icons.begin(), icons.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return icons;
}

inline void ClickTrayIcon(HWND icon, UINT mouseMessage) { PostMessageA(icon, mouseMessage, 0, 0); }

// Takes away the icons left by programs that ended without removing them (a scenario that failed
// and had its program killed): the tray removes an icon when it finds, on passing the pointer's
// movement on, that the icon's window is gone. Icons of running programs stay, and those programs
// see one pointer movement over their icon.
inline void RemoveIconsOfEndedPrograms() {
    HWND tray = FindWindowA(kWineTrayClass, nullptr);
    if (!tray) return;
    std::vector<HWND> icons;
    for (HWND child = FindWindowExA(tray, nullptr, kWineTrayIconClass, nullptr); child;
         child = FindWindowExA(tray, child, kWineTrayIconClass, nullptr))
        icons.push_back(child);
    for (HWND icon : icons) SendMessageTimeoutA(icon, WM_MOUSEMOVE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
}

inline std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// The window's text, asked of the window itself (GetWindowTextA would give another process's
// edit controls as empty).
inline std::string TextOf(HWND hwnd) {
    char text[4096] = {};
    SendMessageA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

// A visible top-level window of the process with the given class, or null.
using v5::wintest::VisibleWindowOf;

}  // namespace e2e
