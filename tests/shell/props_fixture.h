#pragma once
// A properties window model over recording fakes, with a private installation folder.
#include <memory>

#include "drivers/driver_entry.h"
#include "fakes/fake_shell.h"
#include "shell/diagnostics.h"
#include "shell/file_routines.h"
#include "shell/props.h"
#include "temp_dir.h"

namespace v5::testing {

struct PropsFixture {
    TempDir dir;
    ShellState state;
    fakes::FakeClock clock;
    fakes::FakeMessageBoxes boxes;
    fakes::FakeApplication app;
    fakes::SimpleProfile profile;
    fakes::FakePropsView view;
    fakes::FakeTray tray;
    fakes::FakeVersionResources versions;
    fakes::FakeOsVersion os;
    std::unique_ptr<Diagnostics> diagnostics;
    std::unique_ptr<TfrmProps> props;

    PropsFixture() {
        state.InstallDir = dir.path();
        diagnostics = std::make_unique<Diagnostics>(state, clock, boxes, app);
        versions.files[versions.self]["\\StringFileInfo\\080904E4\\FileVersion"] = "5.1.1.27";
        props = std::make_unique<TfrmProps>(
            PropsPorts{state, *diagnostics, app, profile, view, {}, &tray, &versions, &os});
    }

    PropsState& p() { return props->Props(); }
    std::string log() { return ReadFileString(dir / kDebugLogName); }
};

}  // namespace v5::testing
