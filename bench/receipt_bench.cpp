// (b) A 100-item receipt against the simulator paced at the line rate, as a ratio to the line-rate
// limit: the time the receipt's bytes need on the wire (bytes x 10 / baud) over the time it took.
// A ratio of 1 would mean the driver adds nothing to what the line itself costs. Beside it, the
// driver thread's CPU per exchange and its share of the exchange's line time.
//
//   receipt_bench [items [runs]]     (100 items, 3 runs at each rate; the median run is marked)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_printer.h"
#include "commands/items.h"
#include "commands/payment.h"
#include "errors/codepage.h"

namespace zorfp::bench {
namespace {

struct Run {
  int baud;
  int exchanges;
  std::size_t bytes;
  double seconds;
  double cpu_seconds;

  double limit() const { return LineSeconds(bytes, baud); }
  double ratio() const { return limit() / seconds; }
  double cpu_per_exchange() const { return cpu_seconds / exchanges; }
  double cpu_share() const { return cpu_seconds / limit(); }
};

Run Receipt(int baud, int items) {
  BenchPrinter printer(VariantId::k05_03, /*pace=*/true, baud);
  Driver& d = printer.driver();
  const AnsiString name = Utf8ToAnsi("Хліб житній");
  const std::size_t before = printer.wire_bytes();
  int exchanges = 0;
  const double cpu = ThreadCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < items; ++i) {
    if (!FPSale(d, 1000, 3, false, 1250 + i, 0, false, name, 4820000000000ULL + i)) {
      std::fprintf(stderr, "item %d refused: result %d\n", i, d.call().ReportedResult);
      std::exit(1);
    }
    ++exchanges;
  }
  if (!FPPayment(d, 3, 10'000'000, true, true)) {
    std::fprintf(stderr, "payment refused: result %d\n", d.call().ReportedResult);
    std::exit(1);
  }
  ++exchanges;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return {baud, exchanges, printer.wire_bytes() - before, took.count(), ThreadCpuSeconds() - cpu};
}

}  // namespace
}  // namespace zorfp::bench

int main(int argc, char** argv) {
  using namespace zorfp::bench;
  const int items = argc > 1 ? std::atoi(argv[1]) : 100;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  std::printf("%-7s %9s %6s %8s %12s %7s %16s %12s\n", "baud", "exchanges", "bytes", "took_s", "line_limit_s",
              "ratio", "cpu_us/exchange", "cpu_of_line");
  for (int baud : {9600, 115200}) {
    std::vector<Run> done;
    for (int i = 0; i < runs; ++i) done.push_back(Receipt(baud, items));
    std::vector<Run> sorted = done;
    std::sort(sorted.begin(), sorted.end(), [](const Run& a, const Run& b) { return a.ratio() < b.ratio(); });
    const double median = sorted[sorted.size() / 2].ratio();
    bool marked = false;
    for (const Run& r : done) {
      const bool is_median = !marked && r.ratio() == median;
      marked = marked || is_median;
      std::printf("%-7d %9d %6zu %8.3f %12.3f %7.3f %16.1f %11.2f%%%s\n", r.baud, r.exchanges, r.bytes, r.seconds,
                  r.limit(), r.ratio(), r.cpu_per_exchange() * 1e6, r.cpu_share() * 100, is_median ? "  median" : "");
    }
  }
  return 0;
}
