// A window search and a text window pick over a fake desktop of 10,000 windows in 20
// top-level trees. Target: under 2 ms per walk.
#include <benchmark/benchmark.h>

#include "drivers/builtin_driver.h"
#include "drivers/winop.h"
#include "fakes/fake_desktop.cpp"  // the fake is not part of the core library
#include "base/diagnostics.h"
#include "base/file_routines.h"
#include "fakes/fake_shell.h"
#include "temp_dir.h"

namespace {

using v5::fakes::WindowSpec;

WindowSpec Spec(std::string title, std::string className, std::uint32_t style, v5::ScreenRect rect) {
    WindowSpec spec;
    spec.title = std::move(title);
    spec.className = std::move(className);
    spec.style = style;
    spec.rect = rect;
    return spec;
}

// 20 mailer-like trees of 500 windows each: a frame holding 7 panes of 10 groups of 6 controls,
// a text window and a status bar.
v5::fakes::FakeDesktop& Desktop10k() {
    static v5::fakes::FakeDesktop desktop;
    if (desktop.windowCount() > 0) return desktop;
    for (int t = 0; t < 20; ++t) {
        const v5::WindowHandle frame =
            desktop.add(Spec("Mailer window number " + std::to_string(t), "TMainFrame", 0x16CF0000, {0, 0, 800, 600}));
        for (int p = 0; p < 7; ++p) {
            const v5::WindowHandle pane = desktop.add(Spec("", "TPanel", 0x56000000, {0, 0, 780, 80}), frame);
            for (int g = 0; g < 10; ++g) {
                const v5::WindowHandle group = desktop.add(Spec("Group", "TGroupBox", 0x56000000, {0, 0, 300, 60}), pane);
                for (int c = 0; c < 6; ++c)
                    desktop.add(Spec("Control " + std::to_string(c), c % 2 ? "Button" : "Edit", 0x50010000, {0, 0, 90, 20}),
                                group);
            }
        }
        desktop.add(Spec("", "RichEdit20A", 0x50200004, {10, 100, 10 + 600 + t, 500}), frame);
        desktop.add(Spec("Ready", "TStatusBar", 0x50000000, {0, 580, 800, 600}), frame);
    }
    return desktop;
}

struct World {
    v5::testing::TempDir dir;
    v5::ShellState state;
    v5::fakes::FakeClock clock;
    v5::fakes::FakeMessageBoxes boxes;
    v5::fakes::FakeApplication app;
    v5::Diagnostics diagnostics{state, clock, boxes, app};
    v5::fakes::FakeClipboard clipboard;
    v5::fakes::FakeSleeper sleeper;
    v5::fakes::FakeConfirmation confirmation;
    v5::TDataModule19 menus{Desktop10k(), diagnostics};
    v5::BuiltInDriver driver{{state, diagnostics, Desktop10k(), clipboard, sleeper, boxes, confirmation, menus}};
    World() {
        state.InstallDir = dir.path();
        state.DriverDir = dir.path() + "drivers";
        v5::WriteFileStringOrThrow(state.DriverDir + "\\GetSet.AC", "Edit\r\nRichEdit20A\r\nRichEdit20W\r\n");
        v5::WriteFileStringOrThrow(state.DriverDir + "\\SelAll.AC", "RICHEDIT\r\n");
    }
};

void BM_FindWindowByCriteria(benchmark::State& state) {
    v5::fakes::FakeMessageBoxes boxes;
    v5::TDataModule18 search(Desktop10k(), boxes);
    v5::WINDOW criteria;
    criteria.ClassMatch.Exact = "PGPtray_Hidden_Window";  // on no window: the whole desktop is walked
    for (auto _ : state) benchmark::DoNotOptimize(search.FindWindowByCriteria(criteria));
    state.counters["windows"] = static_cast<double>(Desktop10k().windowCount());
}
BENCHMARK(BM_FindWindowByCriteria)->Unit(benchmark::kMillisecond);

void BM_FindMailerWindowTitle(benchmark::State& state) {
    v5::fakes::FakeMessageBoxes boxes;
    v5::TDataModule18 search(Desktop10k(), boxes);
    for (auto _ : state) benchmark::DoNotOptimize(search.FindMailerWindowTitle("no such mailer"));
}
BENCHMARK(BM_FindMailerWindowTitle)->Unit(benchmark::kMillisecond);

void BM_PickTextWindow(benchmark::State& state) {
    World world;
    for (auto _ : state) benchmark::DoNotOptimize(world.driver.PickTextWindow());
    world.confirmation.shown.clear();
}
BENCHMARK(BM_PickTextWindow)->Unit(benchmark::kMillisecond);

}  // namespace
