// The properties window's handlers and its refresh routine, on the portable model.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/errors.h"
#include "props_fixture.h"

using namespace v5;
using v5::testing::PropsFixture;

namespace {

std::string Entry(const std::string& name, const std::string& script) { return MakeDriverEntry(name, script); }

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(PropsAddressEditor, AddAndRemoveFollowTheirEnablingRules) {
    struct Case {
        const char* typed;
        bool addEnabled;
    } cases[] = {
        {"", false}, {"   ", false}, {"\t \r\n", false}, {" list@example.org", true}, {"x", true},
    };
    for (const Case& c : cases) {
        PropsFixture f;
        f.p().lstActive = {Entry("Mailer", "m.mfs")};
        f.p().txtMailingListAddress = c.typed;
        f.props->txtMailingListAddressChange();
        EXPECT_EQ(f.props->Window().btnMailingListAddressAddEnabled, c.addEnabled) << "[" << c.typed << "]";
        f.props->btnMailingListAddressAddClick();
        if (c.addEnabled) {
            ASSERT_EQ(f.p().lstMailingListAddress.size(), 1u);
            EXPECT_EQ(f.p().lstMailingListAddress[0], c.typed) << "stored exactly as typed";
            EXPECT_EQ(f.p().txtMailingListAddress, "");
            EXPECT_FALSE(f.props->Window().btnMailingListAddressAddEnabled);
        } else {
            EXPECT_TRUE(f.p().lstMailingListAddress.empty()) << "[" << c.typed << "]";
        }
    }
}

TEST(PropsAddressEditor, DuplicatesAreKeptAndRemoveMovesTheAddressBackForEditing) {
    PropsFixture f;
    f.p().lstActive = {Entry("Mailer", "m.mfs")};
    for (int i = 0; i < 2; ++i) {
        f.p().txtMailingListAddress = "news@example.org";
        f.props->btnMailingListAddressAddClick();
    }
    f.p().txtMailingListAddress = "b@example.org";
    f.props->btnMailingListAddressAddClick();
    EXPECT_EQ(f.p().lstMailingListAddress,
              (std::vector<std::string>{"news@example.org", "news@example.org", "b@example.org"}));

    // Nothing selected: Remove is disabled and does nothing.
    f.p().mailingListItemIndex = -1;
    f.props->lstMailingListAddressClick();
    EXPECT_FALSE(f.props->Window().btnMailingListAddressRemoveEnabled);
    f.props->btnMailingListAddressRemoveClick();
    EXPECT_EQ(f.p().lstMailingListAddress.size(), 3u);

    f.p().mailingListItemIndex = 1;
    f.props->lstMailingListAddressClick();
    EXPECT_TRUE(f.props->Window().btnMailingListAddressRemoveEnabled);
    f.props->btnMailingListAddressRemoveClick();
    EXPECT_EQ(f.p().lstMailingListAddress, (std::vector<std::string>{"news@example.org", "b@example.org"}));
    EXPECT_EQ(f.p().txtMailingListAddress, "news@example.org");
    EXPECT_FALSE(f.props->Window().btnMailingListAddressRemoveEnabled) << "no address is selected any more";
    EXPECT_TRUE(f.props->Window().btnMailingListAddressAddEnabled) << "ready to add the edited address";
}

TEST(PropsUpdateControls, PagesAndNoticeFollowTheActiveList) {
    struct Case {
        std::vector<std::string> active;
        bool visibleBefore;
    } cases[] = {
        {{}, false},
        {{}, true},
        {{Entry("One", "one.mfs")}, false},
    };
    for (const Case& c : cases) {
        PropsFixture f;
        f.p().lstActive = c.active;
        f.view.visible = c.visibleBefore;
        f.p().RecentPage = 0;
        f.props->UpdateControls();
        const bool empty = c.active.empty();
        const auto& w = f.props->Window();
        EXPECT_EQ(w.tabVisible, (std::array<bool, 5>{!empty, !empty, true, !empty, true}));
        EXPECT_EQ(w.lblNoMailersVisible, empty);
        EXPECT_GE(f.app.processMessagesCalls, 1) << "pending messages are let through first";
        if (empty) {
            EXPECT_EQ(w.activePage, pgMailerChoice);
            EXPECT_TRUE(f.view.visible);
            // Shown through ShowPropertiesWindow only when it was hidden.
            EXPECT_EQ(Count(::testing::PrintToString(f.view.calls), "\"show\""), c.visibleBefore ? 0 : 1);
        } else {
            EXPECT_FALSE(f.view.visible);
            EXPECT_TRUE(f.view.calls.empty());
        }
    }
}

TEST(PropsUpdateControls, EqualsMarksTheOtherEntriesOfTheSelectedScript) {
    PropsFixture f;
    auto& active = f.p().lstActive;
    active = {Entry("Alpha", "shared.mfs"), Entry("Beta", "other.mfs"), Entry("Gamma", "shared.mfs"),
              Entry("Delta", "SHARED.mfs")};

    f.p().activeItemIndex = 0;
    f.props->lstActiveClick();
    EXPECT_EQ(active[0], Entry("Alpha", "shared.mfs"));
    EXPECT_EQ(active[1], Entry("Beta", "other.mfs"));
    EXPECT_EQ(active[2], Entry("=Gamma", "shared.mfs")) << "same script, another entry";
    EXPECT_EQ(active[3], Entry("Delta", "SHARED.mfs")) << "script names compare with letter case";

    // Refreshing again does not double the mark.
    f.props->UpdateControls();
    EXPECT_EQ(active[2], Entry("=Gamma", "shared.mfs"));

    // The marked entry itself selected: the mark moves to the first.
    f.p().activeItemIndex = 2;
    f.props->lstActiveClick();
    EXPECT_EQ(active[0], Entry("=Alpha", "shared.mfs"));
    EXPECT_EQ(active[2], Entry("Gamma", "shared.mfs"));

    // Another script selected: every mark goes.
    f.p().activeItemIndex = 1;
    f.props->lstActiveClick();
    EXPECT_EQ(active[0], Entry("Alpha", "shared.mfs"));
    EXPECT_EQ(active[2], Entry("Gamma", "shared.mfs"));

    // Nothing selected: marks stay as they are.
    active[2] = "=" + active[2];
    f.p().activeItemIndex = -1;
    f.props->lstLibraryClick();
    EXPECT_EQ(active[2], Entry("=Gamma", "shared.mfs"));
}

TEST(PropsUpdateControls, ActiveDriverScriptsAreSortedOnceEachIgnoringCase) {
    PropsFixture f;
    f.p().lstActive = {Entry("A", "zeta.mfs"), Entry("=B", "Alpha.MFS"), Entry("C", "alpha.mfs"),
                       Entry("D", "mid.exe")};
    f.props->BuildActiveDriverScripts();
    EXPECT_EQ(f.props->ActiveDriverScripts(), (std::vector<std::string>{"Alpha.MFS", "mid.exe", "zeta.mfs"}));
    f.p().lstActive.clear();
    f.props->BuildActiveDriverScripts();
    EXPECT_TRUE(f.props->ActiveDriverScripts().empty());
}

TEST(PropsPages, HelpButtonAsksForTheTopicOfTheRecentPage) {
    PropsFixture f;
    f.p().lstActive = {Entry("Mailer", "m.mfs")};
    const int expected[] = {4000, 4001, 4002, 4003, 4004};
    for (int page = 0; page < kPageCount; ++page) {
        f.props->PageControl1Change(page);
        EXPECT_EQ(f.p().RecentPage, page);
        f.props->btnHelpClick();
        ASSERT_EQ(f.view.helpTopics.size(), static_cast<std::size_t>(page + 1));
        EXPECT_EQ(f.view.helpTopics.back(), expected[page]);
    }
    EXPECT_EQ(f.view.helpFile, "Vostrel5.hlp");
    f.props->mnuHelpClick();
    EXPECT_EQ(f.view.helpTopics.back(), 1099);

    // With the Active list empty the window shows Mailer Choice, whatever page was chosen last.
    f.props->PageControl1Change(pgRoutine);
    f.p().lstActive.clear();
    f.props->UpdateControls();
    f.props->btnHelpClick();
    EXPECT_EQ(f.view.helpTopics.back(), 4002);
}

TEST(PropsPages, F1AnswersWithTheControlsOwnFramesOrPagesTopic) {
    struct Case {
        const char* control;
        int topic;  // 0: no help shown
    } cases[] = {
        {"btnUnload", 19},          {"txtMailingListAddress", 9101}, {"lstMailingListAddress", 9102},
        {"btnMailingListAddressAdd", 9103}, {"btnMailingListAddressRemove", 9104},
        {"optProcessing1", 1004},   {"optOutward2", 1004},           {"lblNewAddress", 1005},
        {"btnRun", 9200},           {"chkForceKeyRead", 3},          {"btnPGPKeys", 9050},
        {"btnTools", 9050},         {"lstLibrary", 2000},            {"lstActive", 2001},
        {"lblNoMailers", 4002},     {"chkShowTips", 9020},           {"btnNow", 9020},
        {"chkIgnoreWrappedKeys", 9022}, {"txtAbout", 4004},          {"btnRunRoutine", 4000},
        {"lblSpecialNote", 0},      {"btnOk", 0},                    {"no such control", 0},
    };
    for (const Case& c : cases) {
        PropsFixture f;
        f.props->ShowHelpFor(c.control);
        if (c.topic == 0) {
            EXPECT_TRUE(f.view.helpTopics.empty()) << c.control;
        } else {
            ASSERT_EQ(f.view.helpTopics.size(), 1u) << c.control;
            EXPECT_EQ(f.view.helpTopics[0], c.topic) << c.control;
        }
    }
}

TEST(PropsPages, SelectPageRefusesAnIndexOutsideThePages) {
    PropsFixture f;
    for (int bad : {-1, 5, 1000}) {
        try {
            f.props->SelectPage(bad);
            ADD_FAILURE() << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    f.props->SelectPage(3);
    EXPECT_EQ(f.props->Window().activePage, 3);
}

TEST(PropsWindow, ShowingPlacesTheWindowInTheMiddleAndOpensTheRecentPage) {
    PropsFixture f;
    f.p().lstActive = {Entry("One", "one.mfs")};
    f.p().RecentPage = 3;
    f.view.screen = {1024, 768};
    f.view.window = {559, 437};
    f.props->TaskIcon1RightClick();
    EXPECT_TRUE(f.view.visible);
    // (1024 - 559) / 2 = 232.5 and (768 - 437) / 2 = 165.5 go to the even neighbours.
    EXPECT_EQ(f.view.position.x, 232);
    EXPECT_EQ(f.view.position.y, 166);
    EXPECT_EQ(f.props->Window().activePage, 3);
    EXPECT_EQ(f.view.calls, (std::vector<std::string>{"move", "show", "front", "appFront"}));
    EXPECT_TRUE(f.boxes.shown.empty());
}

TEST(PropsWindow, ARecentPageOutsideThePagesIsReportedAndTheWindowStillOpens) {
    PropsFixture f;
    f.p().lstActive = {Entry("One", "one.mfs")};
    f.p().RecentPage = 7;
    f.state.TracePoint = 12;
    f.props->ShowPropertiesWindow();
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_EQ(f.boxes.shown[0].text, "Error in TfrmProps.12 with UH List index out of bounds (7)");
    EXPECT_EQ(f.boxes.shown[0].caption, "Warning");
    EXPECT_TRUE(f.view.visible);
    EXPECT_EQ(f.props->Window().activePage, pgMailerChoice) << "the page shown before stays";
    EXPECT_EQ(f.view.calls.back(), "appFront");
}

TEST(PropsWindow, OkPressedWhileTheWindowOpensWithNoMailersKeepsItHidden) {
    // The refresh that opens the window lets pending messages through; an Ok handled there hides
    // the window, and the refresh must not open it again behind the user's back.
    PropsFixture f;
    f.app.onProcessMessages = [&] { f.props->btnOkClick(); };
    f.props->TaskIcon1RightClick();
    EXPECT_FALSE(f.view.visible);
    EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "show"), 1);
    EXPECT_TRUE(f.props->FormCloseQuery());
}

TEST(PropsWindow, MinimisingHidesAndOtherResizesDoNot) {
    PropsFixture f;
    f.view.visible = true;
    f.props->FormResize(false);
    EXPECT_TRUE(f.view.visible);
    f.props->FormResize(true);
    EXPECT_FALSE(f.view.visible);
}

TEST(PropsWindow, OkSavesThenHidesAndCancelReloadsThenHides) {
    PropsFixture f;
    f.view.visible = true;
    f.props->btnOkClick();
    EXPECT_FALSE(f.view.visible);
    EXPECT_EQ(f.state.TracePoint, 2345);

    f.view.visible = true;
    f.props->btnCancelClick();
    EXPECT_FALSE(f.view.visible);
    EXPECT_EQ(f.state.TracePoint, 4411);

    // A close request on the visible window acts as Cancel and is refused.
    f.view.visible = true;
    EXPECT_FALSE(f.props->FormCloseQuery());
    EXPECT_FALSE(f.view.visible);
    EXPECT_TRUE(f.props->FormCloseQuery());
}

TEST(PropsWindow, ShowTipsBoxSetsTipEnabledAndTheAboutTextIsSelectedOnClick) {
    PropsFixture f;
    f.p().chkShowTips = false;
    f.props->chkShowTipsClick();
    EXPECT_FALSE(f.p().TipEnabled);
    f.p().chkShowTips = true;
    f.props->chkShowTipsClick();
    EXPECT_TRUE(f.p().TipEnabled);
    f.props->txtAboutMouseDown();
    EXPECT_EQ(f.view.calls.back(), "selectAbout");
}

TEST(PropsTray, ALeftClickRunsOnceAndAClickDuringTheRunStartsNothing) {
    PropsFixture f;
    int runs = 0;
    f.props->MainPGP = [&](bool) {
        ++runs;
        EXPECT_TRUE(f.state.TrayClickBusy);
        // The run lets messages through: the second click of a double click arrives now.
        f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp);
        f.props->TaskIcon1.HandleNotification(0, kWmLButtonDblClk);
    };
    f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp);
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(f.state.TrayClickBusy);
    EXPECT_EQ(Count(f.log(), ": MainPGP-T\r\n"), 1);

    // Once the run is over, the next click starts another.
    f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(Count(f.log(), ": MainPGP-T\r\n"), 2);

    // Clicks on the tools icon, double clicks and clicks meant for another identifier start nothing.
    f.props->TaskIcon2.HandleNotification(0, kWmLButtonUp);
    f.props->TaskIcon1.HandleNotification(0, kWmLButtonDblClk);
    f.props->TaskIcon1.HandleNotification(5, kWmLButtonUp);
    EXPECT_EQ(runs, 2);
}

