#pragma once
// RunDriver: runs the current driver with a command text and returns when it has ended.
#include <functional>
#include <string>

#include "drivers/detection.h"
#include "drivers/driver_state.h"
#include "platform/ports.h"
#include "platform/processes.h"

namespace v5 {

class Diagnostics;
struct ShellState;

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
    // A driver that cannot be started is reported by WinExecAndWait32; RunDriver then returns as
    // if it had run, and the caller finds no mail form data.
    void RunDriver(const std::string& commandText) override;

private:
    DriverEnginePorts p_;
};

}  // namespace v5
