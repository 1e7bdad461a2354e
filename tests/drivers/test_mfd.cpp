// The mail form data file: reading, writing, and the bytes drivers see.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "base/diagnostics.h"
#include "base/diagnostics_fixture.h"
#include "base/file_routines.h"
#include "base/shell_state.h"
#include "base/strings.h"
#include "drivers/mfd.h"
#include "drivers/mfd_reference.h"
#include "fakes/fake_shell.h"
#include "temp_dir.h"

namespace v5 {

// Readable failure messages: every field, with control characters made visible.
static std::string Visible(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c < 32 || c > 126) out += "\\x" + std::string(1, "0123456789abcdef"[c >> 4]) + "0123456789abcdef"[c & 15];
        else out += static_cast<char>(c);
    }
    return out.size() > 200 ? out.substr(0, 200) + "..." : out;
}

void PrintTo(const TMFDData& r, std::ostream* os) {
    *os << "{ProtocolVersion=" << r.ProtocolVersion << " Information='" << Visible(r.Information)
        << "' Wtype=" << r.Wtype << " Title='" << Visible(r.Title) << "' Short='" << Visible(r.Short)
        << "' To='" << Visible(r.To) << "'/" << r.HasTo << " Cc='" << Visible(r.Cc) << "'/" << r.HasCc
        << " Bcc='" << Visible(r.Bcc) << "'/" << r.HasBcc << " Attachment='" << Visible(r.Attachment)
        << "'/" << r.HasAttachment << " Subject='" << Visible(r.Subject) << "'/" << r.HasSubject
        << " Body='" << Visible(r.Body) << "'/" << r.HasBody << " Command=" << r.Command
        << " Lacking=" << r.Lacking << " WrapColumn=" << r.WrapColumn << " DefaultMailDomain='"
        << Visible(r.DefaultMailDomain) << "' MfdState='" << Visible(r.MfdState) << "'}";
}

namespace {

using Expect = std::function<void(TMFDData&)>;

// A literal with its NUL bytes kept.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

TMFDData Cleared() {
    TMFDData r;
    r.Wtype = 99;
    r.To = "stale";
    r.HasBody = true;
    ClearMFDData(r);
    return r;
}

TMFDData With(const Expect& change) {
    TMFDData r = Cleared();
    change(r);
    return r;
}

TEST(StrToIntOrZero, ReadsTrimmedDecimalWholeNumbersAndGivesZeroForAnythingElse) {
    struct Case {
        std::string text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"0", 0},
        {"7", 7},
        {"-12", -12},
        {"+12", 12},
        {"007", 7},
        {"  3  ", 3},
        {std::string("\t\r\n\x01 42 \x1f\r"), 42},
        {std::string("\0" "5", 2), 5},  // NUL is a control character and is trimmed
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        // Beyond 32 bits the text is no 32-bit whole number: 0, not a wrapped value.
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999", 0},
        {"", 0},
        {"   ", 0},
        {"-", 0},
        {"+", 0},
        {"+-1", 0},
        {"-+1", 0},
        {"--1", 0},
        {"++1", 0},
        {"1 2", 0},
        {"12abc", 0},
        {"abc", 0},
        {"0x10", 0},
        {"$10", 0},
        {"1.5", 0},
        {"1e3", 0},
        {"- 1", 0},
        {"\xA0" "1", 0},  // code 160 is above 32: not trimmed
    };
    for (const Case& c : cases) EXPECT_EQ(StrToIntOrZero(c.text), c.expected) << "'" << Visible(c.text) << "'";
}

TEST(GetMFDValue, FindsTheFirstLineStartingWithTheKeyInAnyCase) {
    struct Case {
        std::string key;
        std::string header;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"To:", "\nTo: a@b\r\n", "a@b"},
        {"To:", "\nTO:a@b\r\n", "a@b"},
        {"to:", "\nTo: a@b\r\n", "a@b"},
        {"To:", "To: a@b\r\n", ""},  // only right after an LF
        {"To:", "\n To: a@b\r\n", ""},
        {"To:", "\nX-To: a@b\r\n", ""},
        {"To:", "\nTo : a@b\r\n", ""},
        {"To:", "\nTo: first\r\nTo: second\r\n", "first"},
        {"To:", "\nTo: no line end", ""},
        {"To:", "\nTo: up to\nthe next CR\r\n", "up to\nthe next CR"},
        {"To:", "\nTo: \t padded \t\r\n", "padded"},
        {"To:", "\nTo:\r\n", ""},
        {"To:", "\nTo: a\rb\r\n", "a"},
        {"MFD-State:", "\nmfd-state: Ready\r\n", "Ready"},
        {"Subject:", "\nSubject: \xC4\xE9 caf\xE9\r\n", "\xC4\xE9 caf\xE9"},  // 8-bit text, not folded
        {"To:", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetMFDValue(c.key, c.header), c.expected) << c.key << " in '" << Visible(c.header) << "'";
}

