#pragma once
#include <cstdint>
#include <string>

namespace v5 {

inline constexpr const char* kApplicationTitle = "Vostrel 5";
inline constexpr const char* kHelpFileName = "Vostrel5.hlp";

// Process-wide values of the application shell, fixed at start-up and read by every subsystem.
struct ShellState {
    std::string InstallDir;       // directory of the running executable, with its trailing backslash
    std::string ShortInstallDir;  // InstallDir in its short (8.3) form; empty when that failed
    std::string MfdFilePath;      // ShortInstallDir + "tmpmfd.tmp"
    std::string DriverDir;        // driver package directory, no trailing backslash
    std::string DistInfoText;     // distribution text shown in the About text
    std::string ApplicationTitle = kApplicationTitle;
    std::string HelpFile = kHelpFileName;
    bool SilentStart = false;
    std::int32_t TracePoint = 0;
    std::int32_t DayCounter = 0;
    bool TrayClickBusy = false;  // a run is in progress, however it was started
    bool SuperDebug = false;
};

}  // namespace v5
