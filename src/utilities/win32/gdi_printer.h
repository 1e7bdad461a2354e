#pragma once
// The printer device over GDI: the default printer of the moment, a device context for a job
// and an information context for measuring between jobs.
#include <windows.h>

#include <string>

#include "platform/printer_device.h"
#include "platform/win32/toolkit/handles.h"

namespace v5::win32 {

class GdiPrinter : public PrinterDevice {
public:
    // `documentName` names the jobs in the printer's queue.
    explicit GdiPrinter(std::string documentName) : documentName_(std::move(documentName)) {}
    ~GdiPrinter() override;
    GdiPrinter(const GdiPrinter&) = delete;
    GdiPrinter& operator=(const GdiPrinter&) = delete;

    int pixelsPerInchX() override;
    int pixelsPerInchY() override;
    int pageWidth() override;
    int pageHeight() override;

    bool printing() const override { return static_cast<bool>(job_); }
    void beginDoc() override;
    void newPage() override;
    void endDoc() override;
    void abort() override;
    void setOrientation(TPrinterOrientation orientation) override;

    void setFont(const TFont& font) override;
    int textHeight(std::string_view text) override;
    std::int64_t textWidth(std::string_view text) override;
    std::int64_t tabbedTextWidth(std::string_view text, const int* tabStops, int count) override;
    void setTextJustification(int extra, int breaks) override;
    void textOut(int x, int y, std::string_view text) override;
    void tabbedTextOut(int x, int y, std::string_view text, const int* tabStops, int count, int tabOrigin) override;

private:
    // The job's device context, or else an information context of the default printer.
    HDC canvas();
    OwnedDC createContext(bool forJob);
    void selectFont(HDC dc, OwnedFont& owned);
    void dropInformationContext();
    void closeJob(bool abort);

    std::string documentName_;
    TFont font_;
    bool orientationSet_ = false;
    TPrinterOrientation orientation_ = poPortrait;
    // Each context goes before its font, which may still be selected into it.
    OwnedFont jobFont_;
    OwnedDC job_;
    OwnedFont infoFont_;
    OwnedDC info_;
    std::string infoPrinter_;
};

}  // namespace v5::win32
