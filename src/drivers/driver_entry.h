#pragma once
// A driver list entry: the mailer's name, a run of 200 blanks that pushes the rest beyond the
// visible width of the lists, and the driver's file name.
#include <cstddef>
#include <string>
#include <string_view>

namespace v5 {

inline constexpr std::size_t kEntryBlankRun = 200;

std::string MakeDriverEntry(std::string_view mailerName, std::string_view driverFile);
// The text before the first run of 200 blanks; empty when there is none.
std::string MailerNameOf(std::string_view entry);
// The text after that run, blanks and control characters removed from both ends.
std::string DriverFileOf(std::string_view entry);

}  // namespace v5
