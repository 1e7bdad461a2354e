#include "utilities/win32/gdi_printer.h"

#include <winspool.h>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

namespace v5::win32 {
namespace {

constexpr const char* kSpoolerDriver = "WINSPOOL";
// Below this many pixels, GDI's own 16-bit tabbed width is exact.
constexpr std::int64_t kSixteenBitSafe = 60000;

std::string DefaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterA(nullptr, &size);
    if (size == 0) throw PrinterError(kNoDefaultPrinter);
    std::vector<char> name(size + 1);
    if (!GetDefaultPrinterA(name.data(), &size) || name[0] == '\0') throw PrinterError(kNoDefaultPrinter);
    return name.data();
}

// The printer's own settings with the orientation changed, or none when it is not changed.
std::vector<char> DeviceModeWith(const std::string& printer, bool setOrientation, TPrinterOrientation orientation) {
    if (!setOrientation) return {};
    OwnedPrinter handle;
    char* name = const_cast<char*>(printer.c_str());
    if (!OpenPrinterA(name, handle.receive(), nullptr)) return {};
    const LONG size = DocumentPropertiesA(nullptr, handle.get(), name, nullptr, nullptr, 0);
    if (size <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
    if (DocumentPropertiesA(nullptr, handle.get(), name, mode, nullptr, DM_OUT_BUFFER) != IDOK) return {};
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    return buffer;
}

int Length(std::string_view text) { return static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX)); }

}  // namespace

GdiPrinter::~GdiPrinter() {
    if (job_) AbortDoc(job_.get());
}

OwnedDC GdiPrinter::createContext(bool forJob) {
    const std::string printer = DefaultPrinterName();
    const std::vector<char> mode = DeviceModeWith(printer, orientationSet_, orientation_);
    const auto* devMode = mode.empty() ? nullptr : reinterpret_cast<const DEVMODEA*>(mode.data());
    OwnedDC dc(forJob ? CreateDCA(kSpoolerDriver, printer.c_str(), nullptr, devMode)
                      : CreateICA(kSpoolerDriver, printer.c_str(), nullptr, devMode));
    if (!dc) throw PrinterError(kPrinterNotValid);
    if (!forJob) infoPrinter_ = printer;
    return dc;
}

HDC GdiPrinter::canvas() {
    if (job_) return job_.get();
    // The default printer may have changed since the last look.
    if (info_ && infoPrinter_ != DefaultPrinterName()) dropInformationContext();
    if (!info_) {
        info_ = createContext(false);
        selectFont(info_.get(), infoFont_);
    }
    return info_.get();
}

void GdiPrinter::dropInformationContext() {
    info_.reset();
    infoFont_.reset();
}

