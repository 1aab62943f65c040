// Vast texts in the boxes: time per megabyte of the number parser and of a
// whole calculation, at 1, 4 and 16 MB. A flat time per megabyte across the
// sizes shows that no step is quadratic.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/damage_calculation.h"
#include "core/number_text.h"
#include "core/report.h"

#ifdef KARBELON_BENCH_BATCH_LINE
#include "cli/batch_line.h"
#endif

namespace {

constexpr std::int64_t megabyte = std::int64_t{1024} * 1024;

std::string repeated(std::string_view pattern, std::int64_t megabytes) {
    const auto bytes = static_cast<std::size_t>(megabytes * megabyte);
    std::string text;
    text.reserve(bytes + pattern.size());
    while (text.size() < bytes) {
        text += pattern;
    }
    return text;
}

// Seconds per megabyte, next to the usual bytes per second.
void countMegabytes(benchmark::State& state, std::size_t bytesPerIteration) {
    const auto bytes = static_cast<std::int64_t>(bytesPerIteration);
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["s/MB"] = benchmark::Counter(
        static_cast<double>(bytes) / static_cast<double>(megabyte),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void parse(benchmark::State& state, std::string_view pattern) {
    const std::string text = repeated(pattern, state.range(0));
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts
    for (auto _ : state) {
        benchmark::DoNotOptimize(karbelon::toNumber(text));
    }
    countMegabytes(state, text.size());
}

void BM_ParseDigits(benchmark::State& state) {
    parse(state, "1234567890");
}
void BM_ParseGroupedDigits(benchmark::State& state) {
    parse(state, "123,");  // one group short at the end: read to the last byte, then refused
}
void BM_ParseBlanks(benchmark::State& state) {
    parse(state, " ");
}
BENCHMARK(BM_ParseDigits)->RangeMultiplier(4)->Range(1, 16);
BENCHMARK(BM_ParseGroupedDigits)->RangeMultiplier(4)->Range(1, 16);
BENCHMARK(BM_ParseBlanks)->RangeMultiplier(4)->Range(1, 16);

// One press of the calculate button with a vast text in every box: each
// check reads its whole text, and the mana, all digits, is converted.
void BM_CalculateAllBoxesHuge(benchmark::State& state) {
    const karbelon::DamageInputs inputs{
        repeated("카르벨론", state.range(0)),
        repeated("0", state.range(0)) + "650000",
        repeated("0", state.range(0)) + "900000",
        "-100." + repeated("0", state.range(0)),
    };
    const karbelon::NumberConventions conventions;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts
    for (auto _ : state) {
        const auto outcome = karbelon::calculateDamage(inputs, conventions);
        benchmark::DoNotOptimize(karbelon::buildReport(outcome.figures, conventions));
    }
    countMegabytes(
        state, inputs.spell.size() + inputs.hp.size() + inputs.mp.size() + inputs.defence.size());
}
BENCHMARK(BM_CalculateAllBoxesHuge)->RangeMultiplier(4)->Range(1, 16);

#ifdef KARBELON_BENCH_BATCH_LINE
// The same request as one karbelon-cli batch line: UTF-8 check, JSON, core.
void BM_BatchLineHuge(benchmark::State& state) {
    const std::string line = R"({"spell":")" + repeated("카르벨론", state.range(0)) +
                             R"(","hp":")" + repeated("0", state.range(0)) + R"(650000","mp":")" +
                             repeated("0", state.range(0)) + R"(900000","defence":"-100.)" +
                             repeated("0", state.range(0)) + R"("})";
    const karbelon::NumberConventions conventions;
    std::string answer;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts
    for (auto _ : state) {
        answer.clear();
        benchmark::DoNotOptimize(karbelon::cli::appendBatchAnswer(answer, line, conventions));
    }
    countMegabytes(state, line.size());
}
BENCHMARK(BM_BatchLineHuge)->RangeMultiplier(4)->Range(1, 16);
#endif

}  // namespace
