#pragma once
// The confirmation bars and strip on the real screen.
#include <windows.h>

#include "drivers/Indicont.h"

namespace v5::win32 {

inline constexpr int kIndicatorYesId = IDOK;      // Enter answers Yes
inline constexpr int kIndicatorNoId = IDCANCEL;   // Esc answers No
inline constexpr int kIndicatorLabelId = 100;

class Win32WindowConfirmation : public WindowConfirmation {
public:
    // The application window is made the foreground window before the strip is shown.
    Win32WindowConfirmation(HINSTANCE instance, HWND applicationWindow)
        : instance_(instance), applicationWindow_(applicationWindow) {}
    int confirm(const IndicatorPlacement& placement) override;

private:
    HINSTANCE instance_;
    HWND applicationWindow_;
};

}  // namespace v5::win32
