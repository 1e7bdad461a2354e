#include "drivers/driver_engine.h"

#include "base/diagnostics.h"
#include "drivers/driver_library.h"
#include "drivers/winop.h"

namespace v5 {

ProcessOutcome WinExecAndWait32(Processes& processes, Diagnostics& diagnostics, MessageBoxes& boxes,
                              const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags) {
    const ProcessOutcome outcome = processes.runAndWait(commandLine, show, creationFlags | kCreateNewConsole);
    if (outcome.started) return outcome;
    const std::string text =
        kWinExecAndWait32ErrorText + std::to_string(outcome.lastError) + " " + commandLine;
    try {
        diagnostics.WriteDebugLog(text);
    } catch (const std::exception&) {
        // A log that cannot be written must not keep the user from learning of the failure.
    }
    boxes.show(text, kErrorBoxCaption, kMbIconHand | kMbOk);
    return outcome;
}

bool DriverEngine::RunDriver(const std::string& commandText) {
    p_.application.processMessages();
    const DriverInvocation plan = PlanDriverRun(p_.state, p_.profile, p_.drivers.CurrentDriver, commandText);
    bool started = true;
    if (plan.builtIn) {
        if (p_.runBuiltIn) p_.runBuiltIn(plan.commandLine);
    } else {
        // Drivers run in a normal window at normal priority.
        started = WinExecAndWait32(p_.processes, p_.diagnostics, p_.boxes, plan.commandLine, kSwShowNormal,
                                   kNormalPriorityClass)
                      .started;
    }
    p_.application.processMessages();
    return started;
}

}  // namespace v5
