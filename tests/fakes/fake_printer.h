#pragma once
// A printer with fixed text metrics that records its job: every character is `charWidth` pixels
// wide unless `widths` says otherwise, a text is 10 pixels high per point of its font, and tabs
// advance to the next stop as GDI's tabbed calls do. Misuse raises the printer layer's errors.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/printer_device.h"

namespace v5::fakes {

struct DrawnText {
    int page;  // from 1, counted by the printer
    int x;
    int y;
    std::string text;
    bool tabbed;
    int justifyExtra;   // the justification in force when it was drawn
    int justifyBreaks;
    TFont font;
};

class FakePrinter : public PrinterDevice {
public:
    int dpiX = 600, dpiY = 600;
    int width = 4960, height = 7016;  // A4 at 600 pixels per inch
    std::int64_t charWidth = 50;
    std::map<char, std::int64_t> widths;
    bool noPrinter = false;
    // Throws this message from the n-th measurement (from 1) on; 0 never.
    int failFromMeasurement = 0;

    bool inJob = false;
    int docsBegun = 0, docsEnded = 0, docsAborted = 0;
    int pagesInJob = 0;  // pages of the current or last job
    TPrinterOrientation orientation = poPortrait;
    TFont font;
    int extra = 0, breaks = 0;
    int measurements = 0;
    std::vector<DrawnText> drawn;
    std::vector<std::string> calls;  // job calls in order: "begin", "page", "end", "abort"

    std::int64_t widthOf(char c) const {
        auto it = widths.find(c);
        return it == widths.end() ? charWidth : it->second;
    }
    std::int64_t plainWidth(std::string_view text) const {
        std::int64_t w = 0;
        for (char c : text) w += widthOf(c);
        return w;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const DrawnText& d : drawn) out.push_back(d.text);
        return out;
    }

    int pixelsPerInchX() override { return need(), dpiX; }
    int pixelsPerInchY() override { return need(), dpiY; }
    int pageWidth() override { return need(), orientation == poPortrait ? width : height; }
    int pageHeight() override { return need(), orientation == poPortrait ? height : width; }

    bool printing() const override { return inJob; }
    void beginDoc() override {
        need();
        if (inJob) throw PrinterError(kPrintingInProgress);
        inJob = true;
        ++docsBegun;
        pagesInJob = 1;
        calls.push_back("begin");
    }
    void newPage() override {
        mustPrint();
        ++pagesInJob;
        calls.push_back("page");
    }
    void endDoc() override {
        mustPrint();
        inJob = false;
        ++docsEnded;
        calls.push_back("end");
    }
    void abort() override {
        mustPrint();
        inJob = false;
        ++docsAborted;
        calls.push_back("abort");
    }
    void setOrientation(TPrinterOrientation o) override {
        if (inJob) throw PrinterError(kPrintingInProgress);
        orientation = o;
    }

    void setFont(const TFont& f) override { font = f; }
    int textHeight(std::string_view) override { return need(), font.Size * 10; }
    std::int64_t textWidth(std::string_view text) override {
        measured();
        return plainWidth(text);
    }
    std::int64_t tabbedTextWidth(std::string_view text, const int* stops, int count) override {
        measured();
        return tabbedWidth(text, stops, count, 0);
    }
    void setTextJustification(int e, int b) override { extra = e, breaks = b; }
    void textOut(int x, int y, std::string_view text) override { draw(x, y, text, false); }
    void tabbedTextOut(int x, int y, std::string_view text, const int*, int, int) override {
        draw(x, y, text, true);
    }

    // The width of a tabbed text whose stops count from `origin`.
    std::int64_t tabbedWidth(std::string_view text, const int* stops, int count, std::int64_t origin) const {
        std::int64_t x = origin;
        for (char c : text) {
            if (c != '\t') {
                x += widthOf(c);
                continue;
            }
            int i = 0;
            while (i < count && origin + stops[i] <= x) ++i;
            x = i < count ? origin + stops[i] : origin + ((x - origin) / (8 * charWidth) + 1) * 8 * charWidth;
        }
        return x - origin;
    }

private:
    void need() const {
        if (noPrinter) throw PrinterError(kNoDefaultPrinter);
    }
    void mustPrint() const {
        if (!inJob) throw PrinterError(kNotPrinting);
    }
    void measured() {
        ++measurements;
        if (failFromMeasurement > 0 && measurements >= failFromMeasurement) throw PrinterError("measuring failed");
    }
    void draw(int x, int y, std::string_view text, bool tabbed) {
        mustPrint();
        drawn.push_back({pagesInJob, x, y, std::string(text), tabbed, extra, breaks, font});
    }
};

}  // namespace v5::fakes
