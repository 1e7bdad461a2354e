#pragma once
// The processing run's PGP and progress strip over the PGP launcher and the progress window.
#include <memory>
#include <string>

#include "pgp/launcher.h"
#include "pgp/processing_run.h"
#include "utilities/running.h"

namespace v5 {

class LauncherRunPgp : public RunPgp {
public:
    explicit LauncherRunPgp(TPgpLauncher& launcher) : launcher_(launcher) {}
    bool InvokePGP(const std::string& switchText, const RequestNote* note) override {
        return launcher_.InvokePGP(switchText, note);
    }

private:
    TPgpLauncher& launcher_;
};

// One progress window per run, released by the run's closing steps.
class WindowRunProgress : public RunProgress {
public:
    explicit WindowRunProgress(RunningWindows& windows) : windows_(windows) {}
    void create() override { frmRunning_ = windows_.Create(); }
    void setPosition(int position) override {
        if (frmRunning_) frmRunning_->SetProgress(position);
    }
    void free() override { frmRunning_.reset(); }

private:
    RunningWindows& windows_;
    std::unique_ptr<TfrmRunning> frmRunning_;
};

}  // namespace v5
