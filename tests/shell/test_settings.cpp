// Loading and saving the settings file and the list files, over the fake profile store.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <string>
#include <vector>

#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "base/list_files.h"
#include "fakes/fake_profile.h"
#include "fakes/fake_shell.h"
#include "shell/props_layout.h"
#include "shell/settings.h"
#include "temp_dir.h"

namespace v5 {
namespace {

// Every profile call with the trace point current when it was made.
class TracingProfile : public Profile {
public:
    TracingProfile(fakes::FakeProfile& inner, const ShellState& state) : inner_(inner), state_(state) {}
    std::vector<std::string> seen;
    std::string readString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& defaultValue) override {
        seen.push_back(std::to_string(state_.TracePoint) + " read " + file + " " + section + " " + key);
        return inner_.readString(file, section, key, defaultValue);
    }
    bool writeString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        seen.push_back(std::to_string(state_.TracePoint) + " write " + file + " " + section + " " + key + "=" + value);
        return inner_.writeString(file, section, key, value);
    }

private:
    fakes::FakeProfile& inner_;
    const ShellState& state_;
};

class Settings : public ::testing::Test, protected testing::DiagnosticsFixture {
protected:
    fakes::FakeProfile profile;
    PropsState props;
    std::vector<std::string> pgpVersionReadsFor;  // PgpMainExe each time the launcher was asked

    SettingsPorts Ports(Profile& through) {
        return {state, diagnostics, through, props, [] { return std::string("5.1.1.27"); },
                [this] { pgpVersionReadsFor.push_back(props.PgpMainExe); }};
    }
    SettingsPorts Ports() { return Ports(profile); }
    void Load() { LoadSettings(Ports()); }
    void Save() { SaveSettings(Ports()); }
    void StoreIni(const std::string& text) { profile.setFileText(kSettingsFileName, text); }
    std::string Ini() const { return profile.fileText(kSettingsFileName).value_or("<no file>"); }
};

TEST_F(Settings, EmptyOrMissingSettingsFileGivesTheDefaults) {
    for (const char* stored : {static_cast<const char*>(nullptr), "", "[General]\r\n[PGP]\r\n"}) {
        SCOPED_TRACE(stored ? stored : "no file");
        profile = fakes::FakeProfile();
        if (stored) StoreIni(stored);
        props = PropsState();
        props.optProcessing = 2, props.optOutward = 1, props.RecentPage = 4, props.chkForceKeyRead = true;
        props.chkIgnoreWrappedKeys = true, props.TipNumber = 9, props.TipEnabled = false, props.PgpMainExe = "x";
        Load();
        EXPECT_EQ(props.optProcessing, 0);
        EXPECT_EQ(props.optOutward, 0);
        EXPECT_EQ(props.RecentPage, 2);
        EXPECT_FALSE(props.chkIgnoreWrappedKeys);
        EXPECT_FALSE(props.chkForceKeyRead);
        EXPECT_EQ(props.TipNumber, 0);
        EXPECT_TRUE(props.TipEnabled);
        EXPECT_EQ(props.PgpMainExe, "");
        EXPECT_TRUE(props.lstMailingListAddress.empty());
    }
    EXPECT_NE(log().find(": Loaded Mailing List File\r\n"), std::string::npos);
}

