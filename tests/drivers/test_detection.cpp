// Which active mailer runs: the drivers asked in turn, the outcomes for one, several and no
// running mailers, and the choice window.
#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "base/file_routines.h"
#include "base/shell_state.h"
#include "drivers/detection.h"
#include "drivers/driver_entry.h"
#include "temp_dir.h"

namespace v5 {
namespace {

struct Identity {
    std::string information, shortText;
};

struct Detection : ::testing::Test, DriverRunner, MailerChoiceView, MessageDialogs, DetectionProgress {
    testing::TempDir dir;
    ShellState state;
    DriverState drivers;
    std::map<std::string, Identity> identities;  // what each driver answers
    std::map<std::string, std::string> windows;  // Short -> title of the running mailer
    std::vector<std::string> asked;               // drivers run, in order
    bool dataFileSeenBeforeRun = false;
    std::function<void(TfrmChooseMailer&)> user;  // acts in the choice window
    std::vector<std::string> choiceEntries;
    std::deque<DialogResult> dialogAnswers;
    std::vector<std::string> dialogTexts;
    std::function<void()> beforeAnswer;
    std::vector<int> positions, helpTopics;

    Detection() {
        state.DriverDir = dir / "drivers";
        state.MfdFilePath = dir / "tmpmfd.tmp";
        state.ApplicationTitle = "Vostrel 5";
    }
    void install(const std::string& driver, Identity identity) {
        WriteFileStringOrThrow(state.DriverDir + "\\" + driver, "");
        identities[driver] = std::move(identity);
    }
    bool RunDriver(const std::string& commandText) override {
        asked.push_back(drivers.CurrentDriver);
        dataFileSeenBeforeRun = dataFileSeenBeforeRun || FileExists(state.MfdFilePath);
        EXPECT_EQ(commandText, "Data File=" + state.MfdFilePath);
        auto it = identities.find(drivers.CurrentDriver);
        if (it == identities.end()) return true;  // a driver that writes nothing
        WriteFileStringOrThrow(state.MfdFilePath,
                               "Information: " + it->second.information + "\r\nShort: " + it->second.shortText + "\r\n");
        return true;
    }
    void showModal(TfrmChooseMailer& form) override {
        form.FormShow();
        choiceEntries = form.lstRunningMailers;
        if (user) user(form);
        form.FormClose();
    }
    DialogResult show(const std::string& text, DialogKind kind, unsigned buttons, int help) override {
        EXPECT_EQ(kind, DialogKind::Error);
        EXPECT_EQ(buttons, dbAbort | dbRetry | dbHelp);
        EXPECT_EQ(help, 9003);
        dialogTexts.push_back(text);
        if (beforeAnswer) beforeAnswer();
        if (dialogAnswers.empty()) return DialogResult::drAbort;
        DialogResult answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }
    void setProgress(int position) override { positions.push_back(position); }