struct ParseCase {
    const char* name;
    std::string text;
    Expect expected;
};

TEST(ParseMFDText, ReadsEachFieldAsTheFileDefinesIt) {
    const std::string CRLF = "\r\n";
    const std::vector<ParseCase> cases = {
        {"empty text", "", [](TMFDData&) {}},
        {"every key",
         "MFD-Protocol-Version: 2\r\nWrap-Column: 72\r\nWtype: 1\r\nInformation: Mailer X driver\r\n"
         "Title: Compose\r\nShort: - Message\r\nTo: a@b\r\nCc: c@d\r\nBcc: e@f\r\nSubject: Hi\r\n"
         "Attachment: x.zip\r\nCommand: 5\r\nLacking: -3\r\nMFD-State: s\r\nDefault-Mail-Domain: dom\r\n"
         "\r\nHello",
         [](TMFDData& r) {
             r.ProtocolVersion = 2, r.WrapColumn = 72, r.Wtype = 1, r.Information = "Mailer X driver";
             r.Title = "Compose", r.Short = "- Message", r.To = "a@b", r.HasTo = true, r.Cc = "c@d";
             r.HasCc = true, r.Bcc = "e@f", r.HasBcc = true, r.Subject = "Hi", r.HasSubject = true;
             r.Attachment = "x.zip", r.HasAttachment = true, r.Command = 5, r.Lacking = -3;
             r.MfdState = "s", r.DefaultMailDomain = "dom", r.Body = "Hello", r.HasBody = true;
         }},
        {"Wtype 3 in any case and with blanks reads as 8", "wTYPE:   3  \r\n",
         [](TMFDData& r) { r.Wtype = 8; }},
        {"Wtype 3 without blank", "Wtype:3\r\n", [](TMFDData& r) { r.Wtype = 8; }},
        {"Wtype 7 stays 7", "Wtype: 7\r\n", [](TMFDData& r) { r.Wtype = 7; }},
        {"Wtype 11 stays 11", "Wtype: 11\r\n", [](TMFDData& r) { r.Wtype = 11; }},
        {"Wtype not a number", "Wtype: eight\r\n", [](TMFDData&) {}},
        {"Wtype too large for 32 bits", "Wtype: 4294967299\r\n", [](TMFDData&) {}},
        {"To beginning with a blank", " To: a@b\r\n", [](TMFDData&) {}},
        {"key that merely ends in To", "X-To: a@b\r\nReply-To: c@d\r\n", [](TMFDData&) {}},
        {"lower-case to without blank", "to:a@b\r\n", [](TMFDData& r) { r.To = "a@b", r.HasTo = true; }},
        {"Bcc alone", "Bcc: e@f\r\n", [](TMFDData& r) { r.Bcc = "e@f", r.HasBcc = true; }},
        {"first of two To lines wins", "To: first\r\nTo: second\r\n",
         [](TMFDData& r) { r.To = "first", r.HasTo = true; }},
        {"To inside the body is not a header", "Subject: s\r\n\r\nTo: x@y\r\n",
         [](TMFDData& r) {
             r.Subject = "s", r.HasSubject = true, r.Body = "To: x@y\r\n", r.HasBody = true;
         }},
        {"no empty line: no body", "To: a@b\r\nsome text\r\nmore",
         [](TMFDData& r) { r.To = "a@b", r.HasTo = true; }},
        {"last header line without CR LF reads empty", "To: a@b\r\nCc: c@d",
         [](TMFDData& r) { r.To = "a@b", r.HasTo = true; }},
        {"last header line ending in CR alone", "Cc: c@d\r",
         [](TMFDData& r) { r.Cc = "c@d", r.HasCc = true; }},
        {"body with empty lines stays whole", "To: a\r\n\r\none\r\n\r\n\r\ntwo\r\n",
         [](TMFDData& r) { r.To = "a", r.HasTo = true, r.Body = "one\r\n\r\n\r\ntwo\r\n", r.HasBody = true; }},
        {"only the empty line and text", "\r\n\r\nJust text",
         [](TMFDData& r) { r.Body = "Just text", r.HasBody = true; }},
        {"empty line and nothing after", "To: a\r\n\r\n", [](TMFDData& r) { r.To = "a", r.HasTo = true; }},
        {"blank-only values are absent", "To:    \r\nCc:\t\r\nInformation: \r\n", [](TMFDData&) {}},
        {"values are trimmed of control characters", std::string("Subject: \x01\x02 Hi \x1f\r\n"),
         [](TMFDData& r) { r.Subject = "Hi", r.HasSubject = true; }},
        {"lines ending in LF only run to the next CR",
         "To: a@b\nCc: c@d\nSubject: s\r\n",
         [](TMFDData& r) {
             r.To = "a@b\nCc: c@d\nSubject: s", r.HasTo = true;
             r.Cc = "c@d\nSubject: s", r.HasCc = true;
             r.Subject = "s", r.HasSubject = true;
         }},
        {"LF-only file has neither values nor body", "To: a@b\nWtype: 1\n\nBody\n", [](TMFDData&) {}},
        {"CR-only file: only the first line is a line", "Wtype: 1\rTo: a@b\r\rBody\r",
         [](TMFDData& r) { r.Wtype = 1; }},
        {"NUL bytes are ordinary characters",
         Bytes("To: a\0b\r\nCc\0: x\r\n\r\nbo\0dy"),
         [](TMFDData& r) {
             r.To = std::string("a\0b", 3), r.HasTo = true, r.Body = std::string("bo\0dy", 5), r.HasBody = true;
         }},
        {"unknown keys and key order do not matter",
         "X-Mailer: m\r\nSubject: s\r\nMFD-Protocol-Version: 1\r\nFoo: bar\r\n",
         [](TMFDData& r) { r.Subject = "s", r.HasSubject = true, r.ProtocolVersion = 1; }},
        {"key needs its colon right after it", "To : a@b\r\nWtype 1\r\n", [](TMFDData&) {}},
        {"similar keys are told apart", "MFD-State: st\r\nMFD-Protocol-Version: 4\r\nCommand: 1\r\nCc: c\r\n",
         [](TMFDData& r) { r.MfdState = "st", r.ProtocolVersion = 4, r.Command = 1, r.Cc = "c", r.HasCc = true; }},
        {"negative and signed numbers", "Wrap-Column: -1\r\nLacking: +2\r\nCommand: - 3\r\n",
         [](TMFDData& r) { r.WrapColumn = -1, r.Lacking = 2; }},
        {"8-bit text kept as it is", "Subject: \xE8\xE9\xEA\xFF\r\n",
         [](TMFDData& r) { r.Subject = "\xE8\xE9\xEA\xFF", r.HasSubject = true; }},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TMFDData expected = With(c.expected);
        EXPECT_EQ(ParseMFDText(c.text), expected);
        // The plain step-by-step reading agrees on every case.
        EXPECT_EQ(testing::ReferenceParse(c.text), expected);
    }
}

