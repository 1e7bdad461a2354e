#include "pgp/win32/run_win32.h"

namespace v5::win32 {

void Win32RunScreen::setHourglass(bool busy) { SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW)); }

}  // namespace v5::win32
