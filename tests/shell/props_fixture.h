#pragma once
// A properties window model over recording fakes, with a private installation folder.
#include <memory>

#include "base/diagnostics_fixture.h"
#include "drivers/driver_entry.h"
#include "fakes/fake_shell.h"
#include "shell/props.h"

namespace v5::testing {

struct PropsFixture : DiagnosticsFixture {
    fakes::SimpleProfile profile;
    fakes::FakePropsView view;
    fakes::FakeTray tray;
    fakes::FakeVersionResources versions;
    fakes::FakeOsVersion os;
    std::unique_ptr<TfrmProps> props;

    PropsFixture() {
        versions.files[versions.self]["\\StringFileInfo\\080904E4\\FileVersion"] = "5.1.1.27";
        // An empty driver catalogue: start-up reads it without a report.
        profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = dir / "drivers";
        WriteFileStringOrThrow(dir / "drivers\\SELECTG.DAT", "");
        props = std::make_unique<TfrmProps>(
            PropsPorts{state, diagnostics, app, profile, view, {}, &tray, &versions, &os});
    }

    PropsState& p() { return props->Props(); }
};

}  // namespace v5::testing
