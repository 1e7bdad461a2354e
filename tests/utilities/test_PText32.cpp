// The text printer over a printer with fixed metrics: 600 pixels per inch, every character
// 50 pixels wide, text 10 pixels high per point.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "fakes/fake_printer.h"
#include "fakes/fake_shell.h"
#include "utilities/PText32.h"
#include "utilities/wrap_reference.h"

namespace v5 {
namespace {

struct PrintTextTest : ::testing::Test {
    fakes::FakePrinter printer;
    fakes::FakeClock clock;
    std::unique_ptr<TPrintText> pt = std::make_unique<TPrintText>(printer, clock);
    std::vector<std::string> overflows;

    PrintTextTest() {
        pt->OnLineOverflow = [this](TPrintText&, std::string text) { overflows.push_back(text); };
    }
    // Margins of one inch each side, leaving `printable` pixels across.
    void narrow(int printable) {
        printer.width = 1200 + printable;
        pt->SetUnits(unInches);
        pt->SetLeftMargin(1);
        pt->SetRightMargin(1);
    }
    std::vector<std::string> print(const std::string& text) {
        pt->StartPrinting();
        EXPECT_TRUE(pt->WriteText(text));
        pt->FinishPrinting();
        return printer.texts();
    }
};

TEST_F(PrintTextTest, MarginsAndTabStopsInPrinterPixels) {
    const TPrintText::Layout& l = pt->PixelLayout();
    EXPECT_EQ(l.left, 472);    // 600 × 20 ÷ 25.4 = 472.44
    EXPECT_EQ(l.top, 591);     // 590.55
    EXPECT_EQ(l.header, 236);  // 236.22
    EXPECT_EQ(l.tabStops[0], 354);
    EXPECT_EQ(l.tabStops[49], 17717);  // 600 × 750 ÷ 25.4 = 17716.54
    EXPECT_EQ(l.printableWidth, 4960 - 2 * 472);
    EXPECT_EQ(l.printableHeight, 7016 - 2 * 591);
    EXPECT_EQ(l.lineAdvance, 120);  // (10 + 2) × 100 ÷ 10
    pt->SetFont({"Arial", 7, false, 0});
    EXPECT_EQ(pt->PixelLayout().lineAdvance, (7 + 2) * 70 / 7);

    // Halves go to the even neighbour.
    struct Case {
        int dpi;
        float inches;
        int pixels;
    } cases[] = {{1, 2.5f, 2}, {1, 3.5f, 4}, {3, 0.5f, 2}, {600, 0.7874016f, 472}};
    for (const Case& c : cases) {
        printer.dpiX = c.dpi;
        TPrintText fresh(printer, clock);
        fresh.SetUnits(unInches);
        fresh.SetLeftMargin(c.inches);
        EXPECT_EQ(fresh.PixelLayout().left, c.pixels) << c.dpi << " " << c.inches;
    }
}

TEST_F(PrintTextTest, ChangingUnitsKeepsPhysicalSizesAndOutput) {
    const std::string text = "a\tb c d e f g h i j k l m n o p q r s t u v w x y z aa bb cc dd ee ff gg hh ii jj kk ll";
    const std::vector<std::string> inMillimetres = print(text);
    const auto drawnInMillimetres = printer.drawn;
    printer.drawn.clear();
    pt->SetUnits(unInches);
    EXPECT_FLOAT_EQ(pt->LeftMargin(), 0.7874016f);
    EXPECT_FLOAT_EQ(pt->TabPosition(0), 0.5905512f);
    EXPECT_EQ(print(text), inMillimetres);
    for (std::size_t i = 0; i < printer.drawn.size(); ++i) {
        EXPECT_EQ(printer.drawn[i].x, drawnInMillimetres[i].x);
        EXPECT_EQ(printer.drawn[i].y, drawnInMillimetres[i].y);
    }
    pt->SetUnits(unMillimetres);
    EXPECT_NEAR(pt->LeftMargin(), 20.0f, 1e-5);
}

TEST_F(PrintTextTest, MarginSettersKeepTheBodyBetweenHeaderAndFooter) {
    struct Case {
        const char* name;
        void (TPrintText::*set)(float);
        float value;
        float (TPrintText::*get)() const;
        float expected;
    } cases[] = {
        {"top above header", &TPrintText::SetTopMargin, 8, &TPrintText::TopMargin, 25},
        {"top equal to header", &TPrintText::SetTopMargin, 10, &TPrintText::TopMargin, 25},
        {"top below header", &TPrintText::SetTopMargin, 11, &TPrintText::TopMargin, 11},
        {"header below top", &TPrintText::SetHeaderMargin, 30, &TPrintText::HeaderMargin, 10},
        {"header above top", &TPrintText::SetHeaderMargin, 5, &TPrintText::HeaderMargin, 5},
        {"bottom above footer", &TPrintText::SetBottomMargin, 9, &TPrintText::BottomMargin, 25},
        {"bottom below footer", &TPrintText::SetBottomMargin, 40, &TPrintText::BottomMargin, 40},
        {"footer below bottom", &TPrintText::SetFooterMargin, 25, &TPrintText::FooterMargin, 10},
        {"footer above bottom", &TPrintText::SetFooterMargin, 24, &TPrintText::FooterMargin, 24},
        {"left, any value", &TPrintText::SetLeftMargin, 200, &TPrintText::LeftMargin, 200},
        {"right, any value", &TPrintText::SetRightMargin, 0, &TPrintText::RightMargin, 0},
    };
    for (const Case& c : cases) {
        TPrintText fresh(printer, clock);
        (fresh.*c.set)(c.value);
        EXPECT_EQ((fresh.*c.get)(), c.expected) << c.name;
    }
    // A margin that is taken moves the layout at once.
    pt->SetTopMargin(50.8f);
    EXPECT_EQ(pt->PixelLayout().top, 1200);
}

TEST_F(PrintTextTest, WrapsAtBlanksAndBreaksWordsTooWideForTheLine) {
    narrow(500);  // ten characters fit, as long as a word is broken; a candidate must be narrower
    printer.widths['W'] = 600;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
        std::vector<std::string> overflows;
    } cases[] = {
        {"fits whole", "short line", {"short line"}, {}},
        {"at blanks", "aaaa bbbb cccc dddd", {"aaaa bbbb", "cccc dddd"}, {}},
        {"word wider than the line", std::string(25, 'a'), {std::string(10, 'a'), std::string(10, 'a'), "aaaaa"}, {}},
        {"lone last character", "aaaaaaaaa b", {"aaaaaaaaa", "b"}, {}},
        {"word exactly as wide", "aaaaaaaaaa bb", {"aaaaaaaaaa", "bb"}, {}},
        {"blanks between lines go", "aaaa bbbb    cccc", {"aaaa bbbb", "cccc"}, {}},
        {"trailing blanks go", "aaaa bbbb cc    ", {"aaaa bbbb", "cc    "}, {}},
        {"empty", "", {""}, {}},
        {"character wider than the page", "W", {"W"}, {"W"}},
        {"tab expanded, fits", "a\tb", {"a\tb"}, {}},
    };
    for (const Case& c : cases) {
        printer.drawn.clear();
        overflows.clear();
        EXPECT_EQ(print(c.text), c.lines) << c.name;
        EXPECT_EQ(overflows, c.overflows) << c.name;
    }
    printer.drawn.clear();
    pt->WordWrap = false;
    EXPECT_EQ(print("aaaa bbbb cccc dddd"), std::vector<std::string>{"aaaa bbbb cccc dddd"});
    EXPECT_EQ(overflows.back(), "aaaa bbbb cccc dddd");
    printer.drawn.clear();
    pt->WordWrap = true;
    pt->UseTabs = false;
    EXPECT_EQ(print("a\tb"), std::vector<std::string>{"a b"});
}

// The printed lines are exactly those of the plain rule, for words of every length and
// characters of every width, while the work stays in proportion to the text.
TEST_F(PrintTextTest, WrappingMatchesThePlainRule) {
    std::mt19937 random(14);
    const char alphabet[] = "abcdefghij   W";
    for (char c = 'a'; c <= 'j'; ++c) printer.widths[c] = 20 + 7 * (c - 'a');
    printer.widths[' '] = 30;
    printer.widths['W'] = 400;
    pt->Alignment = taJustify;
    for (int round = 0; round < 300; ++round) {
        const int printable = 150 + static_cast<int>(random() % 600);
        narrow(printable);
        std::string text;
        const int length = round % 10 == 0 ? 3000 : static_cast<int>(random() % 80);
        for (int i = 0; i < length; ++i)
            text += round % 10 == 0 && i % 1500 ? 'b' : alphabet[random() % (sizeof alphabet - 1)];
        printer.drawn.clear();
        pt->StartPrinting();
        pt->WriteLine(text);
        pt->FinishPrinting();
        std::vector<testing::WrappedLine> got;
        for (const fakes::DrawnText& d : printer.drawn) got.push_back({d.text, d.justifyBreaks});
        const std::int64_t width = pt->PixelLayout().printableWidth;
        std::vector<testing::WrappedLine> expected;
        if (printer.plainWidth(text) <= width) {
            expected = {{text, 0}};
        } else {
            for (testing::WrappedLine& line :
                 testing::ReferenceWrap(text, width, [&](const std::string& s) { return printer.plainWidth(s); })) {
                expected.push_back(line);
            }
        }
        ASSERT_EQ(got.size(), expected.size()) << "round " << round << " width " << printable << " text " << text;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, expected[i].text) << "round " << round << " line " << i;
            EXPECT_EQ(got[i].gaps, expected[i].gaps) << "round " << round << " line " << i;
        }
    }
}

