#include "shell/Just1_32.h"

namespace v5 {

std::string DeriveInstanceTitle(std::string_view exeFileName) {
    if (exeFileName.find(".EXE") == std::string_view::npos || exeFileName.size() < 4) return {};
    return std::string(exeFileName.substr(0, exeFileName.size() - 4));
}

InstanceOutcome DecideInstance(bool allowDuplicateFlagExists, bool previousCopyRuns) {
    if (allowDuplicateFlagExists) return InstanceOutcome::ContinueAfterFlag;
    if (!previousCopyRuns) return InstanceOutcome::Continue;
    return InstanceOutcome::BringForwardAndEnd;
}

}  // namespace v5
