// PGPTools.Exe: the tools window on its own; it ends when the window is closed.
#include <windows.h>

#include "pgptray/win32/tray_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    pgptray::TrayProgram program;
    program.windows.showTools();
    MSG msg;
    while (program.windows.toolsOpen() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
