#pragma once
// The diagnostic log over recording fakes, writing into a private installation folder.
#include <string>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "base/shell_state.h"
#include "fakes/fake_shell.h"
#include "temp_dir.h"

namespace v5::testing {

struct DiagnosticsFixture {
    TempDir dir;
    ShellState state;
    fakes::FakeClock clock;
    fakes::FakeMessageBoxes boxes;
    fakes::FakeApplication app;
    Diagnostics diagnostics{state, clock, boxes, app};

    DiagnosticsFixture() { state.InstallDir = dir.path(); }
    std::string log() const { return ReadFileString(dir / kDebugLogName); }
};

}  // namespace v5::testing