TEST(PropsTray, RunButtonsLogTheirLineAndStartTheirKindOfRun) {
    PropsFixture f;
    std::vector<std::pair<bool, bool>> runs;  // RoutineRun, and whether the run guard was set
    f.props->MainPGP = [&](bool routine) { runs.push_back({routine, f.state.TrayClickBusy}); };
    f.props->btnRunRoutineClick();
    f.props->btnRunClick();
    f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp);
    EXPECT_EQ(runs, (std::vector<std::pair<bool, bool>>{{true, true}, {false, true}, {true, true}}));
    EXPECT_EQ(Count(f.log(), ": MainPGP-T\r\n"), 2);
    EXPECT_EQ(Count(f.log(), ": MainPGP-F\r\n"), 1);
}

// While a run waits in one of its modal steps, messages get through: no start made then, by the
// tray icon or either Run button, may begin a second run inside the first. The Run buttons are
// disabled meanwhile, and come back however the run ends.
TEST(PropsTray, OneRunAtATimeWhicheverWayItStarted) {
    using Start = std::function<void(TfrmProps&)>;
    const std::pair<const char*, Start> starts[] = {
        {"tray click", [](TfrmProps& p) { p.TaskIcon1.HandleNotification(0, kWmLButtonUp); }},
        {"Routine page's Run", [](TfrmProps& p) { p.btnRunRoutineClick(); }},
        {"Special page's Run", [](TfrmProps& p) { p.btnRunClick(); }},
    };
    for (const bool fails : {false, true}) {
        for (const auto& [name, start] : starts) {
            PropsFixture f;
            int runs = 0;
            f.props->MainPGP = [&](bool) {
                ++runs;
                EXPECT_FALSE(f.props->Window().runButtonsEnabled) << name;
                const std::string logBefore = f.log();
                for (const auto& [other, nested] : starts) nested(*f.props);
                EXPECT_EQ(f.log(), logBefore) << name << ": not even a log line";
                if (fails) throw AppError("driver failed");
            };
            const auto attempt = [&] {
                try {
                    start(*f.props);
                } catch (const AppError&) {
                    EXPECT_TRUE(fails) << name;
                }
            };
            attempt();
            EXPECT_EQ(runs, 1) << name;
            EXPECT_TRUE(f.props->Window().runButtonsEnabled) << name;
            EXPECT_FALSE(f.state.TrayClickBusy) << name;
            attempt();
            EXPECT_EQ(runs, 2) << name << ": the next start after the run";
        }
    }
}