TEST_F(PrintTextTest, WidthsBeyondSixteenBitsAreNotTakenToFit) {
    // 1320 characters are 66,000 pixels; cut to 16 bits that would be 464, well inside the line.
    const std::string word(1320, 'x');
    const std::vector<std::string> lines = print(word);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(printer.plainWidth(line), pt->PixelLayout().printableWidth);
        joined += line;
    }
    EXPECT_EQ(joined, word);
    EXPECT_EQ(lines.size(), 17u);  // 80 characters a line
    EXPECT_TRUE(overflows.empty());
}

TEST_F(PrintTextTest, AlignmentPlacesAndJustifyFillsTheWidth) {
    narrow(500);
    const int left = pt->PixelLayout().left;
    struct Case {
        TAlignment alignment;
        int x;
    } cases[] = {{taLeftJustify, left}, {taCenter, left + 175}, {taRightJustify, left + 350}, {taJustify, left}};
    for (const Case& c : cases) {
        printer.drawn.clear();
        pt->Alignment = c.alignment;
        print("abc");
        EXPECT_EQ(printer.drawn.at(0).x, c.x) << c.alignment;
        EXPECT_EQ(printer.drawn.at(0).tabbed, c.alignment != taJustify);
    }
    printer.drawn.clear();
    pt->Alignment = taJustify;
    print("aa bb cc dd ee ff gg hh\tii jj kk");
    ASSERT_GE(printer.drawn.size(), 3u);
    for (std::size_t i = 0; i + 1 < printer.drawn.size(); ++i) {
        const fakes::DrawnText& d = printer.drawn[i];
        EXPECT_EQ(printer.plainWidth(d.text) + d.justifyExtra, 500) << d.text;
        EXPECT_EQ(d.justifyBreaks, std::count(d.text.begin(), d.text.end(), ' ')) << d.text;
    }
    EXPECT_EQ(printer.drawn.back().justifyBreaks, 0);
    EXPECT_EQ(printer.drawn.back().x, left);
    EXPECT_EQ(printer.extra, 0);  // nothing stays stretched after a line
}

