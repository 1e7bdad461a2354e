#include "utilities/PText32.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace v5 {
namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr double kInchesPerMillimetre = 0.03937008;
constexpr float kTabSpacing = 15;  // the n-th tab position is 15 × n in the units of creation

// The nearest whole number, halves to the even neighbour.
int RoundEven(double value) { return static_cast<int>(std::nearbyint(value)); }

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

}  // namespace

ExpandedMacros ExpandMacros(const std::string& text, const HeaderFooterMacros& values) {
    ExpandedMacros out{text, 0};
    std::string& s = out.text;
    std::size_t i = 0;
    // The last character is never examined, but the first always is.
    do {
        if (i >= s.size()) break;
        const char c = s[i];
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if (c == ' ') {
            ++out.blanks;
            ++i;
        } else if (c == '&' && (next == 'D' || next == 'T' || next == 'N')) {
            const std::string inserted =
                next == 'D' ? values.date : next == 'T' ? values.time : std::to_string(values.page);
            s.replace(i, 2, inserted);
            // The scan goes on from the second character of what was inserted.
            ++i;
        } else if (c == '&' && next == '&') {
            i += 2;
        } else {
            ++i;
        }
    } while (i + 1 < s.size());
    return out;
}

std::string JoinLines(const std::string& text, TBreakSequence sequence, bool* found) {
    std::string end;
    switch (sequence) {
        case bsCRLF: end = "\r\n"; break;
        case bsCR: end = "\r"; break;
        case bsLF: end = "\n"; break;
        case bsAuto:
            if (text.find("\r\n") != std::string::npos)
                end = "\r\n";
            else if (text.find('\r') != std::string::npos)
                end = "\r";
            else if (text.find('\n') != std::string::npos)
                end = "\n";
            break;
    }
    if (found) *found = !end.empty();
    if (end.empty()) return text;
    // Replacing the first occurrence again and again never makes a new one, so one pass from the
    // left gives the same text: every line end becomes a blank, one that ends the text goes.
    std::string joined;
    joined.reserve(text.size());
    std::size_t at = 0;
    for (;;) {
        const std::size_t hit = text.find(end, at);
        if (hit == std::string::npos) {
            joined.append(text, at, std::string::npos);
            break;
        }
        joined.append(text, at, hit - at);
        at = hit + end.size();
        if (at < text.size()) joined += ' ';
    }
    return joined;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] != '\0') {
        const std::size_t start = i;
        while (i < n && text[i] != '\0' && text[i] != '\r' && text[i] != '\n') ++i;
        lines.emplace_back(text.substr(start, i - start));
        if (i < n && text[i] == '\r') ++i;
        if (i < n && text[i] == '\n') ++i;
    }
    return lines;
}

TPrintText::TPrintText(PrinterDevice& printer, Clock& clock) : printer_(printer), clock_(clock) {
    for (int n = 0; n < kTabStopCount; ++n) tabPositions_[n] = kTabSpacing * static_cast<float>(n + 1);
    ComputeLayoutIfPossible();
    ComputeLineHeightIfPossible();
}

// ---- Properties.

void TPrintText::SetMargin(int which, float value) {
    margins_[which] = value;
    ComputeLayoutIfPossible();
}

void TPrintText::SetLeftMargin(float value) { SetMargin(kLeft, value); }
void TPrintText::SetRightMargin(float value) { SetMargin(kRight, value); }

void TPrintText::SetTopMargin(float value) {
    if (value != margins_[kTop] && value > margins_[kHeader]) SetMargin(kTop, value);
}
void TPrintText::SetBottomMargin(float value) {
    if (value != margins_[kBottom] && value > margins_[kFooter]) SetMargin(kBottom, value);
}
void TPrintText::SetHeaderMargin(float value) {
    if (value != margins_[kHeader] && value < margins_[kTop]) SetMargin(kHeader, value);
}
void TPrintText::SetFooterMargin(float value) {
    if (value != margins_[kFooter] && value < margins_[kBottom]) SetMargin(kFooter, value);
}