TEST(PropsTray, AFailedRunLeavesTheIconReadyForTheNextClick) {
    PropsFixture f;
    int runs = 0;
    f.props->MainPGP = [&](bool) {
        ++runs;
        throw AppError("driver failed");
    };
    EXPECT_THROW(f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp), AppError);
    EXPECT_FALSE(f.state.TrayClickBusy);
    EXPECT_THROW(f.props->TaskIcon1.HandleNotification(0, kWmLButtonUp), AppError);
    EXPECT_EQ(runs, 2);
}

TEST(PropsTray, RightClicksShowTheWindowOrTheToolsMenuAtTheCursor) {
    PropsFixture f;
    f.p().lstActive = {Entry("One", "one.mfs")};
    f.tray.cursor = {900, 740};
    f.props->TaskIcon2.HandleNotification(0, kWmRButtonUp);
    ASSERT_EQ(f.view.toolsMenus.size(), 1u);
    EXPECT_EQ(f.view.toolsMenus[0].x, 900);
    EXPECT_EQ(f.view.toolsMenus[0].y, 740);
    EXPECT_FALSE(f.view.visible);

    f.props->TaskIcon1.HandleNotification(0, kWmRButtonUp);
    EXPECT_TRUE(f.view.visible);
}

TEST(PropsStartup, FillsTheWindowComposesTheAboutTextAndActivatesTheIconsInOrder) {
    PropsFixture f;
    f.state.DriverDir = "";
    f.profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = "C:\\Drivers";
    f.profile.values[{"Vostrel5.INI", "PGP", "Mainexe"}] = "C:\\PGP\\PGPtray.exe";
    f.p().lstActive = {Entry("One", "one.mfs")};
    f.versions.files["C:\\PGP\\PGPtray.exe"] = {{"\\StringFileInfo\\040904b0\\ProductName", "PGP Suite "},
                                                 {"\\StringFileInfo\\040904b0\\FileVersion", "5.5.3 "}};
    f.props->TaskIcon1.SetWindow(11);
    f.props->TaskIcon2.SetWindow(22);
    f.props->FormCreate({"/s"});

    EXPECT_TRUE(f.p().chkShowTips) << "ticked while tips are enabled";
    EXPECT_FALSE(f.view.visible);
    ASSERT_EQ(f.tray.calls.size(), 2u);
    EXPECT_EQ(f.tray.calls[0].operation, TrayOperation::Add);
    EXPECT_EQ(f.tray.calls[0].entry.window, 11u);
    EXPECT_EQ(f.tray.calls[0].entry.tip, "Vostrel 5");
    EXPECT_EQ(f.tray.calls[1].entry.window, 22u);
    EXPECT_EQ(f.tray.calls[1].entry.tip, "Vostrel Tools");
    EXPECT_TRUE(f.props->TaskIcon1.Active());
    EXPECT_TRUE(f.props->TaskIcon2.Active());

    const std::string about = "\r\nVostrel 5 V5.1.1.27\r\nInstalled in: " + f.state.InstallDir +
                              "\r\nMail Form Drivers in: C:\\Drivers\r\nWindows: 6.1.7601 WinNTService Pack 1"
                              "\r\nUsing  PGP Suite  V5.5.3\r\nInstalled in: C:\\PGP\\\r\n"
                              "PGP is a trade mark of Pretty Good Privacy, Inc.";
    EXPECT_EQ(f.props->AboutText(), about);
    const std::string log = f.log();
    EXPECT_NE(log.find("14:03:09: " + about + "\r\n"), std::string::npos) << log;
    EXPECT_EQ(f.state.TracePoint, 4409);
    EXPECT_EQ(f.props->VersionLabel1.InfoPrefix(), "") << "the About text reads the version without a prefix";
}

