#include "platform/win32/desktop_win32.h"

#include <cstring>
#include <vector>

#include "platform/errors.h"

namespace v5::win32 {

// The first top-level window in Z order is the desktop window's first child.
WindowHandle Win32Desktop::firstTopLevel() { return FromHwnd(GetWindow(GetDesktopWindow(), GW_CHILD)); }

WindowHandle Win32Desktop::nextSibling(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

WindowHandle Win32Desktop::firstChild(WindowHandle window) { return FromHwnd(GetWindow(ToHwnd(window), GW_CHILD)); }

WindowHandle Win32Desktop::parent(WindowHandle window) { return FromHwnd(GetParent(ToHwnd(window))); }

std::string Win32Desktop::title(WindowHandle window) {
    char buffer[kMaxWindowNameChars + 1] = {};
    const int n = GetWindowTextA(ToHwnd(window), buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string Win32Desktop::className(WindowHandle window) {
    char buffer[kMaxWindowNameChars + 1] = {};
    const int n = GetClassNameA(ToHwnd(window), buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::uint32_t Win32Desktop::style(WindowHandle window) {
    return static_cast<std::uint32_t>(GetWindowLongPtrA(ToHwnd(window), GWL_STYLE));
}

ScreenRect Win32Desktop::rect(WindowHandle window) {
    RECT r{};
    if (!GetWindowRect(ToHwnd(window), &r)) return {};
    return {r.left, r.top, r.right, r.bottom};
}

bool Win32Desktop::minimised(WindowHandle window) { return IsIconic(ToHwnd(window)) != FALSE; }

bool Win32Desktop::visible(WindowHandle window) { return IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32Desktop::ownProcess(WindowHandle window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 && process == GetCurrentProcessId();
}

std::uint32_t Win32Desktop::processId(WindowHandle window) {
    DWORD process = 0;
    return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 ? process : 0;
}

void Win32Desktop::setForeground(WindowHandle window) { SetForegroundWindow(ToHwnd(window)); }

MenuHandle Win32Desktop::menuOf(WindowHandle window) {
    return reinterpret_cast<MenuHandle>(GetMenu(ToHwnd(window)));
}

int Win32Desktop::menuItemCount(MenuHandle menu) { return GetMenuItemCount(ToHmenu(menu)); }

std::string Win32Desktop::menuItemText(MenuHandle menu, int position) {
    char buffer[kMaxMenuTextChars + 1] = {};
    const int n = GetMenuStringA(ToHmenu(menu), static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

MenuHandle Win32Desktop::subMenu(MenuHandle menu, int position) {
    return reinterpret_cast<MenuHandle>(GetSubMenu(ToHmenu(menu), position));
}

std::uint32_t Win32Desktop::menuItemId(MenuHandle menu, int position) {
    return static_cast<std::uint32_t>(GetMenuItemID(ToHmenu(menu), position));
}

void Win32Desktop::sendCommand(WindowHandle window, std::uint32_t id) {
    SendMessageA(ToHwnd(window), WM_COMMAND, static_cast<WPARAM>(id), 0);
}

std::int64_t Win32Desktop::textLength(WindowHandle window) {
    return static_cast<std::int64_t>(SendMessageA(ToHwnd(window), WM_GETTEXTLENGTH, 0, 0));
}

std::string Win32Desktop::windowText(WindowHandle window, std::int64_t maxChars) {
    if (maxChars <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(maxChars) + 1, '\0');
    const LRESULT copied = SendMessageA(ToHwnd(window), WM_GETTEXT, static_cast<WPARAM>(buffer.size()),
                                        reinterpret_cast<LPARAM>(buffer.data()));
    // The window says how much it copied; never trust it beyond the buffer.
    std::size_t n = copied > 0 ? static_cast<std::size_t>(copied) : 0;
    if (n > static_cast<std::size_t>(maxChars)) n = static_cast<std::size_t>(maxChars);
    return std::string(buffer.data(), n);
}

void Win32Desktop::setWindowText(WindowHandle window, const std::string& text) {
    SendMessageA(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

namespace {

// The clipboard stays open only while this lives.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool open() const { return open_; }

private:
    bool open_;
};

}  // namespace

std::string Win32Clipboard::text() {
    OpenClipboardScope clipboard;
    if (!clipboard.open()) return {};
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return {};
    const char* locked = static_cast<const char*>(GlobalLock(data));
    if (!locked) return {};
    // The text ends at its terminating zero, and never beyond the memory block.
    const SIZE_T size = GlobalSize(data);
    std::size_t n = 0;
    while (n < size && locked[n] != '\0') ++n;
    std::string text(locked, n);
    GlobalUnlock(data);
    return text;
}


void Win32Clipboard::setText(const std::string& text) {
    OpenClipboardScope clipboard;
    if (!clipboard.open()) throw AppError("Cannot open clipboard");
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory) throw AppError("Out of memory for the clipboard");
    if (char* target = static_cast<char*>(GlobalLock(memory))) {
        memcpy(target, text.data(), text.size());
        target[text.size()] = '\0';
        GlobalUnlock(memory);
    }
    // Once set, the memory belongs to the clipboard.
    if (!SetClipboardData(CF_TEXT, memory)) {
        GlobalFree(memory);
        throw AppError("Cannot set clipboard data");
    }
}

}  // namespace v5::win32
