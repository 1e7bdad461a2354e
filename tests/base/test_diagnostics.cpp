// The diagnostic log, its trimming, the error reports and the application message box.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "diagnostics_fixture.h"
#include "fakes/fake_shell.h"
#include "platform/errors.h"

namespace v5 {
namespace {

struct DiagnosticsTest : ::testing::Test, testing::DiagnosticsFixture {};

TEST_F(DiagnosticsTest, EntriesAreStampedAppendedAndCreateTheLog) {
    EXPECT_FALSE(FileExists(dir / "DebugLog.Txt"));
    diagnostics.WriteDebugLog("Log trimmed");
    clock.time = "14:03:10";
    diagnostics.WriteDebugLog("\r\nVostrel 5 V5.1.1.27\r\nInstalled in: C:\\V5\\");
    EXPECT_EQ(log(),
              "07/12/2026 14:03:09: Log trimmed\r\n"
              "07/12/2026 14:03:10: \r\nVostrel 5 V5.1.1.27\r\nInstalled in: C:\\V5\\\r\n");
}

TEST_F(DiagnosticsTest, TrimKeepsTheLastLimitPlusOneCharactersThenDropsTheFirstLine) {
    struct Case {
        const char* name;
        std::string content;
        std::string expected;
    };
    const std::string body(19990, 'x');
    const std::string tenA = "aaaaaaaaa\n";  // 10 characters
    auto tail = [](const std::string& s, std::size_t n) { return s.substr(s.size() - n); };
    const std::string atLimit = tenA + body;              // 20000
    const std::string overByOne = "b" + tenA + body;      // 20001
    const std::string longer = std::string(500, 'c') + "\n" + tenA + body + "zz";
    const std::string longerKept = tail(longer, 20001);   // starts inside the a-line
    const Case cases[] = {
        {"at the limit", atLimit, body},
        {"one over", overByOne, body},
        {"longer", longer, body + "zz"},
        {"one line ending in its only line feed", "only line\r\n", "only line\r\n"},
        {"two lines", "first\r\nsecond\r\n", "second\r\n"},
        {"no line feed", "no line end", "no line end"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        WriteFileStringOrThrow(dir / "trim.txt", c.content);
        diagnostics.TrimFileToSizeCosmetic(dir / "trim.txt", kDebugLogLimit);
        EXPECT_EQ(ReadFileString(dir / "trim.txt"), c.expected) << c.name;
    }
    // The first step alone keeps 20001 characters of a longer file.
    WriteFileStringOrThrow(dir / "trim.txt", longer);
    diagnostics.TrimFileToSize(dir / "trim.txt", kDebugLogLimit);
    EXPECT_EQ(ReadFileString(dir / "trim.txt"), longerKept);
    EXPECT_EQ(longerKept, "aaaaaaaa\n" + body + "zz");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(DiagnosticsTest, TrimDebugLogLosesTheFirstLineAndLogsIt) {
    diagnostics.WriteDebugLog("one");
    diagnostics.WriteDebugLog("two");
    diagnostics.TrimDebugLog();
    EXPECT_EQ(log(), "07/12/2026 14:03:09: two\r\n07/12/2026 14:03:09: Log trimmed\r\n");
}

TEST_F(DiagnosticsTest, ReportsNameThePlaceTheTracePointAndTheMessage) {
    // Before any trace point is set the report says 0.
    EXPECT_EQ(diagnostics.FormatErrorReport("TfrmProps", "boom"), "Error in TfrmProps.0 with boom");
    state.TracePoint = 5504;
    diagnostics.AppException("TTaskIcon", AppError("Access denied"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Error in TTaskIcon.5504 with UH Access denied");
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(boxes.shown[0].style, kMbIconExclamation | kMbOk);
    EXPECT_EQ(log(),
              "07/12/2026 14:03:09: Error in TfrmProps.0 with boom\r\n"
              "07/12/2026 14:03:09: Error in TTaskIcon.5504 with UH Access denied\r\n");
    EXPECT_EQ(app.terminateCalls, 0);

    // The silent abort is never reported.
    diagnostics.AppException("TApplication", SilentAbort());
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(DiagnosticsTest, FatalReportRemovesTheRunningFlagAndEndsTheProgram) {
    WriteFileStringOrThrow(dir / "Running.Flg", "");
    state.TracePoint = 7001;
    diagnostics.ReportFatalError("PGP", "Cannot start PGPtray");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Error");
    EXPECT_EQ(boxes.shown[0].style, kMbIconHand | kMbOk);
    EXPECT_EQ(boxes.shown[0].text, "Error in PGP.7001 with Cannot start PGPtray");
    EXPECT_FALSE(FileExists(dir / "Running.Flg"));
    EXPECT_EQ(app.terminateCalls, 1);
}

// A message box that runs a check while it is up, as the user would see the world then.
class ObservedBoxes : public MessageBoxes {
public:
    std::function<int(const std::string& text)> onShow;
    int show(const std::string& text, const std::string&, unsigned) override { return onShow(text); }
};

TEST_F(DiagnosticsTest, ReportIsLoggedBeforeItsBoxAndTheFatalEndComesAfterTheBox) {
    ObservedBoxes observed;
    Diagnostics reporting{state, clock, observed, app};
    WriteFileStringOrThrow(dir / "Running.Flg", "");
    state.TracePoint = 3201;
    struct Seen {
        std::string log;
        bool runningFlag;
        int terminateCalls;
    };
    std::vector<Seen> seen;
    observed.onShow = [&](const std::string&) {
        seen.push_back({log(), FileExists(dir / "Running.Flg"), app.terminateCalls});
        return kIdOk;
    };

    reporting.ReportError("TTimer", "first");
    reporting.ReportFatalError("PGP", "second");

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].log, "07/12/2026 14:03:09: Error in TTimer.3201 with first\r\n");
    EXPECT_EQ(seen[1].log.substr(seen[0].log.size()), "07/12/2026 14:03:09: Error in PGP.3201 with second\r\n");
    // The user reads the fatal report before anything ends: a quit request posted before the
    // box would close the box at once.
    EXPECT_TRUE(seen[1].runningFlag);
    EXPECT_EQ(seen[1].terminateCalls, 0);
    EXPECT_FALSE(FileExists(dir / "Running.Flg"));
    EXPECT_EQ(app.terminateCalls, 1);
}

TEST_F(DiagnosticsTest, TheExceptionHandlerLetsNothingEscapeEvenWhenItsReportFails) {
    // The handler runs inside window procedures, where an escaping exception would cross the
    // platform's frames; a report that cannot even be shown must end there.
    ObservedBoxes failing;
    failing.onShow = [](const std::string&) -> int { throw std::bad_alloc(); };
    Diagnostics reporting{state, clock, failing, app};
    const std::function<void()> raisers[] = {
        [] { throw AppError("plain"); },
        [] { throw InOutError("disk"); },
        [] { throw 42; },
    };
    for (const auto& raise : raisers) {
        try {
            raise();
        } catch (...) {
            EXPECT_NO_THROW(reporting.AppExceptionInFlight("TfrmProps"));
        }
    }
    EXPECT_NO_THROW(reporting.AppException("TTaskIcon", AppError("direct")));
    // Each was still logged before its box failed.
    const std::string text = log();
    EXPECT_NE(text.find("Error in TfrmProps.0 with UH plain\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Error in TfrmProps.0 with UH disk\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Error in TfrmProps.0 with UH Unknown exception\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Error in TTaskIcon.0 with UH direct\r\n"), std::string::npos) << text;
}

TEST_F(DiagnosticsTest, AppMessageBoxAddsTheKindsIconToTheButtons) {
    const struct {
        TAppMessageKind kind;
        unsigned icon;
    } kinds[] = {{amWarning, 0x30}, {amError, 0x10}, {amInformation, 0x40}, {amQuestion, 0x20}, {amPlain, 0}};
    for (const auto& k : kinds) {
        boxes.answers = {kIdNo};
        EXPECT_EQ(diagnostics.AppMessageBox("Change?", k.kind, kMbYesNo), kIdNo);
        EXPECT_EQ(boxes.shown.back().style, k.icon + kMbYesNo);
        EXPECT_EQ(boxes.shown.back().caption, "Vostrel 5");
        EXPECT_EQ(boxes.shown.back().text, "Change?");
    }
}

TEST_F(DiagnosticsTest, AnUnwritableLogIsReportedOnceAndTheCallerGoesOn) {
    state.InstallDir = dir / "missing-folder/";
    // Entries and trims go on failing; none raises, and only the first is reported.
    EXPECT_NO_THROW(diagnostics.WriteDebugLog("x"));
    EXPECT_NO_THROW(diagnostics.TrimDebugLog());
    EXPECT_NO_THROW(diagnostics.WriteDebugLog("y"));
    // Other reports are still shown, though they cannot be logged.
    diagnostics.ReportError("TTimer", "other");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text.rfind("Error in WriteDebugLog:" + state.InstallDir + "DebugLog.Txt.0 with Cannot open ", 0),
              0u)
        << boxes.shown[0].text;
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_EQ(boxes.shown[1].text, "Error in TTimer.0 with other");
}

TEST_F(DiagnosticsTest, FileRoutinesReportTheirOwnErrorsAndReturn) {
    const std::string target = dir / "no-such-folder/file.txt";
    EXPECT_FALSE(diagnostics.WriteFileString(target, "text"));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("Error in WriteFileString:" + target + ".0 with ", 0), 0u)
        << boxes.shown[0].text;

    EXPECT_TRUE(diagnostics.WriteFileString(dir / "ok.txt", "exact\r\nbytes"));
    EXPECT_EQ(ReadFileString(dir / "ok.txt"), "exact\r\nbytes");

    // A missing file is created empty by the cosmetic trim, which writes its result back.
    diagnostics.TrimFileToSizeCosmetic(dir / "absent.txt", 10);
    EXPECT_TRUE(FileExists(dir / "absent.txt"));
    EXPECT_EQ(boxes.shown.size(), 1u);
}

}  // namespace
}  // namespace v5
