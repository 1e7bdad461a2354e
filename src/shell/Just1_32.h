#pragma once
// The single-instance decision made while the main window is built.
#include <string>
#include <string_view>

namespace v5 {

inline constexpr const char* kAllowDuplicateFlagName = "AllowDuplicateInstance.Flg";
// The text a previous copy's same-titled window is renamed to before the second search.
inline constexpr const char* kRenamedWindowText = "something else";

// The window title derived from the executable's file name: the name less its last four
// characters when it contains ".EXE" (capitals only), otherwise empty.
std::string DeriveInstanceTitle(std::string_view exeFileName);

enum class InstanceOutcome {
    Continue,               // no previous copy: start-up goes on
    ContinueAfterFlag,      // the duplicate flag was present: delete it, start-up goes on
    BringForwardAndEnd,     // a previous copy runs: bring its window forward, end at once
};

InstanceOutcome DecideInstance(bool allowDuplicateFlagExists, bool previousCopyRuns);

}  // namespace v5
