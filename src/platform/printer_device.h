#pragma once
// The default printer as the text printer sees it: its resolution and page, a job with pages,
// and text measured and drawn in the printer's own pixels with the font of its canvas.
// The real adapter draws through GDI; tests use a printer with fixed text metrics.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/errors.h"

namespace v5 {

enum TPrinterOrientation { poPortrait = 0, poLandscape = 1 };

// A font as the text printer's properties give it; the size is in points.
struct TFont {
    std::string Name = "Arial";
    int Size = 10;
    bool Bold = false;
    std::uint32_t Color = 0;  // 0x00BBGGRR; black

    bool operator==(const TFont&) const = default;
};

// Errors of the printer layer, with its own messages.
class PrinterError : public AppError {
public:
    using AppError::AppError;
};
inline constexpr const char* kNoDefaultPrinter = "There is no default printer currently selected";
inline constexpr const char* kPrinterNotValid = "Printer selected is not valid";
inline constexpr const char* kPrintingInProgress = "Printing in progress";
inline constexpr const char* kNotPrinting = "Printer is not currently printing";

inline constexpr int kTabStopCount = 50;

class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    // Pixels per inch across and down, and the printable page in pixels. Throw PrinterError when
    // there is no usable default printer.
    virtual int pixelsPerInchX() = 0;
    virtual int pixelsPerInchY() = 0;
    virtual int pageWidth() = 0;
    virtual int pageHeight() = 0;

    // The job: begin (document and first page), next page, end (last page and document), abort.
    // Beginning while a job runs throws kPrintingInProgress; the others without one kNotPrinting.
    virtual bool printing() const = 0;
    virtual void beginDoc() = 0;
    virtual void newPage() = 0;
    virtual void endDoc() = 0;
    virtual void abort() = 0;
    // Allowed only while no job runs (kPrintingInProgress otherwise).
    virtual void setOrientation(TPrinterOrientation orientation) = 0;

    // The canvas: its font, and the height of a text in it.
    virtual void setFont(const TFont& font) = 0;
    virtual int textHeight(std::string_view text) = 0;

    // Widths in pixels, wide enough for any text (never cut to 16 bits).
    virtual std::int64_t textWidth(std::string_view text) = 0;
    // The width with tabs expanded to the stops, which are measured from the start of the text.
    virtual std::int64_t tabbedTextWidth(std::string_view text, const int* tabStops, int count) = 0;
    // Spreads `extra` pixels over the next drawn text's `breaks` blanks; 0, 0 ends it.
    virtual void setTextJustification(int extra, int breaks) = 0;
    virtual void textOut(int x, int y, std::string_view text) = 0;
    virtual void tabbedTextOut(int x, int y, std::string_view text, const int* tabStops, int count,
                               int tabOrigin) = 0;
};

}  // namespace v5
