#pragma once
// Window classes of our own programs, each registered once per process.
#include <windows.h>

namespace v5::win32 {

struct WindowClassSpec {
    const char* name;
    WNDPROC proc;
    // A system colour index (COLOR_BTNFACE, ...) for the background; -1: the window paints its own.
    int background = -1;
    bool arrowCursor = true;
    // The class icon: a resource of the instance (a name or MAKEINTRESOURCEA); null for none.
    const char* icon = nullptr;
};

// True when the class exists afterwards, whether this call or an earlier one registered it.
bool RegisterClassOnce(HINSTANCE instance, const WindowClassSpec& spec);

}  // namespace v5::win32
