#include "shell/win32/TaskIcon_win32.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/toolkit/window_class.h"

namespace v5::win32 {
namespace {
constexpr UINT kQueuedNotification = WM_APP + 1;
}

DWORD TrayStructureSize() {
    // Structure size up to and including the 64-character tip.
    constexpr DWORD size = offsetof(NOTIFYICONDATAA, szTip) + 64;
    static_assert(sizeof(void*) != 4 || size == 88, "the 32-bit tray structure holds 88 bytes");
    return size;
}

bool Win32Tray::notify(TrayOperation operation, const TrayEntry& entry) {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = TrayStructureSize();
    data.hWnd = reinterpret_cast<HWND>(entry.window);
    data.uID = entry.id;
    data.uFlags = entry.flags;
    data.uCallbackMessage = entry.callbackMessage;
    data.hIcon = reinterpret_cast<HICON>(entry.icon);
    std::strncpy(data.szTip, entry.tip.c_str(), kTrayTipLimit);
    DWORD message = operation == TrayOperation::Add      ? NIM_ADD
                    : operation == TrayOperation::Modify ? NIM_MODIFY
                                                         : NIM_DELETE;
    return Shell_NotifyIconA(message, &data) != FALSE;
}

TrayPoint Win32Tray::cursorPos() {
    POINT at{};
    GetCursorPos(&at);
    return {static_cast<int>(at.x), static_cast<int>(at.y)};
}

bool TaskIconWindow::create(HINSTANCE instance, HWND parent, const char* name, Callback callback) {
    if (!RegisterClassOnce(instance, {.name = kTaskIconClass, .proc = Proc, .arrowCursor = false})) return false;
    callback_ = std::move(callback);
    hwnd_.reset(CreateWindowExA(0, kTaskIconClass, name, WS_CHILD, 0, 0, 0, 0, parent, nullptr, instance, this));
    return static_cast<bool>(hwnd_);
}

LRESULT CALLBACK TaskIconWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TaskIconWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    // Destroyed with its parent, or by the owner itself: the handle is dead from here on.
    if (message == WM_NCDESTROY && self) self->hwnd_.release();
    // The tray sends its notification from another process: answer it at once and handle it
    // from our own queue, so that a box opened by the handler never holds the tray up.
    if (message == kTrayCallbackMessage) {
        PostMessageA(hwnd, kQueuedNotification, wParam, lParam);
        return 0;
    }
    if (message == kQueuedNotification && self && self->callback_) {
        self->callback_(static_cast<std::uint32_t>(wParam), static_cast<unsigned>(LOWORD(lParam)));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace v5::win32
