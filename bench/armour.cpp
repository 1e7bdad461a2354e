// Speed of the armour recogniser and repair on large texts full of armour lines.
#include <benchmark/benchmark.h>

#include <string>

#include "base/armour.h"
#include "base/armour_reference.h"

namespace {

constexpr std::size_t kSixteenMB = 16u << 20;

const char* const kBase64Line = "hQEMA3nX0f8Y2b1cAQf/WvTq9mR5cJx1kB7pYz4aQn2LwE8sHfU3oVd6gKiMtCr0\r\n";
const char* const kProse = "Thanks for the figures; I will look at them again on Monday and call you.\r\n";

// Messages with armour blocks of every kind, one blank before each armour line when `indent`.
// The text never holds the footer of a key block, so classifying it must read to the end.
std::string MakeText(std::size_t size, bool indent) {
    const std::string pad = indent ? " " : "";
    const char* const kinds[][2] = {
        {"-----BEGIN PGP MESSAGE-----\r\n", "-----END PGP MESSAGE-----\r\n"},
        {"-----BEGIN PGP SIGNATURE-----\r\n", "-----END PGP SIGNATURE-----\r\n"},
        {"-----BEGIN PGP PUBLIC KEY BLOCK-----\r\n", "\r\n"},
    };
    std::string text;
    text.reserve(size + 4096);
    for (std::size_t block = 0; text.size() < size; ++block) {
        for (int i = 0; i < 6; ++i) text += kProse;
        text += pad + kinds[block % 3][0];
        text += "Version: 5.0\r\n\r\n";
        for (int i = 0; i < 12; ++i) text += kBase64Line;
        text += pad + kinds[block % 3][1];
    }
    text.resize(size);
    return text;
}

std::string MakeProse(std::size_t size) {
    std::string text;
    text.reserve(size + 128);
    while (text.size() < size) text += kProse;
    text.resize(size);
    return text;
}

void Classify(benchmark::State& state, const std::string& text) {
    for (auto _ : state) benchmark::DoNotOptimize(v5::ClassifyPGPText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}

void BM_ClassifyArmouredText(benchmark::State& state) {
    static const std::string text = MakeText(kSixteenMB, false);
    Classify(state, text);
}
BENCHMARK(BM_ClassifyArmouredText)->Unit(benchmark::kMillisecond);

void BM_ClassifyIndentedText(benchmark::State& state) {
    static const std::string text = MakeText(kSixteenMB, true);
    Classify(state, text);
}
BENCHMARK(BM_ClassifyIndentedText)->Unit(benchmark::kMillisecond);

void BM_ClassifyProse(benchmark::State& state) {
    static const std::string text = MakeProse(kSixteenMB);
    Classify(state, text);
}
BENCHMARK(BM_ClassifyProse)->Unit(benchmark::kMillisecond);

void BM_UnwrapIndentedText(benchmark::State& state) {
    static const std::string text = MakeText(kSixteenMB, true);
    for (auto _ : state) benchmark::DoNotOptimize(v5::UnwrapPGPText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
    state.counters["repairs"] = static_cast<double>(text.size() - v5::UnwrapPGPText(text).size());
}
BENCHMARK(BM_UnwrapIndentedText)->Unit(benchmark::kMillisecond);

void BM_UnwrapUnindentedText(benchmark::State& state) {
    static const std::string text = MakeText(kSixteenMB, false);
    for (auto _ : state) benchmark::DoNotOptimize(v5::UnwrapPGPText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_UnwrapUnindentedText)->Unit(benchmark::kMillisecond);

// The replacement loop that searches again from the start after every change, for comparison:
// its time grows with the square of the text's length.
void BM_UnwrapReferenceLoop(benchmark::State& state) {
    const std::string text = MakeText(static_cast<std::size_t>(state.range(0)), true);
    for (auto _ : state) benchmark::DoNotOptimize(v5::testing::ReferenceUnwrapPGPText(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_UnwrapReferenceLoop)->Arg(256 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