TEST(PrintTextLines, RemoveBreaksJoinsOneKindOfLineEnd) {
    struct Case {
        std::string text;
        TBreakSequence sequence;
        std::string joined;
        bool found;
    } cases[] = {
        {"a\r\nb\r\nc", bsAuto, "a b c", true},
        {"a\r\nb\r\n", bsAuto, "a b", true},
        {"a\r\n\r\n", bsCRLF, "a ", true},
        {"a\rb\nc", bsAuto, "a b\nc", true},
        {"a\nb\nc", bsAuto, "a b c", true},
        {"a\r\nb\nc", bsLF, "a\r b c", true},
        {"a\r\nb\rc", bsCR, "a \nb c", true},
        {"abc", bsAuto, "abc", false},
        {"abc", bsCR, "abc", true},
    };
    for (const Case& c : cases) {
        bool found = false;
        EXPECT_EQ(JoinLines(c.text, c.sequence, &found), c.joined) << c.text;
        EXPECT_EQ(found, c.found) << c.text;
    }
}

TEST_F(PrintTextTest, WriteTextBreaksLinesOrJoinsThem) {
    struct Case {
        std::string text;
        bool removeBreaks;
        std::vector<std::string> lines;
    } cases[] = {
        {"one\r\ntwo\r\nthree", false, {"one", "two", "three"}},
        {"one\r\ntwo\r\nthree\r\n", true, {"one two three"}},
        {"a\nb\rc\n\rd", false, {"a", "b", "c", "", "d"}},
        {"a\r\n\r\nb\r\n", false, {"a", "", "b"}},
        {std::string("a\r\nb\0c\r\nd", 9), false, {"a", "b"}},
        {"", false, {""}},
        {"", true, {""}},
        {"single\r\n", false, {"single"}},
        {std::string("one\0two", 7), false, {"one"}},
    };
    for (const Case& c : cases) {
        printer.drawn.clear();
        pt->RemoveBreaks = c.removeBreaks;
        EXPECT_EQ(print(c.text), c.lines) << c.text;
        EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin", "end"}));
        printer.calls.clear();
    }
}

