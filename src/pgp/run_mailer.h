#pragma once
// The processing run's mailer side over the mailer detection and the driver engine.
#include <functional>
#include <string>
#include <utility>
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

class DetectingRunMailer : public RunMailer {
public:
    // activeDriverScripts: the Active list's driver file names as they stand when the run asks.
    DetectingRunMailer(DetectionPorts detection, RunProgress& progress,
                       std::function<std::vector<std::string>()> activeDriverScripts)
        : detection_(std::move(detection)), progress_(progress), activeDriverScripts_(std::move(activeDriverScripts)) {
        detection_.progress = &progress_;
    }
    // The detection makes its own choice window each time it needs one.
    void createMailerChoice() override {}
    bool DetectRunningMailer(bool showProgress) override {
        return v5::DetectRunningMailer(detection_, activeDriverScripts_(), showProgress);
    }
    bool RunDriver(const std::string& commandText) override { return detection_.runner.RunDriver(commandText); }

private:
    DetectionPorts detection_;
    RunDetectionProgress progress_;
    std::function<std::vector<std::string>()> activeDriverScripts_;
};

}  // namespace v5
