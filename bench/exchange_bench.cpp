// (a) Driver time per exchange against the unpaced simulator, and its share of the time the same
// bytes need on the line at 9600 and 115200 baud.
#include <benchmark/benchmark.h>

#include "bench_printer.h"

namespace zorfp::bench {
namespace {

void Exchange(benchmark::State& state, const Bytes& command) {
  BenchPrinter printer(VariantId::k05_03, /*pace=*/false, 115200);
  const std::size_t before = printer.wire_bytes();
  for (auto _ : state) {
    if (!printer.driver().Execute(command)) state.SkipWithError("the printer did not execute the command");
  }
  const double bytes = static_cast<double>(printer.wire_bytes() - before) / static_cast<double>(state.iterations());
  // Per exchange: bytes on the wire, and the time the line itself needs for them. The driver's
  // share of the line time is the measured time per exchange over these.
  state.counters["wire_bytes"] = bytes;
  state.counters["line_us_9600"] = bytes * 10.0 / 9600 * 1e6;
  state.counters["line_us_115200"] = bytes * 10.0 / 115200 * 1e6;
}

// The status request: a short frame and the longest routine answer.
void BM_StatusExchange(benchmark::State& state) { Exchange(state, {0x00}); }
// The line feed: the shortest frame and answer there are.
void BM_LineFeedExchange(benchmark::State& state) { Exchange(state, {0x0E}); }

BENCHMARK(BM_StatusExchange)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineFeedExchange)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zorfp::bench

BENCHMARK_MAIN();
