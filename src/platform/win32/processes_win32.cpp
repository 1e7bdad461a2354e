#include "platform/win32/processes_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {

std::uint32_t Win32Processes::start(const std::string& commandLine, std::uint16_t show) {
    return WinExec(commandLine.c_str(), show);
}

ProcessOutcome Win32Processes::runAndWait(const std::string& commandLine, std::uint16_t show,
                                          std::uint32_t creationFlags) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION process{};
    // CreateProcessA may write into its command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, creationFlags | CREATE_NEW_CONSOLE,
                        nullptr, nullptr, &startup, &process)) {
        return {false, 0, GetLastError()};
    }
    const OwnedProcess started(process);
    WaitForSingleObject(started.process.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(started.process.get(), &exitCode);
    return {true, exitCode, 0};
}

}  // namespace v5::win32
