#pragma once
// The real desktop, clipboard and pause over Win32.
#include <windows.h>

#include "platform/desktop.h"

namespace v5::win32 {

inline HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }
inline HMENU ToHmenu(MenuHandle menu) { return reinterpret_cast<HMENU>(menu); }

class Win32Desktop : public Desktop {
public:
    WindowHandle firstTopLevel() override;
    WindowHandle nextSibling(WindowHandle window) override;
    WindowHandle firstChild(WindowHandle window) override;
    WindowHandle parent(WindowHandle window) override;
    std::string title(WindowHandle window) override;
    std::string className(WindowHandle window) override;
    std::uint32_t style(WindowHandle window) override;
    ScreenRect rect(WindowHandle window) override;
    bool minimised(WindowHandle window) override;
    bool visible(WindowHandle window) override;
    bool ownProcess(WindowHandle window) override;
    std::uint32_t processId(WindowHandle window) override;
    void setForeground(WindowHandle window) override;
    MenuHandle menuOf(WindowHandle window) override;
    int menuItemCount(MenuHandle menu) override;
    std::string menuItemText(MenuHandle menu, int position) override;
    MenuHandle subMenu(MenuHandle menu, int position) override;
    std::uint32_t menuItemId(MenuHandle menu, int position) override;
    void sendCommand(WindowHandle window, std::uint32_t id) override;
    void sendData(WindowHandle window, std::uint32_t tag, const std::string& bytes) override;
    std::int64_t textLength(WindowHandle window) override;
    std::string windowText(WindowHandle window, std::int64_t maxChars) override;
    void setWindowText(WindowHandle window, const std::string& text) override;
};

class Win32Clipboard : public Clipboard {
public:
    // Throws AppError when another program holds the clipboard.
    std::string text() override;
    // Replaces the clipboard's content by the plain text. Throws AppError when the clipboard
    // cannot be opened or filled.
    void setText(const std::string& text);
};

class Win32Sleeper : public Sleeper {
public:
    void sleep(unsigned milliseconds) override { Sleep(milliseconds); }
};

}  // namespace v5::win32