void TPrintText::SetUnits(TUnits value) {
    if (value == units_) return;
    const double factor = value == unMillimetres ? kMillimetresPerInch : kInchesPerMillimetre;
    for (float& margin : margins_) margin = static_cast<float>(margin * factor);
    for (float& position : tabPositions_) position = static_cast<float>(position * factor);
    units_ = value;
}

void TPrintText::SetFont(const TFont& value) {
    if (&value == &font_) return;
    font_ = value;
    if (printer_.printing()) printer_.setFont(font_);
    if (jobOpen_)
        ComputeLineHeight();
    else
        ComputeLineHeightIfPossible();
}

void TPrintText::SetOrientation(TPrinterOrientation value) {
    if (value == orientation_) return;
    if (jobOpen_) {
        if (suppressed_)
            printer_.abort();
        else
            printer_.endDoc();
        printer_.setOrientation(value);
        printer_.beginDoc();
    } else {
        printer_.setOrientation(value);
    }
    orientation_ = value;
    if (jobOpen_)
        ComputeLayout();
    else
        ComputeLayoutIfPossible();
    ++page_;
}

void TPrintText::SetCheckOnly(bool value) {
    if (value == checkOnly_) return;
    checkOnly_ = value;
    if (jobOpen_) suppressed_ = value;
}

// ---- Layout.

void TPrintText::ComputeLayout() {
    Layout& l = layout_;
    l.pixelsX = printer_.pixelsPerInchX();
    l.pixelsY = printer_.pixelsPerInchY();
    l.pageWidth = printer_.pageWidth();
    l.pageHeight = printer_.pageHeight();
    const double k = units_ == unMillimetres ? kMillimetresPerInch : 1.0;
    auto across = [&](float value) { return RoundEven(l.pixelsX * static_cast<double>(value) / k); };
    auto down = [&](float value) { return RoundEven(l.pixelsY * static_cast<double>(value) / k); };
    l.left = across(margins_[kLeft]);
    l.right = across(margins_[kRight]);
    l.top = down(margins_[kTop]);
    l.bottom = down(margins_[kBottom]);
    l.header = down(margins_[kHeader]);
    l.footer = down(margins_[kFooter]);
    l.printableWidth = l.pageWidth - l.left - l.right;
    l.printableHeight = l.pageHeight - l.top - l.bottom;
    for (int n = 0; n < kTabStopCount; ++n) l.tabStops[n] = across(tabPositions_[n]);
}

void TPrintText::ComputeLineHeight() {
    layout_.textHeight = printer_.textHeight("Hg");
    const int points = font_.Size;
    // A font without a size has no leading to scale by: its lines are as high as its text.
    layout_.lineAdvance = points > 0 ? (points + LeadingPoints) * layout_.textHeight / points : layout_.textHeight;
}

void TPrintText::ComputeLayoutIfPossible() {
    try {
        ComputeLayout();
    } catch (const PrinterError&) {
    }
}

void TPrintText::ComputeLineHeightIfPossible() {
    try {
        printer_.setFont(font_);
        ComputeLineHeight();
    } catch (const PrinterError&) {
    }
}

std::int64_t TPrintText::MeasureText(TAlignment alignment, std::string_view text) {
    if (alignment == taJustify) return printer_.textWidth(text);
    return printer_.tabbedTextWidth(text, layout_.tabStops.data(), kTabStopCount);
}

int TPrintText::LineStartX(TAlignment alignment, int gaps, std::string_view text) {
    const std::int64_t extra = layout_.printableWidth - MeasureText(alignment, text);
    if (alignment == taJustify && gaps > 0)
        printer_.setTextJustification(ClampToInt(extra), gaps);
    else
        printer_.setTextJustification(0, 0);
    if (extra < 0 && OnLineOverflow) OnLineOverflow(*this, std::string(text));
    if (alignment == taLeftJustify || alignment == taJustify || extra < 0) return layout_.left;
    if (alignment == taCenter) return ClampToInt(layout_.left + extra / 2);
    return ClampToInt(layout_.left + extra);
}

void TPrintText::DrawLine(TAlignment alignment, int x, int y, std::string_view text) {
    if (alignment == taJustify)
        printer_.textOut(x, y, text);
    else
        printer_.tabbedTextOut(x, y, text, layout_.tabStops.data(), kTabStopCount, layout_.left);
}