struct FormatCase {
    const char* name;
    Expect record;
    std::string expected;
};

TEST(FormatMFDText, WritesTheLinesInTheirOrderAndUnderTheirConditions) {
    const std::string fixedHead = "MFD-Protocol-Version: 0\r\nWrap-Column: 0\r\nWtype: 0\r\nInformation: \r\n";
    const std::string fixedTail = "Command: 0\r\nLacking: 0\r\nMFD-State: \r\nDefault-Mail-Domain: \r\n";
    const std::vector<FormatCase> cases = {
        {"cleared record", [](TMFDData&) {}, fixedHead + fixedTail},
        {"write back of a result",
         [](TMFDData& r) { r.Body = "-----BEGIN PGP MESSAGE-----\r\nx\r\n", r.HasBody = true; },
         "MFD-Protocol-Version: 0\r\nWrap-Column: 0\r\nWtype: 0\r\nInformation: \r\nCommand: 0\r\n"
         "Lacking: 0\r\nMFD-State: \r\nDefault-Mail-Domain: \r\n\r\n-----BEGIN PGP MESSAGE-----\r\nx\r\n"},
        {"every line",
         [](TMFDData& r) {
             r.ProtocolVersion = 1, r.WrapColumn = 76, r.Wtype = 2, r.Information = "Info";
             r.Title = "T", r.Short = "S", r.To = "to", r.HasTo = true, r.Cc = "cc", r.HasCc = true;
             r.Bcc = "bcc", r.HasBcc = true, r.Subject = "subj", r.HasSubject = true;
             r.Attachment = "att", r.HasAttachment = true, r.Command = 3, r.Lacking = 4;
             r.MfdState = "state", r.DefaultMailDomain = "dom", r.Body = "body", r.HasBody = true;
         },
         "MFD-Protocol-Version: 1\r\nWrap-Column: 76\r\nWtype: 2\r\nInformation: Info\r\nTitle: T\r\n"
         "Short: S\r\nTo: to\r\nCc: cc\r\nBcc: bcc\r\nSubject: subj\r\nAttachment: att\r\nCommand: 3\r\n"
         "Lacking: 4\r\nMFD-State: state\r\nDefault-Mail-Domain: dom\r\n\r\nbody"},
        {"texts without their flags are not written",
         [](TMFDData& r) {
             r.To = "to", r.Cc = "cc", r.Bcc = "bcc", r.Subject = "s", r.Attachment = "a", r.Body = "b";
         },
         fixedHead + fixedTail},
        {"flags with empty texts write empty lines",
         [](TMFDData& r) { r.HasTo = true, r.HasAttachment = true; },
         fixedHead + "To: \r\nAttachment: \r\n" + fixedTail},
        {"HasBody with an empty body leaves a trailing empty line", [](TMFDData& r) { r.HasBody = true; },
         fixedHead + fixedTail + "\r\n"},
        {"negative numbers carry a minus sign",
         [](TMFDData& r) { r.ProtocolVersion = -1, r.WrapColumn = INT32_MIN, r.Wtype = -8, r.Command = -2, r.Lacking = INT32_MAX; },
         "MFD-Protocol-Version: -1\r\nWrap-Column: -2147483648\r\nWtype: -8\r\nInformation: \r\n"
         "Command: -2\r\nLacking: 2147483647\r\nMFD-State: \r\nDefault-Mail-Domain: \r\n"},
        {"CR and LF in header values become blanks; the body is unchanged",
         [](TMFDData& r) {
             r.Information = "line\r\nTo: forged@x", r.Subject = "a\rb\nc", r.HasSubject = true;
             r.Title = "\r\n", r.MfdState = "\n\n", r.Body = "keeps\r\nTo: x\r\n\r\n", r.HasBody = true;
         },
         "MFD-Protocol-Version: 0\r\nWrap-Column: 0\r\nWtype: 0\r\nInformation: line  To: forged@x\r\n"
         "Title:   \r\nSubject: a b c\r\nCommand: 0\r\nLacking: 0\r\nMFD-State:   \r\n"
         "Default-Mail-Domain: \r\n\r\nkeeps\r\nTo: x\r\n\r\n"},
        {"other bytes are written as they are",
         [](TMFDData& r) { r.Information = std::string("a\0\t\xFF", 4); },
         "MFD-Protocol-Version: 0\r\nWrap-Column: 0\r\nWtype: 0\r\nInformation: " + std::string("a\0\t\xFF", 4) +
             "\r\n" + fixedTail},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = FormatMFDText(With(c.record));
        EXPECT_EQ(text, c.expected) << Visible(text) << "\n" << Visible(c.expected);
    }
}

