#pragma once
// Which of the user's active mailers runs: every active driver is asked for its mailer's
// identity, the mailer's window is looked for, and the run gets one driver, the user's choice
// among several, or the message that none runs.
#include <functional>
#include <string>
#include <vector>

#include "drivers/ChooseMailer.h"
#include "drivers/driver_state.h"
#include "platform/message_dialog.h"

namespace v5 {

struct ShellState;

inline constexpr int kNoMailerHelpTopic = 9003;
inline constexpr const char* kDataFileCommand = "Data File=";
inline constexpr const char* kReadFileCommand = "read File=";
inline constexpr const char* kWriteFileCommand = "Write File=";

// Runs the current driver (DriverState::CurrentDriver) with a command text and returns when it
// has ended; false when it could not be started (already reported).
class DriverRunner {
public:
    virtual ~DriverRunner() = default;
    virtual bool RunDriver(const std::string& commandText) = 0;
};

// The progress bar of the run's progress window.
class DetectionProgress {
public:
    virtual ~DetectionProgress() = default;
    virtual void setProgress(int position) = 0;
};

// Shows the choice window modally; the window's events go to the form, and FormClose is called
// however it closes.
class MailerChoiceView {
public:
    virtual ~MailerChoiceView() = default;
    virtual void showModal(TfrmChooseMailer& form) = 0;
};

struct DetectionPorts {
    const ShellState& state;  // DriverDir, MfdFilePath, ApplicationTitle
    DriverState& drivers;
    DriverRunner& runner;
    // The title of the first window whose title contains the text (the window search).
    std::function<std::string(const std::string& shortText)> findMailerWindowTitle;
    MailerChoiceView& choice;
    MessageDialogs& dialogs;
    std::function<void(int topic)> showHelp;
    DetectionProgress* progress = nullptr;
};

// "No mailers in the <title> "Active" list are running. ..."
std::string NoMailerRunningText(const std::string& applicationTitle);
// The progress position while the driver at index b of n is asked.
int DetectionProgressPosition(int b, int n);

// True when the run is to be abandoned; false when CurrentDriver names the driver to use.
bool DetectRunningMailer(DetectionPorts ports, const std::vector<std::string>& activeDriverScripts,
                         bool showProgress);

}  // namespace v5
