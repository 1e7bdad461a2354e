// One whole outgoing processing run over fakes that answer at once: the driver writes the
// message into the mail form data file and takes the result back, PGP wraps the clipboard's text.
// The driver's and PGP's own work is left out of the time (paused), so what is measured is the
// run's: reading and parsing the file, the decision, the clipboard texts and their comparison,
// and writing the result file. The wipe's flushes to disk are the disk's time: BM_Run deletes the
// file instead of wiping it, and BM_WipeFile gives the wipe on its own.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <string>

#include "base/file_routines.h"
#include "pgp/run_world.h"

namespace {

std::string Body(std::size_t size) {
    const std::string line = "Meet me at noon, bring the papers and the 0123456789 keys.\r\n";
    std::string body;
    body.reserve(size);
    while (body.size() + line.size() <= size) body += line;
    body.resize(size, 'x');
    return body;
}

// The clipboard as the platform keeps it: one text, nothing recorded.
class BenchClipboard : public v5::RunClipboard {
public:
    explicit BenchClipboard(std::string& content) : content_(content) {}
    std::string text() override { return content_; }
    void setText(const std::string& text) override { content_ = text; }

private:
    std::string& content_;
};

void BM_Run(benchmark::State& bench) {
    // glibc hands blocks above its threshold straight back to the system, so every 16 MB text
    // would be fresh memory, faulted in page by page, while 1 MB texts reuse the warm heap; keep
    // both on the heap so that the sizes compare the run's own work.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    v5::testing::RunWorld w;
    BenchClipboard clipboard(w.clipboard.content);
    w.mailerText = Body(static_cast<std::size_t>(bench.range(0)));
    const std::string original = w.mailerText;
    v5::ProcessingRun run({w.state, w.diagnostics, v5::RunOptionsOf(w.options), w.PGPBusyHwnd, w.screen, clipboard,
                           w.progress, w.mailer, w.pgp, w.dialogs,
                           [](const std::string& path) { std::remove(path.c_str()); }});
    w.mailer.driver = [&](const std::string& command) {
        bench.PauseTiming();
        w.Driver(command);
        bench.ResumeTiming();
    };
    w.pgp.answer = [&](const std::string& s) {
        bench.PauseTiming();
        const bool ok = w.Pgp(s);
        bench.ResumeTiming();
        return ok;
    };
    for (auto _ : bench) {
        run.MainPGP(true);
        bench.PauseTiming();
        if (w.mailerText == original) bench.SkipWithError("nothing was written back");
        w.mailerText = original;
        w.progress.positions.clear();
        // The log grows by three lines a run; start each from nothing.
        std::remove(w.diagnostics.LogPath().c_str());
        bench.ResumeTiming();
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) * bench.range(0));
}
BENCHMARK(BM_Run)->Arg(1 << 10)->Arg(1 << 20)->Arg(8 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

void BM_WipeFile(benchmark::State& bench) {
    v5::testing::TempDir dir;
    const std::string path = dir / "tmpmfd.tmp";
    const std::string content = Body(static_cast<std::size_t>(bench.range(0)));
    for (auto _ : bench) {
        bench.PauseTiming();
        v5::WriteFileStringOrThrow(path, content);
        bench.ResumeTiming();
        v5::WipeFile(path);
    }
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations()) * bench.range(0));
}
BENCHMARK(BM_WipeFile)->Arg(1 << 10)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
