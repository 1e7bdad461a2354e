#pragma once
// A process table that records every start and answers as told.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace v5::fakes {

class FakeProcesses : public Processes {
public:
    struct Started {
        std::string commandLine;
        std::uint16_t show = 0;
        std::uint32_t creationFlags = 0;  // runAndWait only
        bool waited = false;
    };
    std::vector<Started> started;

    std::uint32_t startResult = 33;  // what start gives: below 32 is a failure
    ProcessOutcome runOutcome{true, 0, 0};
    // Called for every start, after it is recorded (a test lets its program appear here).
    std::function<void(const std::string&)> onStart;

    std::uint32_t start(const std::string& commandLine, std::uint16_t show) override {
        started.push_back({commandLine, show, 0, false});
        if (onStart) onStart(commandLine);
        return startResult;
    }
    ProcessOutcome runAndWait(const std::string& commandLine, std::uint16_t show,
                              std::uint32_t creationFlags) override {
        started.push_back({commandLine, show, creationFlags, true});
        if (onStart) onStart(commandLine);
        return runOutcome;
    }
};

}  // namespace v5::fakes
