#pragma once
// Runs gpg.exe once: no console window, the input written to its standard input while its
// output, messages and status lines are read, each on a thread of its own, so that large texts
// neither deadlock nor stall; the calling thread keeps handling window messages meanwhile.
#include <string>

#include "pgptray/gpg_command.h"
#include "pgptray/tray_ports.h"

namespace pgptray {

// passphrase null: no pass-phrase pipe is offered. The pass phrase goes only into a pipe.
GpgResult RunGpg(const std::string& gpgExe, const GpgRequest& request, const std::string& input,
                 const std::string* passphrase);

// Starts gpg's agent for the key folder through gpgconf.exe beside gpg.exe, handing it none of
// our pipes: an agent that gpg started itself would inherit gpg's pipe ends and keep them open
// after gpg ended, so its output would never end. Does nothing when the agent already runs.
void LaunchAgent(const std::string& gpgExe, const std::string& keyFolder);

}  // namespace pgptray
