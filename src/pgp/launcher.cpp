#include "pgp/launcher.h"

#include "drivers/winop.h"

namespace v5 {

std::int32_t WinExecAndWait32(Processes& processes, Diagnostics& diagnostics, MessageBoxes& boxes,
                              const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags) {
    const ProcessOutcome outcome = processes.runAndWait(commandLine, show, creationFlags | kCreateNewConsole);
    if (outcome.started) return static_cast<std::int32_t>(outcome.exitCode);
    const std::string text =
        kWinExecAndWait32ErrorText + std::to_string(outcome.lastError) + " " + commandLine;
    try {
        diagnostics.WriteDebugLog(text);
    } catch (const std::exception&) {
        // A log that cannot be written must not keep the user from learning of the failure.
    }
    boxes.show(text, kErrorBoxCaption, kMbIconHand | kMbOk);
    return -1;
}

}  // namespace v5
