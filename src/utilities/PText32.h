#pragma once
// TPrintText: prints plain text on the default printer. It lays text out in lines within the
// page margins, wraps long lines at blanks, expands tabs to fixed stops, aligns or justifies
// lines, breaks pages when they are full and prints a header and footer line on every page.
// In check-only mode it lays everything out and counts pages without printing.
// All measuring is done in the printer's own pixels, with the printer's font, through the port.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"
#include "platform/printer_device.h"

namespace v5 {

enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2, taJustify = 3 };
enum TUnits { unInches = 0, unMillimetres = 1 };
enum TBreakSequence { bsAuto = 0, bsCRLF = 1, bsCR = 2, bsLF = 3 };

class TPrintText;
using TNotifyEvent = std::function<void(TPrintText& sender)>;
using TOverflowEvent = std::function<void(TPrintText& sender, std::string text)>;

// What "&D" and "&T" of a header or footer become.
struct HeaderFooterMacros {
    std::string date;
    std::string time;
    std::uint16_t page = 0;
};
struct ExpandedMacros {
    std::string text;
    int blanks = 0;
};
// Fills the codes of a header or footer template and counts its blanks (the last character is
// never examined; a one-character template has that character examined).
ExpandedMacros ExpandMacros(const std::string& text, const HeaderFooterMacros& values);

// The text with its line ends joined into one paragraph: each occurrence of the chosen line end
// becomes one blank, except one that ends the text, which goes. `found` is false when bsAuto
// finds no line end at all (the text is then left as it is).
std::string JoinLines(const std::string& text, TBreakSequence sequence, bool* found = nullptr);

// The lines of a text: CR LF, a lone CR and a lone LF each end a line, a line end at the very end
// starts no further line, and a NUL ends the text.
std::vector<std::string> SplitTextLines(std::string_view text);

class TPrintText {
public:
    // `clock` gives the date and time for headers and footers.
    TPrintText(PrinterDevice& printer, Clock& clock);
    TPrintText(const TPrintText&) = delete;
    TPrintText& operator=(const TPrintText&) = delete;

    // Plain stored values, read when used.
    TAlignment Alignment = taLeftJustify;
    TAlignment HeaderAlignment = taCenter;
    TAlignment FooterAlignment = taCenter;
    std::string HeaderText;
    std::string FooterText;
    TFont HeaderFont{"Arial", 10, true, 0};
    TFont FooterFont{"Arial", 10, true, 0};
    std::uint16_t LeadingPoints = 2;
    std::uint16_t FirstPage = 1;
    bool WordWrap = true;
    bool RemoveBreaks = false;
    TBreakSequence BreakSequence = bsAuto;
    bool UseTabs = true;
    TNotifyEvent OnNewPage;
    TOverflowEvent OnLineOverflow;

    // Properties with rules of their own.
    float LeftMargin() const { return margins_[kLeft]; }
    float RightMargin() const { return margins_[kRight]; }
    float TopMargin() const { return margins_[kTop]; }
    float BottomMargin() const { return margins_[kBottom]; }
    float HeaderMargin() const { return margins_[kHeader]; }
    float FooterMargin() const { return margins_[kFooter]; }
    void SetLeftMargin(float value);
    void SetRightMargin(float value);
    // Taken only when greater than the header margin.
    void SetTopMargin(float value);
    // Taken only when greater than the footer margin.
    void SetBottomMargin(float value);
    // Taken only when less than the top margin.
    void SetHeaderMargin(float value);
    // Taken only when less than the bottom margin.
    void SetFooterMargin(float value);
    TUnits Units() const { return units_; }
    // Converts every margin and tab position, so physical sizes stay the same.
    void SetUnits(TUnits value);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& value);
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation value);
    bool CheckOnly() const { return checkOnly_; }
    void SetCheckOnly(bool value);
    // Kept for the component's interface: the tab stops are fixed, so there is never a list
    // and setting one changes nothing.
    std::vector<std::string> Tabs() const { return {}; }
    void SetTabs(const std::vector<std::string>&) {}

    // Operations.
    void StartPrinting();
    bool WriteText(const std::string& text);
    bool WriteLines(const std::vector<std::string>& lines);
    void WriteLine(std::string line);
    void NextPage();
    void FinishPrinting();

    // Run-time state.
    bool Printing() const { return jobOpen_; }
    std::uint16_t CurrentPage() const { return page_; }
    float TabPosition(int index) const { return tabPositions_[index]; }

    // The layout in printer pixels, as last computed.
    struct Layout {
        int pixelsX = 0, pixelsY = 0;
        int pageWidth = 0, pageHeight = 0;
        int left = 0, right = 0, top = 0, bottom = 0, header = 0, footer = 0;
        // Signed: margins wider than the page leave no room rather than a wrapped-around width.
        int printableWidth = 0;
        int printableHeight = 0;
        std::array<int, kTabStopCount> tabStops{};
        int textHeight = 0;
        int lineAdvance = 0;
    };
    const Layout& PixelLayout() const { return layout_; }

private:
    enum { kLeft, kRight, kTop, kBottom, kHeader, kFooter, kMarginCount };

    void ComputeLayout();
    void ComputeLineHeight();
    // Outside a job, the layout follows the printer when there is one; with none, it waits for
    // the next job, which reports the printer layer's error itself.
    void ComputeLayoutIfPossible();
    void ComputeLineHeightIfPossible();
    void SetMargin(int which, float value);
    std::int64_t MeasureText(TAlignment alignment, std::string_view text);
    int LineStartX(TAlignment alignment, int gaps, std::string_view text);
    void OutputLine(std::string_view line, int gaps);
    void DrawLine(TAlignment alignment, int x, int y, std::string_view text);
    void PrintHeader();
    void PrintFooter();
    void PrintHeaderOrFooter(bool header);
    void WrapLine(std::string_view line);
    void CloseJob();

    PrinterDevice& printer_;
    Clock& clock_;
    std::array<float, kMarginCount> margins_{20, 20, 25, 25, 10, 10};
    std::array<float, kTabStopCount> tabPositions_{};
    TUnits units_ = unMillimetres;
    TFont font_{"Arial", 10, false, 0};
    TPrinterOrientation orientation_ = poPortrait;
    bool checkOnly_ = false;

    Layout layout_;
    std::uint16_t page_ = 1;
    int lineTop_ = 0;
    int usedHeight_ = 0;
    bool jobOpen_ = false;
    bool suppressed_ = false;
    bool pagePending_ = false;
};

}  // namespace v5
