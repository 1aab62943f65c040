#include <benchmark/benchmark.h>

#include "core/damage_calculation.h"
#include "core/report.h"

namespace {

// One press of the calculate button: check and compute, then the report.
void BM_CalculateAndReport(benchmark::State& state) {
    const karbelon::DamageInputs inputs{"지옥겁화", "650,000", "900000", "-99.5"};
    const karbelon::NumberConventions conventions;
    for (auto _ : state) {
        const auto outcome = karbelon::calculateDamage(inputs, conventions);
        benchmark::DoNotOptimize(karbelon::buildReport(outcome.figures, conventions));
    }
}
BENCHMARK(BM_CalculateAndReport);

}  // namespace
