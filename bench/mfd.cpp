// Throughput of reading and writing the mail form data file: a 16 MB body, a header of 100,000
// lines, and the file on disk. Bytes per second are the text's bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "drivers/mfd.h"
#include "fakes/fake_shell.h"
#include "shell/diagnostics.h"
#include "shell/file_routines.h"
#include "temp_dir.h"

namespace {

constexpr std::size_t kBodySize = 16u << 20;

v5::TMFDData RecordWithLargeBody() {
    v5::TMFDData r;
    r.Wtype = 1;
    r.Information = "Bench mailer driver";
    r.To = "someone@example.org", r.HasTo = true;
    r.Subject = "A long message", r.HasSubject = true;
    r.Body.reserve(kBodySize);
    const std::string line = "-----BEGIN PGP MESSAGE----- 0123456789 abcdefghijklmnopqrstuvwxyz\r\n";
    while (r.Body.size() + line.size() <= kBodySize) r.Body += line;
    r.Body.resize(kBodySize, 'x');
    r.HasBody = true;
    return r;
}

std::string ManyHeaderLines() {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "X-Line-" + std::to_string(i) + ": some value\r\n";
    return text + "To: a@b\r\n\r\nbody";
}

void BM_ParseLargeBody(benchmark::State& state) {
    const std::string text = v5::FormatMFDText(RecordWithLargeBody());
    for (auto _ : state) {
        v5::TMFDData r = v5::ParseMFDText(text);
        benchmark::DoNotOptimize(r.Body.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseLargeBody)->Unit(benchmark::kMillisecond);

void BM_FormatLargeBody(benchmark::State& state) {
    const v5::TMFDData record = RecordWithLargeBody();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string text = v5::FormatMFDText(record);
        size = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}
BENCHMARK(BM_FormatLargeBody)->Unit(benchmark::kMillisecond);

void BM_ParseManyHeaderLines(benchmark::State& state) {
    const std::string text = ManyHeaderLines();
    for (auto _ : state) {
        v5::TMFDData r = v5::ParseMFDText(text);
        benchmark::DoNotOptimize(r.To.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseManyHeaderLines)->Unit(benchmark::kMillisecond);

// The whole exchange through the file: write it, then read it back.
void BM_WriteAndReadFile(benchmark::State& state) {
    v5::testing::TempDir dir;
    v5::ShellState shell;
    shell.InstallDir = dir.path();
    v5::fakes::FakeClock clock;
    v5::fakes::FakeMessageBoxes boxes;
    v5::fakes::FakeApplication app;
    v5::Diagnostics diagnostics(shell, clock, boxes, app);
    const v5::TMFDData record = RecordWithLargeBody();
    const std::string path = dir / "tmpmfd.tmp";
    const std::size_t size = v5::FormatMFDText(record).size();
    for (auto _ : state) {
        v5::WriteMFDFile(record, path, diagnostics);
        v5::TMFDData back = v5::ReadMFDFile(path);
        benchmark::DoNotOptimize(back.Body.data());
    }
    if (!boxes.shown.empty()) state.SkipWithError(boxes.shown.front().text.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(2 * size));
}
BENCHMARK(BM_WriteAndReadFile)->Unit(benchmark::kMillisecond);

}  // namespace
