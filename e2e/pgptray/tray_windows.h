#pragma once
// Reading and clicking the tray program's windows from another process, as the scenarios and the
// demonstration do.
#include <windows.h>

#include <string>

namespace e2e {

// A window's text asked of the window itself (an edit control of another program keeps its text
// to itself otherwise), through the Unicode message: Wine passes the ANSI one across processes as
// Unicode text.
inline std::string WindowTextOf(HWND w) {
    std::wstring wide(static_cast<std::size_t>(SendMessageW(w, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(
        SendMessageW(w, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()))));
    std::string s(wide.size() * 2 + 1, '\0');
    s.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                                          s.data(), static_cast<int>(s.size()), nullptr, nullptr)));
    return s;
}

// A list box entry of another process, read the same way.
inline std::string ListEntry(HWND list, int index) {
    wchar_t wide[512] = {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide));
    char entry[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, entry, sizeof entry - 1, nullptr, nullptr);
    return entry;
}

// A click on the list entry that holds the text; false when there is none.
inline bool ClickListEntry(HWND list, const std::string& text) {
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (ListEntry(list, i).find(text) == std::string::npos) continue;
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
        return true;
    }
    return false;
}

// A visible top-level window with this title, of any process, or null.
inline HWND VisibleWindowTitled(const std::string& title) {
    for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
         w = FindWindowExA(nullptr, w, nullptr, title.c_str()))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace e2e