struct RoundTripCase {
    const char* name;
    Expect written;
    Expect readBack;  // applied to a copy of what was written
};

TEST(MFDRoundTrip, WritingThenReadingGivesBackWhatWasWritten) {
    const Expect full = [](TMFDData& r) {
        r.ProtocolVersion = 3, r.WrapColumn = -1, r.Wtype = 9, r.Information = "Info";
        r.Title = "T", r.Short = ">None<", r.To = "to", r.HasTo = true, r.Cc = "cc", r.HasCc = true;
        r.Bcc = "bcc", r.HasBcc = true, r.Subject = "subj", r.HasSubject = true;
        r.Attachment = "att", r.HasAttachment = true, r.Command = INT32_MIN, r.Lacking = INT32_MAX;
        r.MfdState = "state", r.DefaultMailDomain = "dom", r.Body = "body\r\n\r\nmore\r\n", r.HasBody = true;
    };
    const std::vector<RoundTripCase> cases = {
        {"every field", full, [](TMFDData&) {}},
        {"cleared record", [](TMFDData&) {}, [](TMFDData&) {}},
        {"empty texts read back absent",
         [](TMFDData& r) { r.HasTo = r.HasCc = r.HasBcc = r.HasSubject = r.HasAttachment = r.HasBody = true; },
         [](TMFDData& r) { r.HasTo = r.HasCc = r.HasBcc = r.HasSubject = r.HasAttachment = r.HasBody = false; }},
        {"Wtype 3 reads back as 8", [](TMFDData& r) { r.Wtype = 3; }, [](TMFDData& r) { r.Wtype = 8; }},
        {"texts read back trimmed, the body exactly",
         [](TMFDData& r) {
             r.Information = "  Info\t", r.To = " to ", r.HasTo = true, r.Body = "  body  \r\n", r.HasBody = true;
         },
         [](TMFDData& r) { r.Information = "Info", r.To = "to"; }},
        {"forging CR LF in a value stays inside its line",
         [](TMFDData& r) { r.Subject = "x\r\nTo: evil@x\r\n\r\nforged body", r.HasSubject = true; },
         [](TMFDData& r) { r.Subject = "x  To: evil@x    forged body"; }},
        {"body that looks like a header", [](TMFDData& r) { r.Body = "To: x\r\nWtype: 3\r\n", r.HasBody = true; },
         [](TMFDData&) {}},
        {"body starting with line ends",
         [](TMFDData& r) { r.Body = "\r\n\r\nafter", r.HasBody = true; }, [](TMFDData&) {}},
        {"body without its flag is lost", [](TMFDData& r) { r.Body = "b"; }, [](TMFDData& r) { r.Body.clear(); }},
        {"8-bit and NUL bytes",
         [](TMFDData& r) {
             r.Subject = std::string("\xE9t\xE9\0x", 5), r.HasSubject = true, r.Body = std::string("\0\xFF", 2);
             r.HasBody = true;
         },
         [](TMFDData&) {}},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(c.name);
        const TMFDData written = With(c.written);
        TMFDData expected = written;
        c.readBack(expected);
        EXPECT_EQ(ParseMFDText(FormatMFDText(written)), expected);
    }
}