TEST_F(Settings, StoredValuesLoadAsTheWindowShowsThem) {
    struct Case {
        const char* key;
        const char* stored;
        std::function<std::int32_t(const PropsState&)> shown;
        std::int32_t expected;
    };
    auto processing = [](const PropsState& p) { return p.optProcessing; };
    auto outward = [](const PropsState& p) { return p.optOutward; };
    auto page = [](const PropsState& p) { return p.RecentPage; };
    auto wrapped = [](const PropsState& p) { return std::int32_t{p.chkIgnoreWrappedKeys}; };
    auto tipOn = [](const PropsState& p) { return std::int32_t{p.TipEnabled}; };
    auto tip = [](const PropsState& p) { return p.TipNumber; };
    const Case cases[] = {
        {"RecentPage", "0x3", page, 3},         {"RecentPage", "0X4", page, 4},
        {"RecentPage", "letters", page, 2},     {"RecentPage", "", page, 2},
        {"RecentPage", "7", page, 7},           {"RecentPage", "3 pages", page, 2},
        {"optProcessing", "1", processing, 1},  {"optProcessing", "3", processing, 2},
        {"optProcessing", "99", processing, 2}, {"optProcessing", "-1", processing, -1},
        {"optProcessing", "-7", processing, -1}, {"optProcessing", "0x2", processing, 2},
        {"optProcessing", "two", processing, 0}, {"optOutward", "5", outward, 2},
        {"optOutward", "-2", outward, -1},      {"optOutward", "2", outward, 2},
        {"chkIgnoreWrappedKeys", "1", wrapped, 1}, {"chkIgnoreWrappedKeys", "2", wrapped, 1},
        {"chkIgnoreWrappedKeys", "0", wrapped, 0}, {"chkIgnoreWrappedKeys", "yes", wrapped, 0},
        {"TipEnabled", "0", tipOn, 0},          {"TipEnabled", "-1", tipOn, 1},
        {"TipEnabled", "off", tipOn, 1},        {"TipNumber", "17", tip, 17},
        {"TipNumber", "0x10", tip, 16},         {"tipnumber", "5", tip, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        StoreIni(std::string("[general]\r\n") + c.key + "=" + c.stored + "\r\n");
        props = PropsState();
        Load();
        EXPECT_EQ(c.shown(props), c.expected);
    }
}

TEST_F(Settings, OptionIndexOutsideTheItemsIsSavedAsTheWindowShowsIt) {
    StoreIni("[General]\r\noptProcessing=-7\r\noptOutward=9\r\n");
    Load();
    Save();
    EXPECT_NE(Ini().find("optProcessing=-1\r\n"), std::string::npos) << Ini();
    EXPECT_NE(Ini().find("optOutward=2\r\n"), std::string::npos) << Ini();
}

TEST_F(Settings, LoadReadsAndWritesInOrderUnderItsTracePoints) {
    StoreIni("[PGP]\r\nMainexe=C:\\PGP\\PGPtray.exe\r\n");
    TracingProfile tracing(profile, state);
    LoadSettings(Ports(tracing));
    const std::vector<std::string> expected = {
        "1002 read Vostrel5.INI General optProcessing",
        "1002 read Vostrel5.INI General optOutward",
        "1004 read Vostrel5.INI General RecentPage",
        "1006 read Vostrel5.INI General chkIgnoreWrappedKeys",
        "1006 read Vostrel5.INI General chkForceKeyRead",
        "1011 read Vostrel5.INI General TipNumber",
        "1011 read Vostrel5.INI General TipEnabled",
        "1012 write Vostrel5.INI General LocalRoot=" + dir.path(),
        "1012 write Vostrel5.INI General Version=File Version: 5.1.1.27",
        "1012 read Vostrel5.INI PGP Mainexe",
    };
    EXPECT_EQ(tracing.seen, expected);
    EXPECT_EQ(state.TracePoint, tpSettingsLoaded);
    // The launcher reads the PGP program's version once the path is known.
    EXPECT_EQ(pgpVersionReadsFor, std::vector<std::string>{"C:\\PGP\\PGPtray.exe"});
}

TEST_F(Settings, EveryLoadRewritesLocalRootAndVersion) {
    StoreIni("[General]\r\nLocalRoot=C:\\Elsewhere\\\r\nVersion=old\r\n");
    Load();
    Load();
    EXPECT_EQ(Ini(), "[General]\r\nLocalRoot=" + dir.path() + "\r\nVersion=File Version: 5.1.1.27\r\n");
    EXPECT_EQ(profile.readString(kSettingsFileName, "General", "LocalRoot", ""), dir.path());
    EXPECT_EQ(pgpVersionReadsFor.size(), 2u);
}

TEST_F(Settings, FailedWriteAtLoadStopsTheLoad) {
    StoreIni("[General]\r\nRecentPage=3\r\n[PGP]\r\nMainexe=C:\\PGP\\PGPtray.exe\r\n");
    profile.failWritesTo(kSettingsFileName);
    props.PgpMainExe = "before";
    try {
        Load();
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_STREQ(error.what(), "Unable to write to Vostrel5.INI");
    }
    EXPECT_EQ(props.RecentPage, 3);  // read before the failure
    EXPECT_EQ(props.PgpMainExe, "before");
    EXPECT_TRUE(pgpVersionReadsFor.empty());
    EXPECT_EQ(state.TracePoint, 1012);
}

TEST_F(Settings, SaveWritesInOrderUnderItsTracePoints) {
    props.optProcessing = 1, props.optOutward = 2, props.chkIgnoreWrappedKeys = true, props.RecentPage = 3;
    props.TipNumber = 6, props.TipEnabled = false;
    TracingProfile tracing(profile, state);
    SaveSettings(Ports(tracing));
    const std::vector<std::string> expected = {
        "1102 write Vostrel5.INI General optProcessing=1",
        "1104 write Vostrel5.INI General optOutward=2",
        "1105 write Vostrel5.INI General chkIgnoreWrappedKeys=1",
        "1105 write Vostrel5.INI General chkForceKeyRead=0",
        "1105 write Vostrel5.INI General RecentPage=3",
    };
    EXPECT_EQ(tracing.seen, expected);
    EXPECT_EQ(state.TracePoint, tpSaveListFiles);
}

TEST(SettingsKeys, AKeyStoredFromAControlNamesARowBoundToAStoredField) {
    for (const SettingKey& key : kSettingsKeys) {
        if (key.source != SettingSource::Control) continue;
        const PropsControl* control = FindControl(key.key);
        ASSERT_NE(control, nullptr) << key.key;
        const StateField& f = control->bind.field;
        EXPECT_TRUE(f.flag || f.text || (f.number && RadioItemCount(*control) > 0)) << key.key;
    }
}

TEST_F(Settings, FailedWriteAtSaveLeavesTheListFilesAlone) {
    WriteFileStringOrThrow(dir / kMailingListFileName, "old@example.org\r\n");
    props.lstMailingListAddress = {"new@example.org"};
    props.lstActive = {"=Mailer"};
    profile.failWritesTo(kSettingsFileName);
    EXPECT_THROW(Save(), AppError);
    EXPECT_EQ(state.TracePoint, 1102);
    EXPECT_EQ(ReadFileString(dir / kMailingListFileName), "old@example.org\r\n");
    EXPECT_FALSE(FileExists(dir / kActiveMailersFileName));
    EXPECT_EQ(props.lstActive.front(), "=Mailer");
}

TEST_F(Settings, FailedListFileWriteReachesTheCaller) {
    state.InstallDir = dir / "missing folder/";
    EXPECT_THROW(Save(), InOutError);
}

TEST_F(Settings, AListWriteThatFailsPartWayLeavesTheOldListWhole) {
    // A file-size limit cuts the write short, as a full disk would.
    const std::string longAddress = std::string(8000, 'x') + "@example.org";
    struct Case {
        const char* file;
        std::vector<std::string> mailingList, active;
    };
    const Case cases[] = {
        {kMailingListFileName, {longAddress, "list@example.org"}, {"Mailer"}},
        {kActiveMailersFileName, {"list@example.org"}, {longAddress}},
    };
    const std::string old = "old@example.org\r\nlist@example.org\r\n";
    for (const Case& c : cases) {
        WriteFileStringOrThrow(dir / c.file, old);
        props.lstMailingListAddress = c.mailingList;
        props.lstActive = c.active;
        rlimit saved{};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        EXPECT_THROW(Save(), InOutError) << c.file;
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedSignal);
        EXPECT_EQ(ReadFileString(dir / c.file), old) << c.file;
        EXPECT_FALSE(FileExists(dir / (std::string(c.file) + ".new"))) << c.file;
    }
}