TEST(PrintTextMacros, ExpandMacrosFillsCodesAndCountsBlanks) {
    const HeaderFooterMacros values{"07/12/2026", "2:03:09 PM", 12};
    struct Case {
        std::string text;
        std::string expanded;
        int blanks;
    } cases[] = {
        {"Page &N, printed &D", "Page 12, printed 07/12/2026", 3},
        {"&&N", "&&N", 0},
        {"&&D x", "&&D x", 1},
        {"a &", "a &", 1},
        {"&d &n", "&d &n", 1},
        {"&", "&", 0},
        {" ", " ", 1},
        {"x ", "x ", 0},
        {"&T|", "2:03:09 PM|", 1},
        {"&N&N", "1212", 0},
    };
    for (const Case& c : cases) {
        const ExpandedMacros e = ExpandMacros(c.text, values);
        EXPECT_EQ(e.text, c.expanded) << c.text;
        EXPECT_EQ(e.blanks, c.blanks) << c.text;
    }
}

TEST_F(PrintTextTest, HeaderAndFooterOnEveryPage) {
    pt->HeaderText = "Page &N";
    pt->FooterText = "&D";
    pt->HeaderAlignment = taLeftJustify;
    pt->FirstPage = 7;
    std::string text;
    for (int i = 0; i < 60; ++i) text += "line\r\n";
    print(text);
    std::vector<std::pair<std::string, int>> marks;
    for (const fakes::DrawnText& d : printer.drawn)
        if (d.font.Bold) marks.push_back({d.text, d.y});
    const int footerY = 7016 - 236 - 100;
    EXPECT_EQ(marks, (std::vector<std::pair<std::string, int>>{
                         {"Page 7", 236}, {"07/12/2026", footerY}, {"Page 8", 236}, {"07/12/2026", footerY}}));
    EXPECT_EQ(printer.drawn.front().x, pt->PixelLayout().left);
    EXPECT_EQ(printer.font, pt->Font());  // the body font is back after each of them
}

