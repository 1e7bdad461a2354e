// A gpg.exe that never ends and never writes: what a gpg waiting on a hung agent or a key server
// looks like to the tray program. It leaves its process id in "gpg.pid" beside itself, so that a
// scenario can see that the tray program ended it.
#include <windows.h>

#include <string>

#include "platform/win32/toolkit/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string pidFile(path, n);
    pidFile = pidFile.substr(0, pidFile.find_last_of('\\') + 1) + "gpg.pid";
    const std::string pid = std::to_string(GetCurrentProcessId());
    {
        const v5::win32::OwnedHandle file(
            CreateFileA(pidFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (file) WriteFile(file.get(), pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
    }
    Sleep(INFINITE);
    return 0;
}
