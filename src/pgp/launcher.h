#pragma once
// The PGP launcher: starting programs and waiting for them.
#include <cstdint>
#include <string>

#include "platform/ports.h"
#include "platform/processes.h"
#include "shell/diagnostics.h"

namespace v5 {

inline constexpr const char* kWinExecAndWait32ErrorText = "WinExecAndWait32 error ";

// Runs the command line as a new process in a console of its own and waits, without processing
// window messages, until it ends. Returns its exit code, or -1 when it could not be started;
// then "WinExecAndWait32 error " + the platform's error code + " " + the command line is written
// to the log and shown in an error box.
std::int32_t WinExecAndWait32(Processes& processes, Diagnostics& diagnostics, MessageBoxes& boxes,
                              const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags);

}  // namespace v5