TEST_F(Settings, SavingTwiceWritesIdenticalFiles) {
    const std::string item = "Mailer" + std::string(200, ' ') + "mailer.ini";
    StoreIni("[General]\r\nRecentPage=0x3\r\nTipNumber=4\r\n[PGP]\r\nMainexe=C:\\PGP\\PGPtray.exe\r\n");
    WriteFileStringOrThrow(dir / kMailingListFileName, "a@example.org\nb@example.org\r c@example.org");
    Load();
    props.lstActive = {"=" + item, item};
    Save();
    const std::string ini = Ini(), list = ReadFileString(dir / kMailingListFileName),
                      active = ReadFileString(dir / kActiveMailersFileName);
    Save();
    EXPECT_EQ(Ini(), ini);
    EXPECT_EQ(ReadFileString(dir / kMailingListFileName), list);
    EXPECT_EQ(ReadFileString(dir / kActiveMailersFileName), active);
    // A reload in between changes nothing either.
    Load();
    Save();
    EXPECT_EQ(ReadFileString(dir / kMailingListFileName), list);
    EXPECT_EQ(list, "a@example.org\r\nb@example.org\r\n c@example.org\r\n");
    EXPECT_NE(ini.find("RecentPage=3\r\n"), std::string::npos) << ini;
}

