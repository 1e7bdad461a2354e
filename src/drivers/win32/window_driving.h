#pragma once
// The window search, menu driving, confirmation strip and built-in driver over the real desktop,
// created once at start-up and handed to whoever drives other programs' windows.
#include <windows.h>

#include "drivers/builtin_driver.h"
#include "drivers/menuclck.h"
#include "drivers/win32/indicator_window.h"
#include "drivers/winop.h"
#include "platform/win32/desktop_win32.h"

namespace v5::win32 {

struct WindowDriving {
    WindowDriving(HINSTANCE instance, HWND applicationWindow, const ShellState& state, Diagnostics& diagnostics,
                  MessageBoxes& boxes)
        : DataModule18(desktop, boxes),
          DataModule19(desktop, diagnostics),
          frmIndicatorControl(instance, applicationWindow),
          builtInDriver({state, diagnostics, desktop, clipboard, sleeper, boxes, frmIndicatorControl, DataModule19}) {}

    Win32Desktop desktop;
    Win32Clipboard clipboard;
    Win32Sleeper sleeper;
    TDataModule18 DataModule18;
    TDataModule19 DataModule19;
    Win32WindowConfirmation frmIndicatorControl;
    BuiltInDriver builtInDriver;
};

}  // namespace v5::win32
