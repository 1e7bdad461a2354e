#include "drivers/driver_engine.h"

#include "drivers/driver_library.h"
#include "pgp/launcher.h"

namespace v5 {

void DriverEngine::RunDriver(const std::string& commandText) {
    p_.application.processMessages();
    const DriverInvocation plan = PlanDriverRun(p_.state, p_.profile, p_.drivers.CurrentDriver, commandText);
    if (plan.builtIn) {
        if (p_.runBuiltIn) p_.runBuiltIn(plan.commandLine);
    } else {
        // Drivers run in a normal window at normal priority.
        WinExecAndWait32(p_.processes, p_.diagnostics, p_.boxes, plan.commandLine, kSwShowNormal,
                         kNormalPriorityClass);
    }
    p_.application.processMessages();
}

}  // namespace v5