void TPrintText::OutputLine(std::string_view line, int gaps) {
    usedHeight_ += layout_.lineAdvance;
    if (lineTop_ > layout_.top) lineTop_ += layout_.lineAdvance - layout_.textHeight;
    if (usedHeight_ > layout_.printableHeight) {
        NextPage();
        usedHeight_ = layout_.lineAdvance;
    }
    const int x = LineStartX(Alignment, gaps, line);
    if (!suppressed_) DrawLine(Alignment, x, lineTop_, line);
    lineTop_ += layout_.textHeight;
    printer_.setTextJustification(0, 0);
}

void TPrintText::WriteLine(std::string line) {
    if (Alignment == taJustify || !UseTabs) std::replace(line.begin(), line.end(), '\t', ' ');
    if (!WordWrap || MeasureText(Alignment, line) <= layout_.printableWidth) {
        OutputLine(line, 0);
        return;
    }
    WrapLine(line);
}

// Breaks one line that is wider than the printable width into printed lines: as many whole
// words as fit, and a word too wide on its own as many characters as fit.
//
// The lines are those of measuring every candidate from the start of its printed line, and of
// growing a too-wide word one character at a time; the work is kept in proportion to the line's
// length by three means that give the same answers, since a text never narrows as it grows:
// the end of a word is found once, however many printed lines it is broken over; a word's
// break is found by doubling and halving instead of one character at a time; and a long word
// that starts a printed line is measured whole only when its first part fits.
void TPrintText::WrapLine(std::string_view line) {
    // Positions count from 1; `part(a, b)` is the characters a..b inclusive.
    const std::int64_t n = static_cast<std::int64_t>(line.size());
    const std::int64_t width = layout_.printableWidth;
    auto part = [&](std::int64_t a, std::int64_t b) -> std::string_view {
        a = std::max<std::int64_t>(a, 1);
        b = std::min(b, n);
        if (a > b) return {};
        return line.substr(static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - a + 1));
    };
    auto blank = [&](std::int64_t p) { return p >= 1 && p <= n && line[p - 1] == ' '; };
    auto measure = [&](std::int64_t a, std::int64_t b) { return MeasureText(Alignment, part(a, b)); };

    // The first position from `from` + 1 on where from..position is wider than the printable
    // width, or n + 1 when there is none: where a too-wide word is broken.
    auto breakOf = [&](std::int64_t from) {
        auto tooWide = [&](std::int64_t p) { return p > n || measure(from, p) > width; };
        std::int64_t fits = from;  // from..fits is known not to be too wide (or is one character)
        std::int64_t step = 1;
        std::int64_t probe = from + 1;
        while (!tooWide(probe)) {
            fits = probe;
            step *= 2;
            probe = std::min(from + step, n + 1);
        }
        std::int64_t wide = probe;
        while (wide - fits > 1) {
            const std::int64_t mid = fits + (wide - fits) / 2;
            if (tooWide(mid))
                wide = mid;
            else
                fits = mid;
        }
        return wide;
    };

    // A word that starts a printed line and is longer than this is not measured whole at once.
    constexpr std::int64_t kMeasureWholeUpTo = 512;
    std::int64_t scannedFrom = 0, scannedTo = -1;  // scannedFrom..scannedTo-1 holds no blank

    std::int64_t from = 1, pos = 1, lastBreak = 1, words = 0;
    for (;;) {
        // Step 1: scan the next word.
        lastBreak = pos;
        if (pos + 1 >= scannedFrom && pos + 1 <= scannedTo) {
            pos = scannedTo;
        } else {
            scannedFrom = pos + 1;
            ++pos;
            while (pos < n && !blank(pos)) ++pos;
            scannedTo = pos;
        }
        ++words;
        // Step 2: the candidate, with the blank that ends the word left out.
        const bool last = pos >= n;
        const std::int64_t candidateEnd = pos == n ? pos : pos - 1;
        // Step 3: does it fit?
        bool fits;
        std::int64_t wordBreak = 0;
        if (words == 1 && candidateEnd - from + 1 > kMeasureWholeUpTo) {
            wordBreak = breakOf(from);
            fits = wordBreak > candidateEnd && measure(from, candidateEnd) < width;
        } else {
            fits = measure(from, candidateEnd) < width;
        }
        if (fits) {
            if (last) {
                OutputLine(part(from, candidateEnd), 0);
                return;
            }
            continue;
        }
        // Step 4: print what fits.
        if (words == 1) lastBreak = wordBreak ? wordBreak : breakOf(from);
        const int gaps = static_cast<int>(words > 1 ? words - 2 : words);
        OutputLine(part(from, lastBreak - 1), gaps);
        words = 0;
        from = lastBreak;
        while (from < n && blank(from)) ++from;
        pos = from;
        if (from > n || (from == n && blank(from))) return;
        if (from == n) {
            OutputLine(part(from, from), 0);
            return;
        }
    }
}

