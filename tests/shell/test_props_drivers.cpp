// The Mailer Choice page of the properties window's model: the catalogue read at start-up, what
// Ok then writes, and the page's handlers.
#include <gtest/gtest.h>

#include "base/file_routines.h"
#include "drivers/driver_entry.h"
#include "drivers/driver_library.h"
#include "props_fixture.h"
#include "shell/settings.h"

namespace v5 {
namespace {

using testing::PropsFixture;

struct Recorded : ScriptInfoView {
    std::vector<TfrmShowScriptInfo> shown;
    void showModal(const TfrmShowScriptInfo& form) override { shown.push_back(form); }
};

TEST(PropsDrivers, OkAfterStartUpKeepsTheActiveLinesOfListedDrivers) {
    PropsFixture f;
    const std::string drivers = f.dir / "drivers";
    WriteFileStringOrThrow(drivers + "\\SELECTG.DAT", "Pad!!pad.mfs\r\nMail!!mail.EXE\r\nGone!!gone.mfs\r\n");
    WriteFileStringOrThrow(drivers + "\\pad.mfs", "");
    WriteFileStringOrThrow(drivers + "\\mail.EXE", "");
    const std::string stored = MakeDriverEntry("MAIL", "mail.exe") + "\r\n" + MakeDriverEntry("Gone", "gone.mfs") +
                               "\r\n" + MakeDriverEntry("Pad", "pad.mfs") + "\r\n";
    WriteFileStringOrThrow(f.dir / kActiveMailersFileName, stored);
    f.props->FormCreate({"/s"});
    EXPECT_EQ(f.p().lstActive, (std::vector<std::string>{MakeDriverEntry("Mail", "mail.EXE"), MakeDriverEntry("Pad", "pad.mfs")}));
    EXPECT_TRUE(f.p().lstLibrary.empty());
    EXPECT_EQ(f.props->ActiveDriverScripts(), (std::vector<std::string>{"mail.EXE", "pad.mfs"}));
    f.props->btnOkClick();
    EXPECT_EQ(ReadFileString(f.dir / kActiveMailersFileName),
              MakeDriverEntry("Mail", "mail.EXE") + "\r\n" + MakeDriverEntry("Pad", "pad.mfs") + "\r\n");
}

TEST(PropsDrivers, AnUnreadableCatalogueIsReportedAndOkKeepsTheActiveListFile) {
    PropsFixture f;
    f.profile.values[{"WIN.INI", "Mail Form Drivers", "Path"}] = f.dir / "nowhere";
    const std::string stored = MakeDriverEntry("Pad", "pad.mfs") + "\r\n";
    WriteFileStringOrThrow(f.dir / kActiveMailersFileName, stored);
    f.props->FormCreate({"/s"});
    ASSERT_EQ(f.boxes.shown.size(), 1u);
    EXPECT_NE(f.boxes.shown[0].text.find("SELECTG.DAT"), std::string::npos) << f.boxes.shown[0].text;
    EXPECT_EQ(f.state.TracePoint, 4409) << "start-up carries on";
    EXPECT_TRUE(f.props->TaskIcon1.Active());
    f.props->btnOkClick();
    EXPECT_EQ(ReadFileString(f.dir / kActiveMailersFileName), stored);
}

TEST(PropsDrivers, ButtonsOverTheListsSelectAndOpenMenusOnlyOverAnEntry) {
    PropsFixture f;
    f.p().lstLibrary = {MakeDriverEntry("A", "a.mfs"), MakeDriverEntry("B", "b.mfs")};
    f.p().lstActive = {MakeDriverEntry("C", "c.mfs"), MakeDriverEntry("D", "c.mfs")};
    struct Case {
        bool library;
        int entry;
        bool right;
        bool popup;
        int selected;
    } cases[] = {
        {true, 1, true, true, 1}, {true, -1, true, false, -1}, {true, 0, false, false, 0},
        {false, 1, true, true, 1}, {false, 5, true, false, -1},
    };
    for (const Case& c : cases) {
        const bool popup = c.library ? f.props->lstLibraryMouseDown(c.entry, c.right)
                                     : f.props->lstActiveMouseDown(c.entry, c.right);
        EXPECT_EQ(popup, c.popup) << c.library << c.entry;
        EXPECT_EQ(c.library ? f.p().libraryItemIndex : f.p().activeItemIndex, c.selected) << c.library << c.entry;
    }
}

TEST(PropsDrivers, DropsMoveOnlyFromTheOtherListAndDetailsShowScripts) {
    Recorded details;
    PropsFixture f;
    f.props = std::make_unique<TfrmProps>(PropsPorts{f.state, f.diagnostics, f.app, f.profile, f.view, {}, &f.tray,
                                                     &f.versions, &f.os, nullptr, nullptr, &details});
    f.state.DriverDir = "C:\\MFD";
    f.p().lstLibrary = {MakeDriverEntry("A", "a.mfs"), MakeDriverEntry("P", "p.EXE")};
    f.p().libraryItemIndex = 0;
    f.props->lstLibraryDragDrop(false);  // a drop from the Library onto itself
    f.props->lstActiveDragDrop(false);   // a drop from elsewhere
    EXPECT_TRUE(f.p().lstActive.empty());
    f.props->lstActiveDragDrop(true);
    ASSERT_EQ(f.p().lstActive.size(), 1u);
    EXPECT_EQ(f.props->ActiveDriverScripts(), std::vector<std::string>{"a.mfs"});

    f.props->detActiveClick();
    ASSERT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(details.shown[0].Caption, "Mail Form Script - C:\\MFD\\a.mfs");
    f.p().libraryItemIndex = 0;
    f.props->Details1Click();  // a program: run with no command (no engine here), not shown
    EXPECT_EQ(details.shown.size(), 1u);
    EXPECT_EQ(f.props->Drivers().CurrentDriver, "p.EXE");

    f.props->lstLibraryDragDrop(true);  // from the Active list
    EXPECT_TRUE(f.p().lstActive.empty());
    EXPECT_TRUE(f.props->ActiveDriverScripts().empty());
}

}  // namespace
}  // namespace v5
