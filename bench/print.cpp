// Speed of laying text out on a printer with fixed metrics (ordinary paragraphs, and one word
// without a blank), which must grow in proportion to the text, and of quoting a large text.
#include <benchmark/benchmark.h>

#include <string>

#include "fakes/fake_printer.h"
#include "fakes/fake_shell.h"
#include "utilities/PText32.h"
#include "utilities/clipboard_actions.h"

namespace {

// Measures like the fake printer but only counts what it draws.
class CountingPrinter : public v5::fakes::FakePrinter {
public:
    std::size_t lines = 0;
    void textOut(int, int, std::string_view) override { ++lines; }
    void tabbedTextOut(int, int, std::string_view, const int*, int, int) override { ++lines; }
};

// Paragraphs of 600 to 1200 characters of words of 1 to 9 letters, each one line to wrap.
std::string Paragraphs(std::size_t size) {
    std::string text;
    text.reserve(size + 16);
    unsigned seed = 1;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    while (text.size() < size) {
        const std::size_t length = 600 + next() % 600;
        std::string paragraph;
        while (paragraph.size() < length) {
            paragraph.append(1 + next() % 9, static_cast<char>('a' + next() % 26));
            paragraph += ' ';
        }
        text += paragraph + "\r\n";
    }
    text.resize(size);
    return text;
}

void Layout(benchmark::State& state, const std::string& text) {
    std::size_t lines = 0;
    for (auto _ : state) {
        CountingPrinter printer;
        v5::fakes::FakeClock clock;
        v5::TPrintText pt(printer, clock);
        pt.StartPrinting();
        benchmark::DoNotOptimize(pt.WriteText(text));
        pt.FinishPrinting();
        lines = printer.lines;
    }
    state.counters["printed_lines"] = static_cast<double>(lines);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_LayoutParagraphs(benchmark::State& state) {
    Layout(state, Paragraphs(static_cast<std::size_t>(state.range(0)) << 20));
}
BENCHMARK(BM_LayoutParagraphs)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_LayoutOneWord(benchmark::State& state) {
    Layout(state, std::string(static_cast<std::size_t>(state.range(0)) << 20, 'x'));
}
BENCHMARK(BM_LayoutOneWord)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_Quote16MB(benchmark::State& state) {
    std::string text;
    while (text.size() < (16u << 20)) text += "Thanks for the figures; I will look at them on Monday. \xFF\r\n";
    for (auto _ : state) benchmark::DoNotOptimize(v5::QuoteText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Quote16MB)->Unit(benchmark::kMillisecond);

}  // namespace