TEST_F(Settings, ConflictMarksAreNeverStored) {
    const std::string blanks(200, ' ');
    props.lstActive = {"=Mailer A" + blanks + "same.ini", "Mailer B" + blanks + "same.ini", "==Odd" + blanks + "x.ini",
                       "Mailer=C" + blanks + "c.ini"};
    Save();
    const std::vector<std::string> unmarked = {"Mailer A" + blanks + "same.ini", "Mailer B" + blanks + "same.ini",
                                               "=Odd" + blanks + "x.ini", "Mailer=C" + blanks + "c.ini"};
    EXPECT_EQ(props.lstActive, unmarked);  // gone from the list too, until the next refresh marks again
    EXPECT_EQ(ReadListFile(dir / kActiveMailersFileName), unmarked);
    EXPECT_EQ(ReadFileString(dir / kActiveMailersFileName).substr(0, 10), "Mailer A  ");
}

TEST_F(Settings, MailingListLoadsLineByLine) {
    props.lstMailingListAddress = {"stale"};
    props.mailingListItemIndex = 0;
    WriteFileStringOrThrow(dir / kMailingListFileName, " lead@example.org\r\ndup@x\r\ndup@x\r\n");
    Load();
    EXPECT_EQ(props.lstMailingListAddress, (std::vector<std::string>{" lead@example.org", "dup@x", "dup@x"}));
    EXPECT_EQ(props.mailingListItemIndex, -1);
    DeleteFileIfPresent(dir / kMailingListFileName);
    Load();
    EXPECT_TRUE(props.lstMailingListAddress.empty());
}

TEST_F(Settings, TipSettingsAreStoredAloneAndTickTheBox) {
    for (bool enabled : {false, true}) {
        SCOPED_TRACE(enabled);
        profile = fakes::FakeProfile();
        props.TipNumber = 12;
        props.TipEnabled = enabled;
        props.chkShowTips = !enabled;
        props.RecentPage = 4;
        SaveTipSettings(Ports());
        EXPECT_EQ(Ini(), std::string("[General]\r\nTipNumber=12\r\nTipEnabled=") + (enabled ? "1" : "0") + "\r\n");
        EXPECT_EQ(props.chkShowTips, enabled);
    }
}

}  // namespace
}  // namespace v5