void GdiPrinter::selectFont(HDC dc, OwnedFont& owned) {
    const int height = -MulDiv(font_.Size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    OwnedFont font(CreateFontA(height, 0, 0, 0, font_.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, font_.Name.c_str()));
    if (!font) return;
    SelectObject(dc, font.get());
    SetTextColor(dc, font_.Color);
    SetBkMode(dc, TRANSPARENT);
    // The font it replaces is no longer selected anywhere.
    owned = std::move(font);
}

int GdiPrinter::pixelsPerInchX() { return GetDeviceCaps(canvas(), LOGPIXELSX); }
int GdiPrinter::pixelsPerInchY() { return GetDeviceCaps(canvas(), LOGPIXELSY); }
int GdiPrinter::pageWidth() { return GetDeviceCaps(canvas(), HORZRES); }
int GdiPrinter::pageHeight() { return GetDeviceCaps(canvas(), VERTRES); }

void GdiPrinter::beginDoc() {
    if (job_) throw PrinterError(kPrintingInProgress);
    OwnedDC dc = createContext(true);
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName_.c_str();
    if (StartDocA(dc.get(), &doc) <= 0) throw PrinterError(kPrinterNotValid);
    StartPage(dc.get());
    job_ = std::move(dc);
    selectFont(job_.get(), jobFont_);
}

void GdiPrinter::newPage() {
    if (!job_) throw PrinterError(kNotPrinting);
    EndPage(job_.get());
    StartPage(job_.get());
    // Some drivers give each page fresh attributes.
    selectFont(job_.get(), jobFont_);
}

void GdiPrinter::closeJob(bool abort) {
    if (!job_) throw PrinterError(kNotPrinting);
    OwnedDC dc = std::move(job_);
    if (abort) {
        AbortDoc(dc.get());
    } else {
        EndPage(dc.get());
        EndDoc(dc.get());
    }
    // The context first: its font cannot go while it is selected into it.
    dc.reset();
    jobFont_.reset();
}

void GdiPrinter::endDoc() { closeJob(false); }
void GdiPrinter::abort() { closeJob(true); }

void GdiPrinter::setOrientation(TPrinterOrientation orientation) {
    if (job_) throw PrinterError(kPrintingInProgress);
    orientationSet_ = true;
    orientation_ = orientation;
    dropInformationContext();
}

void GdiPrinter::setFont(const TFont& font) {
    font_ = font;
    if (job_) selectFont(job_.get(), jobFont_);
    if (info_) selectFont(info_.get(), infoFont_);
}

int GdiPrinter::textHeight(std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(canvas(), text.data(), Length(text), &size);
    return size.cy;
}

std::int64_t GdiPrinter::textWidth(std::string_view text) {
    SIZE size{};
    GetTextExtentPoint32A(canvas(), text.data(), Length(text), &size);
    return size.cx;
}

std::int64_t GdiPrinter::tabbedTextWidth(std::string_view text, const int* tabStops, int count) {
    HDC dc = canvas();
    // GDI gives a tabbed width in 16 bits only. A text that may be wider is measured a piece
    // between tabs at a time, each tab going to the next stop as GDI's own rule takes it.
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const std::int64_t tabs = std::count(text.begin(), text.end(), '\t');
    const std::int64_t defaultTab = 8 * std::int64_t{metrics.tmAveCharWidth};
    const std::int64_t lastStop = count > 0 ? tabStops[count - 1] : 0;
    const std::int64_t bound =
        static_cast<std::int64_t>(text.size()) * metrics.tmMaxCharWidth + lastStop + tabs * defaultTab;
    if (bound < kSixteenBitSafe) {
        const DWORD extent =
            GetTabbedTextExtentA(dc, text.data(), Length(text), count, const_cast<int*>(tabStops));
        return LOWORD(extent);
    }
    std::int64_t x = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', start);
        const std::string_view piece = text.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
        SIZE size{};
        GetTextExtentPoint32A(dc, piece.data(), Length(piece), &size);
        x += size.cx;
        if (tab == std::string_view::npos) break;
        int i = 0;
        while (i < count && tabStops[i] <= x) ++i;
        x = i < count ? tabStops[i] : defaultTab > 0 ? (x / defaultTab + 1) * defaultTab : x;
        start = tab + 1;
    }
    if (x < kSixteenBitSafe) {
        const DWORD extent =
            GetTabbedTextExtentA(dc, text.data(), Length(text), count, const_cast<int*>(tabStops));
        return LOWORD(extent);
    }
    return x;
}

void GdiPrinter::setTextJustification(int extra, int breaks) { SetTextJustification(canvas(), extra, breaks); }

void GdiPrinter::textOut(int x, int y, std::string_view text) {
    if (!job_) throw PrinterError(kNotPrinting);
    TextOutA(job_.get(), x, y, text.data(), Length(text));
}

void GdiPrinter::tabbedTextOut(int x, int y, std::string_view text, const int* tabStops, int count, int tabOrigin) {
    if (!job_) throw PrinterError(kNotPrinting);
    TabbedTextOutA(job_.get(), x, y, text.data(), Length(text), count, const_cast<int*>(tabStops), tabOrigin);
}

}  // namespace v5::win32
