// The properties window's model at start-up, Ok and Cancel, as far as the settings go.
#include <gtest/gtest.h>

#include <memory>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_shell.h"
#include "shell/props.h"
#include "shell/settings.h"
#include "temp_dir.h"

namespace v5 {
namespace {

class PropsSettings : public ::testing::Test, protected testing::DiagnosticsFixture {
protected:
    fakes::FakeProfile profile;
    fakes::FakePropsView view;
    const std::string blanks = std::string(200, ' ');

    // The model holds its tray icons, whose events point back at it: it stays where it was made.
    std::unique_ptr<TfrmProps> Started() {
        // An empty driver catalogue: read without a report.
        profile.setFileText("WIN.INI", "[Mail Form Drivers]\r\nPath=" + dir / "drivers" + "\r\n");
        WriteFileStringOrThrow(dir / "drivers\\SELECTG.DAT", "");
        auto props = std::make_unique<TfrmProps>(
            PropsPorts{state, diagnostics, app, profile, view, [] { return std::string("5.1.1.27"); }});
        props->FormCreate({});
        return props;
    }
};

TEST_F(PropsSettings, StartUpLoadsTheActiveMailersLinesAndTheSettings) {
    WriteFileStringOrThrow(dir / kActiveMailersFileName, "Mailer A" + blanks + "a.ini\r\nMailer B" + blanks + "b.ini\r\n");
    profile.setFileText(kSettingsFileName, "[General]\r\nRecentPage=0x3\r\nTipEnabled=0\r\n");
    auto props = Started();
    EXPECT_EQ(props->Props().activeMailersLines,
              (std::vector<std::string>{"Mailer A" + blanks + "a.ini", "Mailer B" + blanks + "b.ini"}));
    EXPECT_EQ(props->Props().RecentPage, 3);
    EXPECT_FALSE(props->Props().chkShowTips);
    EXPECT_EQ(profile.readString(kSettingsFileName, "General", "Version", ""), "File Version: 5.1.1.27");
    EXPECT_EQ(state.TracePoint, 4409);
}

TEST_F(PropsSettings, StartUpTicksTheTipBoxAndFindsPgpTools) {
    // Paths of the installation use backslashes; here the "folder" is part of a file name.
    const std::string pgpDir = dir / "PGP\\";
    profile.setFileText(kSettingsFileName, "[PGP]\r\nMainexe=" + pgpDir + "PGPtray.exe\r\n");
    {
        auto props = Started();
        EXPECT_TRUE(props->Props().chkShowTips);
        EXPECT_FALSE(props->Props().btnToolsVisible);
    }
    WriteFileStringOrThrow(pgpDir + "PGPTools.Exe", "");
    auto props = Started();
    EXPECT_TRUE(props->Props().btnToolsVisible);
}

TEST_F(PropsSettings, CancelRestoresOptionsAndAddressesButKeepsTheActiveList) {
    profile.setFileText(kSettingsFileName, "[General]\r\noptProcessing=1\r\nRecentPage=0\r\n");
    WriteFileStringOrThrow(dir / kMailingListFileName, "one@example.org\r\ntwo@example.org\r\n");
    auto props = Started();
    PropsState& p = props->Props();
    p.lstLibrary = {"Mailer B" + blanks + "b.ini"};
    p.lstActive = {"Mailer A" + blanks + "a.ini"};

    view.visible = true;
    p.lstMailingListAddress.erase(p.lstMailingListAddress.begin());
    p.optProcessing = 2;
    p.RecentPage = 3;
    p.lstActive.push_back(p.lstLibrary.back());
    p.lstLibrary.pop_back();
    props->btnCancelClick();

    EXPECT_EQ(p.lstMailingListAddress, (std::vector<std::string>{"one@example.org", "two@example.org"}));
    EXPECT_EQ(p.optProcessing, 1);
    EXPECT_EQ(p.RecentPage, 0);
    EXPECT_EQ(p.lstActive.size(), 2u);
    EXPECT_TRUE(p.lstLibrary.empty());
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(state.TracePoint, tpCancelHide);
    EXPECT_FALSE(FileExists(dir / kActiveMailersFileName));  // Cancel writes nothing
}

TEST_F(PropsSettings, OkSavesThenHides) {
    auto props = Started();
    props->Props().lstMailingListAddress = {"list@example.org"};
    props->Props().lstActive = {"=Mailer A" + blanks + "a.ini"};
    props->Props().chkIgnoreWrappedKeys = true;
    view.visible = true;
    props->btnOkClick();
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(state.TracePoint, tpOkSaved);
    EXPECT_EQ(ReadFileString(dir / kMailingListFileName), "list@example.org\r\n");
    EXPECT_EQ(ReadFileString(dir / kActiveMailersFileName), "Mailer A" + blanks + "a.ini\r\n");
    EXPECT_EQ(profile.readInt(kSettingsFileName, "General", "chkIgnoreWrappedKeys", 0), 1);
}

TEST_F(PropsSettings, OkWithAnUnwritableSettingsFileStaysOpenAndRaises) {
    auto props = Started();
    profile.failWritesTo(kSettingsFileName);
    view.visible = true;
    EXPECT_THROW(props->btnOkClick(), AppError);
    EXPECT_TRUE(view.visible);
    EXPECT_FALSE(FileExists(dir / kMailingListFileName));
}

TEST_F(PropsSettings, TipSettingsSavedFromTheWindow) {
    auto props = Started();
    props->Props().TipEnabled = false;
    props->Props().TipNumber = 3;
    props->SaveTipSettings();
    EXPECT_FALSE(props->Props().chkShowTips);
    EXPECT_EQ(profile.readInt(kSettingsFileName, "General", "TipEnabled", 1), 0);
    EXPECT_EQ(profile.readInt(kSettingsFileName, "General", "TipNumber", 0), 3);
}

}  // namespace
}  // namespace v5
