#include <benchmark/benchmark.h>

#include <string>

#include "generated_input.h"
#include "text/markup_compressor.h"
#include "text/style_sheet_compressor.h"

namespace quorva {
namespace {

// Large enough that the figure is the compressor's, not the cache's warm-up.
constexpr std::size_t kInputSize = 8 * 1000 * 1000;

// Input bytes per second in decimal units (M = 10^6), beside the library's binary figure.
void ReportThroughput(benchmark::State& state, std::size_t input_size) {
  auto bytes = static_cast<double>(state.iterations()) * static_cast<double>(input_size);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["throughput"] =
      benchmark::Counter(bytes, benchmark::Counter::kIsRate, benchmark::Counter::kIs1000);
}

void CompressMarkupTextBench(benchmark::State& state) {
  const std::string input = GenerateMarkup(kInputSize);
  for (auto _ : state) {
    std::string output = CompressMarkupText(input);
    benchmark::DoNotOptimize(output.data());
  }
  ReportThroughput(state, input.size());
}
BENCHMARK(CompressMarkupTextBench)->Unit(benchmark::kMillisecond);

void CompressStyleSheetTextBench(benchmark::State& state) {
  const std::string input = GenerateStyleSheet(kInputSize);
  for (auto _ : state) {
    std::string output = CompressStyleSheetText(input);
    benchmark::DoNotOptimize(output.data());
  }
  ReportThroughput(state, input.size());
}
BENCHMARK(CompressStyleSheetTextBench)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorva

BENCHMARK_MAIN();
