#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <vector>

#include "core/clearance.h"
#include "core/field_parse.h"

namespace core = velunor::core;

namespace {

using Fields = std::array<std::string, 6>;

const Fields kStartUp{"55", "1.0", "1500", "24", "69", "175"};

void BM_EvaluateStartUp(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::evaluateClearance(kStartUp, true, true));
    }
}
BENCHMARK(BM_EvaluateStartUp);

// What a clinic types, plus the odd slip: metric, imperial, junk, extremes.
const std::vector<std::pair<Fields, bool>> kMixed{
    {{"120", "1.2", "1800", "24", "170", "70"}, false},
    {{"98.5", "0.85", "2350", "24", "65.5", "142.3"}, true},
    {{"1 500", "1,2", "abc", "24", "", "70"}, false},
    {{"12abc", "2.0E-1", "&H5DC", "24.0", "180", "81.6"}, false},
    {{"55", "1e-20", "1500", "1e-20", "69", "175"}, true},
    {{"0.000123456789", "3.3", "125000000", "0.5", "1.4e2", "4.5e1"}, false},
};

void BM_EvaluateMixed(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [fields, imperial] = kMixed[i];
        benchmark::DoNotOptimize(core::evaluateClearance(fields, imperial, imperial));
        i = (i + 1) % kMixed.size();
    }
}
BENCHMARK(BM_EvaluateMixed);

void BM_ParseField(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(core::parseField("1500"));
    }
}
BENCHMARK(BM_ParseField);

void BM_ResultText(benchmark::State& state) {
    float c = 49.96083f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c);
        benchmark::DoNotOptimize(core::resultText(c));
    }
}
BENCHMARK(BM_ResultText);

}  // namespace

BENCHMARK_MAIN();
