// (b) A 100-item receipt against the simulator paced at the line rate, as a ratio to the line-rate
// limit: the time the receipt's bytes need on the wire (bytes x 10 / baud) over the time it took.
// A ratio of 1 would mean the driver adds nothing to what the line itself costs.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "bench_printer.h"
#include "commands/items.h"
#include "commands/payment.h"
#include "errors/codepage.h"

namespace zorfp::bench {
namespace {

struct Run {
  int baud;
  double seconds;
  std::size_t bytes;
  int exchanges;
};

Run Receipt(int baud, int items) {
  BenchPrinter printer(VariantId::k05_03, /*pace=*/true, baud);
  Driver& d = printer.driver();
  const AnsiString name = Utf8ToAnsi("Хліб житній");
  int exchanges = 0;
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
  return {baud, took.count(), printer.wire_bytes(), exchanges};
}

}  // namespace
}  // namespace zorfp::bench

int main(int argc, char** argv) {
  using namespace zorfp::bench;
  const int items = argc > 1 ? std::atoi(argv[1]) : 100;
  std::printf("%-8s %9s %7s %10s %11s %7s\n", "baud", "exchanges", "bytes", "took_s", "line_limit_s", "ratio");
  for (int baud : {9600, 115200}) {
    const Run r = Receipt(baud, items);
    const double limit = LineSeconds(r.bytes, baud);
    std::printf("%-8d %9d %7zu %10.3f %11.3f %7.3f\n", r.baud, r.exchanges, r.bytes, r.seconds, limit,
                limit / r.seconds);
  }
  return 0;
}