TEST(PropsStartup, AnEmptyActiveListPreparesMailerChoiceWithoutFlashingTheWindow) {
    PropsFixture f;
    f.props->FormCreate({"/i"});
    EXPECT_FALSE(f.view.visible);
    EXPECT_EQ(f.props->Window().activePage, pgMailerChoice);
    EXPECT_TRUE(f.props->Window().lblNoMailersVisible);
    // Never put on the screen nor brought to the front during start-up, which ends hidden.
    const auto& calls = f.view.calls;
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "show"), calls.end());
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "front"), calls.end());
    EXPECT_TRUE(f.props->TaskIcon1.Active());
    // After start-up the refresh shows the window again whenever the Active list is empty.
    f.props->UpdateControls();
    EXPECT_TRUE(f.view.visible);
}

TEST(PropsStartup, ABadRecentPageWithNoMailersIsReportedAndStartUpGoesOn) {
    PropsFixture f;
    // The settings load is not part of this model's own steps: the stored page arrives here.
    f.p().RecentPage = 9;
    f.profile.values[{"Vostrel5.INI", "General", "RecentPage"}] = "9";
    f.props->FormCreate({});
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_NE(f.boxes.shown[0].text.find("List index out of bounds (9)"), std::string::npos);
    EXPECT_TRUE(f.props->TaskIcon1.Active()) << "the icons are still activated";
    EXPECT_TRUE(f.props->TaskIcon2.Active());
    EXPECT_EQ(f.state.TracePoint, 4409);
}

