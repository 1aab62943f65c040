#include <benchmark/benchmark.h>

#include "core/damage_calculation.h"
#include "core/report.h"

namespace {

// One press of the calculate button: check and compute, then the report.
void calculateAndReport(benchmark::State& state, const karbelon::DamageInputs& inputs) {
    const karbelon::NumberConventions conventions;
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts
    for (auto _ : state) {
        const auto outcome = karbelon::calculateDamage(inputs, conventions);
        benchmark::DoNotOptimize(karbelon::buildReport(outcome.figures, conventions));
    }
}

// The window's start values: whole rate and cooldown.
void BM_StartValues(benchmark::State& state) {
    calculateAndReport(state, {"카르벨론", "650000", "900000", "-100"});
}
BENCHMARK(BM_StartValues);

// Grouped digits, a fractional defence, rate and cooldown.
void BM_FractionalFigures(benchmark::State& state) {
    calculateAndReport(state, {"지옥겁화", "650,000", "900000", "-99.5"});
}
BENCHMARK(BM_FractionalFigures);

// A message outcome stops at the checks.
void BM_MessageOutcome(benchmark::State& state) {
    const karbelon::DamageInputs inputs{"카르벨론", "650000", "마력", "-100"};
    // NOLINTNEXTLINE(clang-analyzer-deadcode.DeadStores): the loop variable only counts
    for (auto _ : state) {
        benchmark::DoNotOptimize(karbelon::calculateDamage(inputs));
    }
}
BENCHMARK(BM_MessageOutcome);

}  // namespace
