#pragma once
// The processing run's mailer side over the mailer detection and the driver engine.
#include <functional>
#include <string>
#include <vector>

#include "drivers/detection.h"
#include "pgp/processing_run.h"

namespace v5 {

// The detection moves the run's own progress strip.
class RunDetectionProgress : public DetectionProgress {
public:
    explicit RunDetectionProgress(RunProgress& progress) : progress_(progress) {}
    void setProgress(int position) override { progress_.setPosition(position); }

private:
    RunProgress& progress_;
};

struct RunMailerPorts {
    const ShellState& state;
    DriverState& drivers;
    DriverRunner& runner;
    std::function<std::string(const std::string& shortText)> findMailerWindowTitle;
    MailerChoiceView& choice;
    MessageDialogs& dialogs;
    std::function<void(int topic)> showHelp;
    RunProgress& progress;
    // The Active list's driver file names as they stand when the run asks.
    std::function<std::vector<std::string>()> activeDriverScripts;
};

class DetectingRunMailer : public RunMailer {
public:
    explicit DetectingRunMailer(RunMailerPorts ports) : ports_(std::move(ports)), progress_(ports_.progress) {}
    // The detection makes its own choice window each time it needs one.
    void createMailerChoice() override {}
    bool DetectRunningMailer(bool showProgress) override {
        return v5::DetectRunningMailer({ports_.state, ports_.drivers, ports_.runner, ports_.findMailerWindowTitle,
                                        ports_.choice, ports_.dialogs, ports_.showHelp, &progress_},
                                       ports_.activeDriverScripts(), showProgress);
    }
    void RunDriver(const std::string& commandText) override { ports_.runner.RunDriver(commandText); }

private:
    RunMailerPorts ports_;
    RunDetectionProgress progress_;
};

}  // namespace v5
