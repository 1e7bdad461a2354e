// Lays arbitrary bytes out as a clipboard text on a printer with uneven character widths, with
// options taken from the first bytes, and quotes them. Checks that every character above a blank
// reaches the paper once and in order (up to the first NUL where lines are split), that a line
// wider than the printable width is always reported, that one line wraps exactly as the plain
// rule does, and that quoting keeps every byte of the trimmed text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../tests/fakes/fake_printer.h"
#include "../tests/fakes/fake_shell.h"
#include "../tests/utilities/wrap_reference.h"
#include "utilities/PText32.h"
#include "utilities/clipboard_actions.h"

namespace {

std::string Visible(std::string_view text) {
    std::string out;
    for (char c : text)
        if (static_cast<unsigned char>(c) > 32) out += c;
    return out;
}

void CheckQuote(const std::string& text) {
    const std::string quoted = v5::QuoteText(text);
    if (quoted.compare(0, 2, "> ") != 0) std::abort();
    // Taking out "> " at the start and after every CR LF gives back the trimmed text.
    std::string back;
    for (std::size_t i = 2; i < quoted.size(); ++i) {
        back += quoted[i];
        if (quoted[i] == '\n' && i > 0 && quoted[i - 1] == '\r') {
            if (quoted.compare(i + 1, 2, "> ") != 0) std::abort();
            i += 2;
        }
    }
    if (Visible(back) != Visible(text)) std::abort();
    if (back.size() > text.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t options = data[0];
    const int printable = 60 + data[1] * 4;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    CheckQuote(text);

    v5::fakes::FakePrinter printer;
    v5::fakes::FakeClock clock;
    for (int c = 0; c < 256; ++c) printer.widths[static_cast<char>(c)] = 10 + (c * 37) % 90;
    printer.widths['W'] = 1000;  // wider than any page here
    printer.width = 1200 + printable;
    v5::TPrintText pt(printer, clock);
    pt.SetUnits(v5::unInches);
    pt.SetLeftMargin(1);
    pt.SetRightMargin(1);
    pt.Alignment = static_cast<v5::TAlignment>(options & 3);
    pt.RemoveBreaks = options & 4;
    pt.BreakSequence = static_cast<v5::TBreakSequence>((options >> 3) & 3);
    pt.UseTabs = options & 32;
    pt.WordWrap = !(options & 64);
    std::vector<std::string> overflows;
    pt.OnLineOverflow = [&](v5::TPrintText&, std::string line) { overflows.push_back(line); };

    pt.StartPrinting();
    if (!pt.WriteText(text)) std::abort();
    pt.FinishPrinting();

    // Every visible character once, in order.
    std::string drawn;
    for (const auto& d : printer.drawn) drawn += Visible(d.text);
    const std::string expected = pt.RemoveBreaks ? Visible(text) : Visible(text.substr(0, text.find('\0')));
    if (drawn != expected) std::abort();

    // A line wider than the printable width is one that was reported.
    const auto& layout = pt.PixelLayout();
    std::size_t reported = 0;
    for (const auto& d : printer.drawn) {
        const std::int64_t width = pt.Alignment == v5::taJustify
                                       ? printer.plainWidth(d.text)
                                       : printer.tabbedWidth(d.text, layout.tabStops.data(), v5::kTabStopCount, 0);
        if (width > layout.printableWidth) {
            while (reported < overflows.size() && overflows[reported] != d.text) ++reported;
            if (reported == overflows.size()) std::abort();
            ++reported;
        }
    }

    // One line (no tabs, justified so widths are plain) wraps as the plain rule does.
    std::string line = text.substr(0, std::min<std::size_t>(text.size(), 400));
    for (char& c : line)
        if (c == '\t') c = ' ';
    printer.drawn.clear();
    pt.Alignment = v5::taJustify;
    pt.WordWrap = true;
    pt.StartPrinting();
    pt.WriteLine(line);
    pt.FinishPrinting();
    std::vector<v5::testing::WrappedLine> expectedLines{{line, 0}};
    if (printer.plainWidth(line) > layout.printableWidth)
        expectedLines = v5::testing::ReferenceWrap(
            line, layout.printableWidth, [&](const std::string& s) { return printer.plainWidth(s); });
    if (printer.drawn.size() != expectedLines.size()) std::abort();
    for (std::size_t i = 0; i < expectedLines.size(); ++i) {
        if (printer.drawn[i].text != expectedLines[i].text) std::abort();
        if (printer.drawn[i].justifyBreaks != expectedLines[i].gaps) std::abort();
    }
    return 0;
}
