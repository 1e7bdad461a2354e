#pragma once
// Process-wide values of the mail form drivers: which driver runs, which drivers must be alone
// in the Active list, and the mailer the user chose last.
#include <cstdint>
#include <string>
#include <vector>

namespace v5 {

struct DriverState {
    // The file name, relative to DriverDir, of the driver that RunDriver runs.
    std::string CurrentDriver;
    // Field 3 of every catalogue line flagged "0", in file order; tested without regard to case.
    std::vector<std::string> ExclusiveDrivers;
    // The index of the entry chosen last in the mailer choice window; kept from run to run.
    std::int32_t LastMailerChoice = 0;
};

}  // namespace v5
