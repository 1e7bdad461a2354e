#include "pgp/win32/run_win32.h"

#include "platform/win32/win32_ports.h"

namespace v5::win32 {

void Win32RunScreen::setHourglass(bool busy) { SetBusyCursor(busy); }

}  // namespace v5::win32
