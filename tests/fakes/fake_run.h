#pragma once
// Recording fakes of the steps a processing run calls: the screen, the clipboard, the progress
// strip, the mailer side (detection and driver engine), PGP and the message dialogs. Each takes
// a script where the run expects an answer.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pgp/processing_run.h"
#include "platform/message_dialog.h"

namespace v5::fakes {

class FakeRunScreen : public RunScreen {
public:
    bool mainWindowHidden = false;
    bool hourglass = false;
    int processMessagesCalls = 0;
    std::vector<WindowHandle> broughtToTop;
    // Called whenever the run lets messages through (a tray click may arrive then).
    std::function<void()> onProcessMessages;
    void hideMainWindow() override { mainWindowHidden = true; }
    void setHourglass(bool busy) override { hourglass = busy; }
    void bringWindowToTop(WindowHandle window) override { broughtToTop.push_back(window); }
    void processMessages() override {
        ++processMessagesCalls;
        if (onProcessMessages) onProcessMessages();
    }
};

class FakeRunClipboard : public RunClipboard {
public:
    std::string content;
    std::vector<std::string> written;
    std::string text() override { return content; }
    void setText(const std::string& text) override {
        content = text;
        written.push_back(text);
    }
};

class FakeRunProgress : public RunProgress {
public:
    bool exists = false;
    int created = 0;
    int freed = 0;
    std::vector<int> positions;  // every position shown, 5 for each new strip
    void create() override {
        exists = true;
        ++created;
        positions.push_back(5);
    }
    void setPosition(int position) override { positions.push_back(position); }
    void free() override {
        if (exists) ++freed;
        exists = false;
    }
};

// The detection answers `abandoned`; the driver is a script that gets each command text, unless
// it cannot be started for that command.
class FakeRunMailer : public RunMailer {
public:
    bool abandoned = false;
    int choiceWindows = 0;
    int detections = 0;
    std::vector<std::string> commands;
    std::function<void(const std::string& commandText)> driver;
    std::function<bool(const std::string& commandText)> starts;
    void createMailerChoice() override { ++choiceWindows; }
    bool DetectRunningMailer(bool /*showProgress*/) override {
        ++detections;
        return abandoned;
    }
    bool RunDriver(const std::string& commandText) override {
        commands.push_back(commandText);
        if (starts && !starts(commandText)) return false;
        if (driver) driver(commandText);
        return true;
    }
};

// PGP's answer to one request: it may rewrite the clipboard; false reports a failed encryption.
class FakeRunPgp : public RunPgp {
public:
    std::vector<std::string> switches;
    std::vector<std::optional<RequestNote>> notes;  // one per request
    std::function<bool(const std::string& switchText)> answer;
    bool InvokePGP(const std::string& switchText, const RequestNote* note) override {
        switches.push_back(switchText);
        notes.push_back(note ? std::optional<RequestNote>(*note) : std::nullopt);
        return answer ? answer(switchText) : true;
    }
};

// The standard message dialog: records what was shown and answers in turn; once the answers run
// out, with the first button offered.
class FakeMessageDialogs : public MessageDialogs {
public:
    struct Shown {
        std::string text;
        DialogKind kind;
        unsigned buttons;
        int helpTopic;
    };
    std::vector<Shown> shown;
    std::deque<DialogResult> answers;
    DialogResult show(const std::string& text, DialogKind kind, unsigned buttons, int helpTopic) override {
        shown.push_back({text, kind, buttons, helpTopic});
        if (!answers.empty()) {
            const DialogResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        static const std::pair<unsigned, DialogResult> order[] = {
            {dbYes, DialogResult::drYes},     {dbNo, DialogResult::drNo},       {dbOk, DialogResult::drOk},
            {dbCancel, DialogResult::drCancel}, {dbAbort, DialogResult::drAbort}, {dbRetry, DialogResult::drRetry},
            {dbIgnore, DialogResult::drIgnore}};
        for (const auto& [bit, result] : order)
            if (buttons & bit) return result;
        return DialogResult::drNone;
    }
};

}  // namespace v5::fakes
