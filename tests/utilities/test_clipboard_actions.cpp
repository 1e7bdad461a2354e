// The tools icon's clipboard actions over fakes: quoting, printing, saving.
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "base/diagnostics_fixture.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_printer.h"
#include "utilities/clipboard_actions.h"

namespace v5 {
namespace {

TEST(Quoting, QuotedFormOfTheClipboardText) {
    struct Case {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"abc", "> abc"},
        {"first\r\nsecond\r\n", "> first\r\n> second"},
        {"a\r\n\r\nb", "> a\r\n> \r\n> b"},
        {"   one\r\n  two", "> one\r\n>   two"},
        {"a\nb", "> a\nb"},
        {"> a", "> > a"},
        {"", "> "},
        {" \t\r\n\x01", "> "},
        // A byte 0xFF of the user's own ("\xFF" in Western code pages, a Cyrillic letter in
        // another) stays what it was.
        {"x \xFF y", "> x \xFF y"},
        {"\xFF\r\n\xFF", "> \xFF\r\n> \xFF"},
        {"a\r\r\nb", "> a\r\r\n> b"},
    };
    for (const Case& c : cases) EXPECT_EQ(QuoteText(c.text), c.quoted) << c.text;
}

class FakeClipboardWriter : public ClipboardWriter {
public:
    explicit FakeClipboardWriter(fakes::FakeClipboard& clipboard) : clipboard_(clipboard) {}
    int writes = 0;
    void setText(const std::string& text) override {
        ++writes;
        clipboard_.content = text;
    }

private:
    fakes::FakeClipboard& clipboard_;
};

class FakeSaveDialog : public SaveDialog {
public:
    std::vector<SaveDialogOptions> shown;
    std::optional<std::string> answer;
    std::function<void()> whileOpen;
    std::optional<std::string> execute(const SaveDialogOptions& options) override {
        shown.push_back(options);
        if (whileOpen) whileOpen();
        return answer;
    }
};

struct ClipboardActionsTest : ::testing::Test, testing::DiagnosticsFixture {
    fakes::FakeClipboard clipboard;
    FakeClipboardWriter writer{clipboard};
    FakeSaveDialog dialog;
    fakes::FakeSleeper sleeper;
    fakes::FakePrinter printer;
    TPrintText PrintText1{printer, clock};
    ClipboardActions actions{{clipboard, writer, dialog, sleeper, diagnostics, PrintText1}};

    ClipboardActionsTest() { ConfigurePrintText1(PrintText1); }
};

TEST_F(ClipboardActionsTest, PrintIsOneJobOfTheClipboardLines) {
    clipboard.content = "Dear all,\r\n\r\nthe meeting\tmoves.\r\n";
    actions.popPrintClipboardClick();
    EXPECT_EQ(printer.texts(), (std::vector<std::string>{"Dear all,", "", "the meeting\tmoves."}));
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(printer.drawn[0].font, (TFont{"Arial", 10, false, 0}));

    // An empty clipboard prints one empty line on one page.
    printer.drawn.clear();
    printer.calls.clear();
    clipboard.content.clear();
    actions.popPrintClipboardClick();
    EXPECT_EQ(printer.texts(), std::vector<std::string>{""});
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin", "end"}));

    // Without a printer the printer layer's error reaches the caller, and nothing is left open.
    printer.noPrinter = true;
    EXPECT_THROW(
        {
            try {
                actions.popPrintClipboardClick();
            } catch (const PrinterError& e) {
                EXPECT_STREQ(e.what(), kNoDefaultPrinter);
                throw;
            }
        },
        PrinterError);
    EXPECT_FALSE(PrintText1.Printing());
}

TEST_F(ClipboardActionsTest, QuoteReplacesTheClipboardTextThenPauses) {
    clipboard.content = "  hello\r\nworld\r\n";
    actions.popQuoteClipboardClick();
    EXPECT_EQ(clipboard.content, "> hello\r\n> world");
    EXPECT_EQ(writer.writes, 1);
    EXPECT_EQ(sleeper.pauses, std::vector<unsigned>{333});
}

TEST_F(ClipboardActionsTest, SaveWritesTheClipboardAsItIsWhenTheDialogCloses) {
    clipboard.content = "before";
    dialog.whileOpen = [&] { clipboard.content = "after\r\n\xFF"; };

    actions.popSaveClipboardClick();  // cancelled
    ASSERT_EQ(dialog.shown.size(), 1u);
    const SaveDialogOptions& o = dialog.shown[0];
    EXPECT_EQ(o.title, "Save Message");
    EXPECT_EQ(o.filter, "Text files (*.txt)|*.txt|Any files|*.*");
    EXPECT_EQ(o.filterIndex, 1);
    EXPECT_EQ(o.defaultExtension, "txt");
    EXPECT_TRUE(o.overwritePrompt && o.hideReadOnly && o.pathMustExist);
    EXPECT_EQ(clipboard.reads, 0);

    dialog.answer = dir / "letter.txt";
    WriteFileStringOrThrow(*dialog.answer, "an older and longer content");
    actions.popSaveClipboardClick();
    EXPECT_EQ(ReadFileString(dir / "letter.txt"), "after\r\n\xFF");
    EXPECT_TRUE(boxes.shown.empty());

    // A file that cannot be written is reported by the file routine; the clipboard keeps its text.
    dialog.answer = dir / "missing/letter.txt";
    actions.popSaveClipboardClick();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption, "Warning");
    EXPECT_NE(log().find("Error in WriteFileString:" + dir / "missing/letter.txt" + ".0 with "), std::string::npos);
    EXPECT_EQ(clipboard.content, "after\r\n\xFF");
}

}  // namespace
}  // namespace v5
