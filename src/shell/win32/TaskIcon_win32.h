#pragma once
// The real tray behind TTaskIcon, and the window with no visible area that receives one icon's
// notifications.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/win32/toolkit/handles.h"
#include "shell/TaskIcon.h"

namespace v5::win32 {

inline constexpr const char* kTaskIconClass = "TTaskIcon";

// The tray structure's size: 88 in the 32-bit program, the same fields' size in a 64-bit build.
DWORD TrayStructureSize();

class Win32Tray : public Tray {
public:
    bool notify(TrayOperation operation, const TrayEntry& entry) override;
    TrayPoint cursorPos() override;
};

class TaskIconWindow {
public:
    using Callback = std::function<void(std::uint32_t id, unsigned mouseMessage)>;
    TaskIconWindow() = default;
    TaskIconWindow(const TaskIconWindow&) = delete;
    TaskIconWindow& operator=(const TaskIconWindow&) = delete;

    // A hidden child of parent, named so that it can be told apart from the other icon's.
    bool create(HINSTANCE instance, HWND parent, const char* name, Callback callback);
    HWND handle() const { return hwnd_.get(); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Callback callback_;
    // After the callback, so that the window goes first.
    OwnedWindow hwnd_;
};

}  // namespace v5::win32
