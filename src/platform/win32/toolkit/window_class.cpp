#include "platform/win32/toolkit/window_class.h"

namespace v5::win32 {

bool RegisterClassOnce(HINSTANCE instance, const WindowClassSpec& spec) {
    WNDCLASSA wc{};
    if (GetClassInfoA(instance, spec.name, &wc)) return true;
    wc.lpfnWndProc = spec.proc;
    wc.hInstance = instance;
    wc.lpszClassName = spec.name;
    if (spec.arrowCursor) wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    if (spec.background >= 0) wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(spec.background + 1));
    if (spec.icon) wc.hIcon = LoadIconA(instance, spec.icon);
    return RegisterClassA(&wc) != 0;
}

}  // namespace v5::win32
