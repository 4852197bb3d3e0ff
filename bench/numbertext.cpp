// Per-call cost of the number rules that run on every keystroke.
#include "conversion/NumberText.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "conversion/ConvertText.h"

namespace {

void BM_ReadNumber(benchmark::State& state) {
  const std::string texts[] = {"5", "123456.7", "-1.5e-7", "0.333333333333333"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantrel::ReadNumber(texts[i++ & 3]));
  }
}
BENCHMARK(BM_ReadNumber);

void BM_FormatNumber(benchmark::State& state) {
  const vantrel::Extended values[] = {5000.0L, 1.0L / 3.0L, 1.23456789012346e15L, -1.5e-7L};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vantrel::FormatNumber(values[i++ & 3]));
  }
}
BENCHMARK(BM_FormatNumber);

void BM_ConvertText(benchmark::State& state) {
  const std::vector<std::string> ratios = {"1", "1000", "0.0254", "0.3048", "1609.344"};
  const std::string inputs[] = {"5", "123456.7", "100", "-2.5"};
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++;
    benchmark::DoNotOptimize(
        vantrel::ConvertText(inputs[k & 3], ratios, static_cast<int>(k % 5), 3));
  }
}
BENCHMARK(BM_ConvertText);

}  // namespace

BENCHMARK_MAIN();
