// Throughput of reading and writing the mail form data file: a 16 MB body, a header of 100,000
// lines, and the file written and read on disk. Bytes per second are the text's bytes.
#include <benchmark/benchmark.h>

#include <string>

#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "drivers/mfd.h"
#include "fakes/fake_shell.h"
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

// The file on disk: the whole file written by WriteMFDFile, and read back by ReadMFDFile.
class FileBench {
public:
    FileBench() : path(dir_ / "tmpmfd.tmp") { shell_.InstallDir = dir_.path(); }
    v5::Diagnostics& diagnostics() { return diagnostics_; }
    bool failed() const { return !boxes_.shown.empty(); }

private:
    v5::testing::TempDir dir_;  // first: the path is made from it

public:
    const std::string path;

private:
    v5::ShellState shell_;
    v5::fakes::FakeClock clock_;
    v5::fakes::FakeMessageBoxes boxes_;
    v5::fakes::FakeApplication app_;
    v5::Diagnostics diagnostics_{shell_, clock_, boxes_, app_};
};

void BM_WriteFile(benchmark::State& state) {
    FileBench bench;
    const v5::TMFDData record = RecordWithLargeBody();
    for (auto _ : state) v5::WriteMFDFile(record, bench.path, bench.diagnostics());
    if (bench.failed()) state.SkipWithError("write failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(v5::FormatMFDText(record).size()));
}
BENCHMARK(BM_WriteFile)->Unit(benchmark::kMillisecond);

void BM_ReadFile(benchmark::State& state) {
    FileBench bench;
    const v5::TMFDData record = RecordWithLargeBody();
    v5::WriteMFDFile(record, bench.path, bench.diagnostics());
    for (auto _ : state) {
        v5::TMFDData back = v5::ReadMFDFile(bench.path);
        benchmark::DoNotOptimize(back.Body.data());
    }
    if (bench.failed() || !(v5::ReadMFDFile(bench.path) == record)) state.SkipWithError("read back differs");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(v5::FormatMFDText(record).size()));
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

}  // namespace