TEST(PropsStartup, ToolsButtonOnlyWhenPgpToolsLiesBesidePgp) {
    for (bool present : {false, true}) {
        PropsFixture f;
        f.p().lstActive = {Entry("One", "one.mfs")};
        // Paths of the system use backslashes; here the folder "PGP\" is part of a file name.
        f.profile.values[{"Vostrel5.INI", "PGP", "Mainexe"}] = f.dir / "PGP\\PGPtray.exe";
        if (present) WriteFileStringOrThrow(f.dir / "PGP\\PGPTools.Exe", "");
        f.props->FormCreate({});
        EXPECT_EQ(f.p().btnToolsVisible, present);
    }
}

TEST(PlaceForm, PlacesByFractionsOfTheFreeSpace) {
    struct Case {
        PixelSize screen, form;
        double fx, fy;
        int x, y;
    } cases[] = {
        {{1024, 768}, {500, 400}, 0.5, 0.5, 262, 184},
        {{1024, 768}, {625, 320}, 0.33, 0.33, 132, 148},  // 131.67 and 147.84
        {{800, 600}, {900, 700}, 0.5, 0.5, -50, -50},
        {{1025, 768}, {500, 400}, 0.5, 0.5, 262, 184},    // 262.5 to the even neighbour
        {{1027, 768}, {500, 400}, 0.5, 0.5, 264, 184},    // 263.5 likewise
    };
    for (const Case& c : cases) {
        PixelPoint at = PlaceForm(c.screen, c.form, c.fx, c.fy);
        EXPECT_EQ(at.x, c.x);
        EXPECT_EQ(at.y, c.y);
    }
}

TEST(PropsWindow, CancelBringsBackWhatOkSavedButKeepsTheMailerLists) {
    PropsFixture f;
    f.p().lstActive = {Entry("One", "one.mfs")};
    f.p().lstMailingListAddress = {"a@example.org", "b@example.org"};
    f.p().optProcessing = 1;
    f.view.visible = true;
    f.props->btnOkClick();
    EXPECT_FALSE(f.view.visible);

    f.p().mailingListItemIndex = 0;
    f.props->btnMailingListAddressRemoveClick();
    f.p().optProcessing = 2;
    f.p().chkIgnoreWrappedKeys = true;
    f.p().lstActive.push_back(Entry("Two", "two.mfs"));
    f.view.visible = true;
    f.props->btnCancelClick();

    EXPECT_FALSE(f.view.visible);
    EXPECT_EQ(f.state.TracePoint, 4411);
    EXPECT_EQ(f.p().lstMailingListAddress, (std::vector<std::string>{"a@example.org", "b@example.org"}));
    EXPECT_EQ(f.p().optProcessing, 1);
    EXPECT_FALSE(f.p().chkIgnoreWrappedKeys);
    EXPECT_EQ(f.p().lstActive.size(), 2u) << "the Active list is not reloaded";
}
