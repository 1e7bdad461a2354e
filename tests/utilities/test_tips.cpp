// The tip of the day through the properties window's model: browsing, what reaches the settings
// file and the help, the busy flag and the main tray icon, and the daily and "Show &Now" showings.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "fakes/fake_shell.h"
#include "shell/props.h"
#include "shell/settings.h"
#include "utilities/Tips.h"

namespace v5 {
namespace {

// A person at the dialog: each showing runs the next script on the open dialog.
class ScriptedTipsDialogs : public TipsDialogs {
public:
    std::vector<std::function<void(TfrmTips&)>> scripts;
    std::vector<std::string> captions;
    void showModal(TfrmTips& dialog) override {
        captions.push_back(dialog.Caption);
        if (captions.size() <= scripts.size()) scripts[captions.size() - 1](dialog);
    }
};

struct TipsFixture : testing::DiagnosticsFixture {
    fakes::SimpleProfile profile;
    fakes::FakePropsView view;
    fakes::FakeTray tray;
    ScriptedTipsDialogs dialogs;
    std::unique_ptr<TfrmProps> props;

    explicit TipsFixture(const std::string& tipsFile) {
        WriteFileStringOrThrow(dir / kTipsFileName, tipsFile);
        props = std::make_unique<TfrmProps>(
            PropsPorts{state, diagnostics, app, profile, view, {}, &tray, nullptr, nullptr, nullptr, nullptr, nullptr, &dialogs});
    }
    std::string stored(const char* key) { return profile.values[{kSettingsFileName, "General", key}]; }
};

// What a step leaves: the tip on show, its number in the settings file, the Help button.
struct Seen {
    std::string text;
    std::string storedNumber;
    bool helpEnabled;
    std::string error;  // the report a step raised, "" for none

    bool operator==(const Seen&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << "{" << s.text << ", " << s.storedNumber << ", " << s.helpEnabled << ", " << s.error << "}";
}

TEST(TipOfTheDay, BrowsingSavesEachStepAndWraps) {
    const std::string three = "0,first\r\n0,second\r\n0,third\r\n";
    struct Case {
        const char* name;
        std::string file;
        std::int32_t storedNumber;
        std::string steps;  // N: Next, P: Previous; the first entry of `seen` is the opening
        std::vector<Seen> seen;
    } cases[] = {
        {"three tips from 0", three, 0, "NNP",
         {{"second", "1", false, ""}, {"third", "2", false, ""}, {"first", "0", false, ""}, {"third", "2", false, ""}}},
        {"stored beyond a shortened file", three, 7, "P", {{"first", "0", false, ""}, {"third", "2", false, ""}}},
        {"stored negative", three, -5, "PN", {{"first", "0", false, ""}, {"third", "2", false, ""}, {"first", "0", false, ""}}},
        {"commas in the text, no topic", "0,x\r\n0,first part, second part", 0, "",
         {{"first part, second part", "1", false, ""}}},
        {"lone CR and LF end lines", "5,a\r0,b\n7,c", 0, "NN",
         {{"b", "1", false, ""}, {"c", "2", true, ""}, {"a", "0", true, ""}}},
        {"not a number on opening: shown, nothing said", "0,a\r\nabc,shown anyway\r\n", 0, "",
         {{"shown anyway", "1", true, ""}}},
        {"not a number on Next: shown, reported, Help as it was", "0,a\r\n5,b\r\nno comma", 0, "NP",
         {{"b", "1", true, ""},
          {"no comma", "2", true, "'' is not a valid integer value"},
          {"b", "1", true, ""}}},
        {"no file: empty, Next does nothing", "", 4, "N", {{"", "", true, ""}, {"", "", true, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TipsFixture f(c.file);
        if (c.file.empty()) DeleteFileIfPresent(f.dir / kTipsFileName);
        f.props->Props().TipNumber = c.storedNumber;
        std::vector<Seen> seen;
        f.dialogs.scripts.push_back([&](TfrmTips& d) {
            auto record = [&](const std::string& error) {
                seen.push_back({d.StaticText1, f.stored("TipNumber"), d.btnHelpEnabled, error});
            };
            record("");
            for (char step : c.steps) {
                try {
                    step == 'N' ? d.btnNextClick() : d.btnPreviousClick();
                    record("");
                } catch (const AppError& e) {
                    record(e.what());
                }
            }
        });
        f.props->btnNowClick();
        EXPECT_EQ(seen, c.seen);
    }
}

TEST(TipOfTheDay, HelpOpensTheTipsTopicAndCloses) {
    TipsFixture f("0,a\r\n5,some text\r\n");
    TipsModalResult afterHelp = TipsModalResult::None;
    f.dialogs.scripts.push_back([&](TfrmTips& d) {
        EXPECT_EQ(d.TipHelpContext, 5);
        d.btnHelpClick();
        afterHelp = d.ModalResult;
    });
    f.props->btnNowClick();
    EXPECT_EQ(f.view.helpTopics, std::vector<int>{5});
    EXPECT_EQ(f.view.helpFile, "Vostrel5.hlp");
    EXPECT_EQ(afterHelp, TipsModalResult::Yes);
    EXPECT_EQ(f.dialogs.captions, std::vector<std::string>{"Vostrel 5 - Tip of the Day"});
}

TEST(TipOfTheDay, OnScreenOnceWithoutTheMainIconAndShownWhenDue) {
    TipsFixture f("0,a\r\n0,b\r\n");
    f.props->TaskIcon1.SetActive(true);
    f.tray.calls.clear();
    std::vector<bool> iconWhileOpen;
    f.dialogs.scripts.push_back([&](TfrmTips& d) {
        iconWhileOpen.push_back(f.props->TaskIcon1.Active());
        // The daily showing falls due while the dialog is on screen: no second dialog.
        f.state.DayCounter = kTicksPerDay;
        f.props->Timer1Timer();
        // Unticking "Show these tips" is saved at once and mirrored on the main window.
        d.chkShowTips = false;
        d.chkShowTipsClick();
    });
    f.props->btnNowClick();
    EXPECT_EQ(f.dialogs.captions.size(), 1u);
    EXPECT_EQ(iconWhileOpen, std::vector<bool>{false});
    EXPECT_TRUE(f.props->TaskIcon1.Active());
    ASSERT_EQ(f.tray.calls.size(), 2u);
    EXPECT_EQ(f.tray.calls[0].operation, TrayOperation::Delete);
    EXPECT_EQ(f.tray.calls[1].operation, TrayOperation::Add);
    EXPECT_EQ(f.stored("TipEnabled"), "0");
    EXPECT_FALSE(f.props->Props().chkShowTips);

    // Switched off: neither at start-up nor daily, but "Show &Now" still shows it.
    f.props->FormCreate({});
    f.state.DayCounter = kTicksPerDay;
    f.props->Timer1Timer();
    EXPECT_EQ(f.dialogs.captions.size(), 1u);
    f.props->btnNowClick();
    EXPECT_EQ(f.dialogs.captions.size(), 2u);
}

}  // namespace
}  // namespace v5