TEST_F(PrintTextTest, PagesHoldWholeLineAdvancesAndCheckOnlyCountsThem) {
    // 5834 pixels of page hold 48 advances of 120.
    std::string text;
    for (int i = 0; i < 100; ++i) text += "x\r\n";
    print(text);
    ASSERT_EQ(printer.drawn.size(), 100u);
    EXPECT_EQ(printer.drawn[47].y, 591 + 47 * 120);
    EXPECT_EQ(printer.drawn[47].page, 1);
    EXPECT_EQ(printer.drawn[48].page, 2);
    EXPECT_EQ(printer.drawn[48].y, 591);
    EXPECT_EQ(printer.drawn[99].page, 3);
    EXPECT_EQ(pt->CurrentPage(), 3);

    struct Case {
        const char* name;
        bool checkOnly;
        std::function<void(TPrintText&)> onNewPage;
        std::vector<std::string> calls;
        std::vector<int> pagesDrawn;  // printer's page of the first and last line drawn
    } cases[] = {
        {"check only", true, nullptr, {"begin", "abort"}, {}},
        {"check only from page two", false, [](TPrintText& p) { p.SetCheckOnly(p.CurrentPage() >= 6); },
         {"begin", "end"}, {1, 1}},
        {"page two skipped, three printed",
         false, [](TPrintText& p) { p.SetCheckOnly(p.CurrentPage() == 6); }, {"begin", "page", "end"}, {1, 2}},
    };
    for (const Case& c : cases) {
        printer.drawn.clear();
        printer.calls.clear();
        pt->SetCheckOnly(c.checkOnly);
        pt->FirstPage = 5;
        pt->OnNewPage = c.onNewPage;
        print(text);
        EXPECT_EQ(pt->CurrentPage(), 7) << c.name;
        EXPECT_EQ(printer.calls, c.calls) << c.name;
        std::vector<int> pages;
        if (!printer.drawn.empty()) pages = {printer.drawn.front().page, printer.drawn.back().page};
        EXPECT_EQ(pages, c.pagesDrawn) << c.name;
        pt->SetCheckOnly(false);
    }
}

TEST_F(PrintTextTest, JobsAndThePrinterLayersErrors) {
    // Outside a job nothing happens and nothing is written.
    EXPECT_FALSE(pt->WriteText("x"));
    EXPECT_FALSE(pt->WriteLines({"x"}));
    pt->NextPage();
    pt->FinishPrinting();
    EXPECT_TRUE(printer.calls.empty());

    // A second start and a second finish do nothing.
    pt->StartPrinting();
    pt->StartPrinting();
    pt->SetOrientation(poLandscape);  // ends the job, turns the paper, begins a new one
    EXPECT_EQ(pt->CurrentPage(), 2);
    EXPECT_EQ(pt->PixelLayout().pageWidth, 7016);
    pt->FinishPrinting();
    pt->FinishPrinting();
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin", "end", "begin", "end"}));

    // An error while a text is laid out ends that text; the job can still be finished.
    printer.calls.clear();
    printer.failFromMeasurement = printer.measurements + 3;
    pt->StartPrinting();
    EXPECT_FALSE(pt->WriteText("a\r\nb\r\nc\r\nd"));
    EXPECT_EQ(printer.texts().back(), "a");
    pt->FinishPrinting();
    EXPECT_EQ(printer.calls, (std::vector<std::string>{"begin", "end"}));
    printer.failFromMeasurement = 0;

    // Without a printer the component is still made; a job reports the printer layer's error.
    printer.noPrinter = true;
    TPrintText orphan(printer, clock);
    orphan.SetLeftMargin(30);
    try {
        orphan.StartPrinting();
        ADD_FAILURE() << "no error";
    } catch (const PrinterError& e) {
        EXPECT_STREQ(e.what(), kNoDefaultPrinter);
    }
    EXPECT_FALSE(orphan.Printing());
}

}  // namespace
}  // namespace v5