    bool detect(const std::vector<std::string>& scripts) {
        DetectionPorts ports{state,
                             drivers,
                             *this,
                             [this](const std::string& s) {
                                 for (auto& [shortText, title] : windows)
                                     if (!s.empty() && title.find(s) != std::string::npos) return title;
                                 return std::string();
                             },
                             *this,
                             *this,
                             [this](int topic) { helpTopics.push_back(topic); },
                             this};
        return DetectRunningMailer(ports, scripts, true);
    }
};

TEST_F(Detection, OneRunningMailerIsUsedWithoutAsking) {
    install("a.mfs", {"Mailer A", "Alpha"});
    install("b.mfs", {"Mailer B", "Beta"});
    windows["Beta"] = "Inbox - Beta Mail";
    EXPECT_FALSE(detect({"a.mfs", "b.mfs", "missing.mfs"}));
    EXPECT_EQ(drivers.CurrentDriver, "b.mfs");
    EXPECT_EQ(asked, (std::vector<std::string>{"a.mfs", "b.mfs"})) << "a missing driver file is skipped";
    EXPECT_TRUE(choiceEntries.empty());
    EXPECT_FALSE(dataFileSeenBeforeRun);
    EXPECT_FALSE(FileExists(state.MfdFilePath)) << "deleted after each query";
    EXPECT_EQ(positions, (std::vector<int>{5, 11, 17}));
}

TEST_F(Detection, TwentyFiveDriversKeepTheBarAtFive) {
    std::vector<std::string> scripts;
    for (int i = 0; i < 25; ++i) scripts.push_back("d" + std::to_string(i) + ".mfs");
    install("d3.mfs", {"Built in", ">None<"});
    EXPECT_FALSE(detect(scripts)) << "the no-window driver always counts as running";
    EXPECT_EQ(drivers.CurrentDriver, "d3.mfs");
    EXPECT_EQ(positions, std::vector<int>(25, 5));
}

TEST_F(Detection, SeveralRunningMailersAreChosenFromTheWindow) {
    install("a.mfs", {"Mailer A", "Alpha"});
    install("b.mfs", {"Built in", ">None<"});
    windows["Alpha"] = "Alpha Mail";
    struct Case {
        const char* what;
        int lastChoice;
        std::function<void(TfrmChooseMailer&)> user;
        bool abandoned;
        std::string driver;
        int lastChoiceAfter;
    };
    const Case cases[] = {
        {"Ok on the remembered entry", 1, [](TfrmChooseMailer& f) { EXPECT_TRUE(f.btnOkClick()); }, false, "b.mfs", 1},
        {"an out-of-range memory selects the first", 5, [](TfrmChooseMailer& f) { EXPECT_TRUE(f.btnOkClick()); },
         false, "a.mfs", 0},
        {"a click then a double click", 0,
         [](TfrmChooseMailer& f) {
             f.lstRunningMailersClick(1);
             EXPECT_TRUE(f.lstRunningMailersDblClick());
         },
         false, "b.mfs", 1},
        {"a click on no entry disables Ok", 0,
         [](TfrmChooseMailer& f) {
             f.lstRunningMailersClick(-1);
             EXPECT_FALSE(f.btnOkEnabled);
             EXPECT_FALSE(f.btnOkClick());
             f.btnCancelClick();
         },
         true, "", -1},
        {"Cancel", 0, [](TfrmChooseMailer& f) { f.btnCancelClick(); }, true, "", 0},
        {"closed by the window's frame after Help", 0, [](TfrmChooseMailer& f) { f.btnHelpClick(); }, true, "", 0},
    };
    for (const Case& c : cases) {
        drivers.LastMailerChoice = c.lastChoice;
        user = c.user;
        EXPECT_EQ(detect({"a.mfs", "b.mfs"}), c.abandoned) << c.what;
        EXPECT_EQ(drivers.CurrentDriver, c.driver) << c.what;
        EXPECT_EQ(drivers.LastMailerChoice, c.lastChoiceAfter) << c.what;
    }
    EXPECT_EQ(choiceEntries, (std::vector<std::string>{MakeDriverEntry("Mailer A / Alpha Mail", "a.mfs"),
                                                       MakeDriverEntry("Built in / ", "b.mfs")}));
    EXPECT_EQ(helpTopics, std::vector<int>{9002});
}

TEST_F(Detection, NoRunningMailerOffersRetryAndAbort) {
    install("a.mfs", {"Mailer A", "Alpha"});
    dialogAnswers = {DialogResult::drRetry, DialogResult::drAbort};
    EXPECT_TRUE(detect({"a.mfs"}));
    ASSERT_EQ(dialogTexts.size(), 2u);
    EXPECT_EQ(dialogTexts[0], "No mailers in the Vostrel 5 \"Active\" list are running. "
                              "Press the Help button for tips on how to resolve this");

    dialogTexts.clear();
    dialogAnswers = {DialogResult::drRetry};
    beforeAnswer = [this] { windows["Alpha"] = "Alpha Mail"; };  // the user starts the mailer
    EXPECT_FALSE(detect({"a.mfs"}));
    EXPECT_EQ(dialogTexts.size(), 1u);
    EXPECT_EQ(drivers.CurrentDriver, "a.mfs");
}

}  // namespace
}  // namespace v5
