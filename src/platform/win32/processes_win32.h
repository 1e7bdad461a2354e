#pragma once
// The real adapter of the process port: WinExec, and CreateProcessA with a wait.
#include "platform/processes.h"

namespace v5::win32 {

class Win32Processes : public Processes {
public:
    std::uint32_t start(const std::string& commandLine, std::uint16_t show) override;
    ProcessOutcome runAndWait(const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags) override;
};

}  // namespace v5::win32
