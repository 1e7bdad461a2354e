#pragma once
// RunDriver: runs the current driver with a command text and returns when it has ended.
#include <cstdint>
#include <functional>
#include <string>

#include "drivers/detection.h"
#include "drivers/driver_state.h"
#include "platform/ports.h"
#include "platform/processes.h"

namespace v5 {

class Diagnostics;
struct ShellState;

inline constexpr const char* kWinExecAndWait32ErrorText = "WinExecAndWait32 error ";

// Runs the command line as a new process in a console of its own and waits, without processing
// window messages, until it ends. When it could not be started, "WinExecAndWait32 error " + the
// platform's error code + " " + the command line is written to the log and shown in an error box.
ProcessOutcome WinExecAndWait32(Processes& processes, Diagnostics& diagnostics, MessageBoxes& boxes,
                              const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags);

struct DriverEnginePorts {
    const ShellState& state;  // InstallDir, DriverDir
    DriverState& drivers;
    Application& application;
    Profile& profile;
    Processes& processes;
    Diagnostics& diagnostics;
    MessageBoxes& boxes;
    // The built-in driver, for scripts of type Internal.
    std::function<void(const std::string& commandText)> runBuiltIn;
};

class DriverEngine : public DriverRunner {
public:
    explicit DriverEngine(DriverEnginePorts ports) : p_(std::move(ports)) {}
    // A driver that cannot be started is reported by WinExecAndWait32, and RunDriver returns false.
    bool RunDriver(const std::string& commandText) override;

private:
    DriverEnginePorts p_;
};

}  // namespace v5