class MFDFile : public ::testing::Test, protected testing::DiagnosticsFixture {};

TEST_F(MFDFile, MissingFileReadsAsEmptyRecord) {
    EXPECT_EQ(ReadMFDFile(dir / "tmpmfd.tmp"), Cleared());
}

TEST_F(MFDFile, WriteReplacesTheWholeFileAndReadsBack) {
    const std::string path = dir / "tmpmfd.tmp";
    WriteFileStringOrThrow(path, std::string(5000, 'x'));
    TMFDData record = Cleared();
    record.To = "a@b", record.HasTo = true, record.Body = "text\r\n", record.HasBody = true;
    WriteMFDFile(record, path, diagnostics);
    EXPECT_EQ(ReadFileString(path), FormatMFDText(record));
    EXPECT_EQ(ReadMFDFile(path), record);
    EXPECT_TRUE(boxes.shown.empty());
}

// The file is read in pieces of 64 KB: an empty line that lies across the end of a piece, or a
// header longer than a piece, reads as the whole text would.
TEST_F(MFDFile, ReadingInPiecesGivesWhatTheWholeTextGives) {
    const std::string path = dir / "tmpmfd.tmp";
    const std::size_t piece = 64 * 1024;
    for (std::size_t blankAt : {piece - 3, piece - 1, piece, piece + 1, piece + 2, 3 * piece + 1}) {
        SCOPED_TRACE(blankAt);
        std::string text = "Wtype: 8\r\nTo: a@b\r\nX-Filler: ";
        text += std::string(blankAt - text.size() - 2, 'f') + "\r\n\r\nthe body\r\n\r\nand more\r\n";
        text += std::string(piece, 'b');
        ASSERT_EQ(text.find("\r\n\r\n"), blankAt - 2);
        WriteFileStringOrThrow(path, text);
        EXPECT_EQ(ReadMFDFile(path), ParseMFDText(text));
    }
    WriteFileStringOrThrow(path, "To: a@b\r\n" + std::string(2 * piece, 'h'));  // no empty line at all
    EXPECT_EQ(ReadMFDFile(path), ParseMFDText(ReadFileString(path)));
}

