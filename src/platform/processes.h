#pragma once
// Starting other programs: the PGP suite's programs without waiting, the mail form drivers
// waiting until they end. The real adapter lives in win32/; tests use a recording fake.
#include <cstdint>
#include <string>

namespace v5 {

// Show commands and creation flags as the platform numbers them.
inline constexpr std::uint16_t kSwShowNormal = 1;
inline constexpr std::uint32_t kNormalPriorityClass = 0x20;
inline constexpr std::uint32_t kCreateNewConsole = 0x10;

// The outcome of a command line run to its end.
struct ProcessOutcome {
    bool started = false;
    std::uint32_t exitCode = 0;   // when started: the process's exit code
    std::uint32_t lastError = 0;  // when not started: the platform's error code
};

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the command line and returns at once. A result below 32 is the platform's error
    // code for a start that failed; 32 or more means the program was started.
    virtual std::uint32_t start(const std::string& commandLine, std::uint16_t show) = 0;
    // Starts the command line as a new process in a console of its own (the given creation
    // flags with CREATE_NEW_CONSOLE added), shown with the given show command, with the
    // caller's environment and current directory, and waits without time-out until it ends.
    // No window messages are processed meanwhile.
    virtual ProcessOutcome runAndWait(const std::string& commandLine, std::uint16_t show,
                                      std::uint32_t creationFlags) = 0;
};

}  // namespace v5