// ---- Operations.

void TPrintText::StartPrinting() {
    if (jobOpen_) return;
    printer_.beginDoc();
    printer_.setFont(font_);
    jobOpen_ = true;
    suppressed_ = checkOnly_;
    pagePending_ = false;
    ComputeLayout();
    ComputeLineHeight();
    lineTop_ = layout_.top;
    usedHeight_ = 0;
    page_ = FirstPage;
    PrintHeader();
}

bool TPrintText::WriteText(const std::string& text) {
    if (!jobOpen_) return false;
    try {
        printer_.setFont(font_);
        if (text.empty()) {
            WriteLine(text);
            return true;
        }
        if (RemoveBreaks) {
            bool found = false;
            std::string joined = JoinLines(text, BreakSequence, &found);
            WriteLine(found ? std::move(joined) : text);
            return true;
        }
        // A text of one line prints as that line: its line end, or a NUL and what follows it,
        // would otherwise reach the paper as glyphs of their own.
        const std::vector<std::string> lines = SplitTextLines(text);
        if (lines.size() == 1)
            WriteLine(lines.front());
        else
            WriteLines(lines);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool TPrintText::WriteLines(const std::vector<std::string>& lines) {
    if (!jobOpen_) return false;
    printer_.setFont(font_);
    for (const std::string& line : lines) WriteLine(line);
    return true;
}

void TPrintText::NextPage() {
    if (!jobOpen_) return;
    PrintFooter();
    lineTop_ = layout_.top;
    usedHeight_ = 0;
    ++page_;
    if (!suppressed_) pagePending_ = true;
    if (OnNewPage) OnNewPage(*this);
    if (pagePending_ && !suppressed_) {
        printer_.newPage();
        pagePending_ = false;
    }
    PrintHeader();
}

void TPrintText::FinishPrinting() {
    if (!jobOpen_) return;
    // The job ends even when its last footer cannot be printed.
    try {
        PrintFooter();
    } catch (...) {
        CloseJob();
        throw;
    }
    CloseJob();
}

void TPrintText::CloseJob() {
    const bool discard = suppressed_ && !pagePending_;
    jobOpen_ = suppressed_ = pagePending_ = false;
    if (discard)
        printer_.abort();
    else
        printer_.endDoc();
}

void TPrintText::PrintHeader() { PrintHeaderOrFooter(true); }
void TPrintText::PrintFooter() { PrintHeaderOrFooter(false); }

void TPrintText::PrintHeaderOrFooter(bool header) {
    const std::string& pattern = header ? HeaderText : FooterText;
    if (pattern.empty() || suppressed_) return;
    const ExpandedMacros expanded = ExpandMacros(pattern, {clock_.shortDate(), clock_.longTime(), page_});
    printer_.setFont(header ? HeaderFont : FooterFont);
    const TAlignment alignment = header ? HeaderAlignment : FooterAlignment;
    const int x = LineStartX(alignment, expanded.blanks, expanded.text);
    const int y = header ? layout_.header : layout_.pageHeight - layout_.footer - printer_.textHeight("A");
    DrawLine(alignment, x, y, expanded.text);
    printer_.setFont(font_);
    printer_.setTextJustification(0, 0);
}

}  // namespace v5
