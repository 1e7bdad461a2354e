#include "platform/win32/desktop_win32.h"

#include <vector>

#include "platform/clipboard_retry.h"
#include "platform/errors.h"
#include "platform/win32/toolkit/clipboard.h"

namespace v5::win32 {
namespace {

// Long enough for a busy program to take the data, short enough that a hung one is soon left.
constexpr UINT kSendDataTimeoutMs = 5000;

}  // namespace

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

void Win32Desktop::sendData(WindowHandle window, std::uint32_t tag, const std::string& bytes) {
    COPYDATASTRUCT data{};
    data.dwData = tag;
    data.cbData = static_cast<DWORD>(bytes.size());
    data.lpData = const_cast<char*>(bytes.data());
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(ToHwnd(window), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                        SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendDataTimeoutMs, &answer);
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

std::string Win32Clipboard::text() {
    // A clipboard that another program holds is not one without text: a result of PGP's that
    // cannot be read yet must not count as no result.
    std::string text;
    if (ReadClipboardText(text) == ClipboardRead::Unavailable) throw AppError(kClipboardBusyText);
    return text;
}

void Win32Clipboard::setText(const std::string& text) {
    // A message's plain text stays out of clipboard history and the cloud clipboard.
    switch (WriteClipboardText(text, nullptr, ClipboardHistory::Excluded)) {
        case ClipboardWrite::Written: return;
        case ClipboardWrite::Unavailable: throw AppError(kClipboardBusyText);
        case ClipboardWrite::NoMemory: throw AppError("Out of memory for the clipboard");
        case ClipboardWrite::NotTaken: throw AppError("Cannot set clipboard data");
    }
}

}  // namespace v5::win32