TEST_F(MFDFile, FailedWriteIsReportedAndTheCallerGoesOn) {
    const std::string path = dir / "no-such-folder/tmpmfd.tmp";
    EXPECT_NO_THROW(WriteMFDFile(Cleared(), path, diagnostics));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text.rfind("Error in WriteFileString:" + path + ".0 with ", 0), 0u)
        << boxes.shown[0].text;
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_FALSE(FileExists(path));
}

// Hostile and odd files: nothing crashes, and each gives what the format defines.
TEST(ParseMFDTextBadInput, LargeAndMalformedFilesParseAsDefined) {
    {
        SCOPED_TRACE("100,000 header lines, the keys at the very end");
        std::string text;
        for (int i = 0; i < 100000; ++i) text += "X-Line-" + std::to_string(i) + ": t" + "\r\n";
        text += "tO: last@x\r\nWtype: 3\r\n\r\nbody";
        const TMFDData r = ParseMFDText(text);
        EXPECT_EQ(r, testing::ReferenceParse(text));
        EXPECT_EQ(r.To, "last@x");
        EXPECT_EQ(r.Wtype, 8);
        EXPECT_EQ(r.Body, "body");
    }
    {
        SCOPED_TRACE("100,000 lines of bare LFs and CRs");
        std::string text = "To: a\n";
        for (int i = 0; i < 100000; ++i) text += (i % 3 == 0) ? "\r" : "\n";
        EXPECT_EQ(ParseMFDText(text), testing::ReferenceParse(text));
    }
    {
        SCOPED_TRACE("64 MB body");
        std::string text = "Wtype: 1\r\n\r\n";
        text.append(64u << 20, 'A');
        const TMFDData r = ParseMFDText(text);
        EXPECT_EQ(r.Wtype, 1);
        EXPECT_EQ(r.Body.size(), 64u << 20);
        EXPECT_TRUE(r.HasBody);
    }
    {
        SCOPED_TRACE("64 MB with no CR at all");
        std::string text(64u << 20, 'x');
        for (std::size_t i = 0; i < text.size(); i += 64) text[i] = '\n';
        text.replace(0, 10, "To: a@b\nC:");
        EXPECT_EQ(ParseMFDText(text), Cleared());
    }
    {
        SCOPED_TRACE("64 MB header without an empty line, the CR at the far end");
        std::string text = "Subject: s\n";
        text.append(64u << 20, 'y');
        text += "\r\nTo: t\r\n";
        const TMFDData r = ParseMFDText(text);
        EXPECT_EQ(r, testing::ReferenceParse(text));
        EXPECT_EQ(r.Subject.size(), 2 + (64u << 20));
        EXPECT_EQ(r.To, "t");
        EXPECT_FALSE(r.HasBody);
    }
}

// Texts built from the format's own pieces in random order, so keys, line ends and empty lines
// meet in every combination; the fast reading must agree with the plain one, and writing what was
// read then reading it again gives the same record (CR and LF in header values turned to blanks).
TEST(ParseMFDTextBadInput, RandomTextsAgreeWithThePlainReadingAndSurviveRewriting) {
    const std::vector<std::string> pieces = {
        "\r", "\n", "\r\n", "\r\n\r\n", " ", "\t", ":", "3", "-7", "x", "\xFF", std::string(1, '\0'),
        "To:", "tO: ", "Cc:", "Bcc: ", "X-To:", "Wtype:", "WTYPE: ", "Subject:", "MFD-State:",
        "MFD-Protocol-Version: ", "Wrap-Column:", "Information: ", "Title:", "Short:", "Attachment:",
        "Command:", "Lacking:", "Default-Mail-Domain:", "\nTo: v\r\n",
    };
    std::mt19937 random(20261208);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 60);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        const int n = length(random);
        for (int j = 0; j < n; ++j) text += (i % 4 == 3) ? std::string(1, static_cast<char>(byte(random))) : pieces[pick(random)];
        SCOPED_TRACE(Visible(text));
        const TMFDData parsed = ParseMFDText(text);
        ASSERT_EQ(parsed, testing::ReferenceParse(text));
        ASSERT_EQ(ParseMFDText(FormatMFDText(parsed)), testing::AsWrittenAndRead(parsed));
    }
}

}  // namespace
}  // namespace v5
