// (a) What one exchange costs the driver, next to what the same bytes need on the line.
//
//   Exchange: the driver against the unpaced simulator on a pseudo-terminal (an upper bound: the
//             pty round trip and the simulator's work are in the time);
//   BarePty:  the same frame and answer by hand on the same pty, with the system calls a driver
//             cannot do without (purge, write, wait, read): the floor under the first;
//   InMemory: the driver against a printer in memory giving the same answer: its own work alone
//             (for a sale, the whole member as the receipt benchmark calls it);
//   LogRecord: the exchange log on against off, on the printer in memory: the cost of one record.
//
// CPU is the calling thread's, so the simulator's thread is not counted; cpu_pct_115200 is that
// CPU as a share of the time the exchange's bytes need on the line at 115200 baud.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "bench_printer.h"
#include "commands/items.h"
#include "driver/module.h"
#include "errors/codepage.h"
#include "link/frame.h"

namespace zorfp::bench {
namespace {

const Bytes kStatus{0x00};    // a short frame and the longest routine answer
const Bytes kLineFeed{0x0E};  // the shortest frame and answer there are

struct Sample {
  Bytes frame;   // as the driver sent it
  Bytes answer;  // as the driver collected it
};

// One exchange with the simulator, to learn the exact bytes of both directions.
Sample Capture(const Bytes& command) {
  BenchPrinter printer(VariantId::k05_03, /*pace=*/false, 115200);
  if (!printer.driver().Execute(command)) throw std::runtime_error("the printer did not execute the command");
  return {TheModule().link.SentFrame, TheModule().link.RawAnswer};
}

void LineCounters(benchmark::State& state, double wire_bytes, double cpu_seconds) {
  const double per = cpu_seconds / static_cast<double>(state.iterations());
  const double line_115200 = LineSeconds(1, 115200) * wire_bytes;
  state.counters["wire_bytes"] = wire_bytes;
  state.counters["line_us_9600"] = LineSeconds(1, 9600) * wire_bytes * 1e6;
  state.counters["line_us_115200"] = line_115200 * 1e6;
  state.counters["cpu_us"] = per * 1e6;
  state.counters["cpu_pct_115200"] = per / line_115200 * 100.0;
}

void Exchange(benchmark::State& state, const Bytes& command) {
  BenchPrinter printer(VariantId::k05_03, /*pace=*/false, 115200);
  const std::size_t before = printer.wire_bytes();
  const double cpu = ThreadCpuSeconds();
  for (auto _ : state) {
    if (!printer.driver().Execute(command)) state.SkipWithError("the printer did not execute the command");
  }
  const double spent = ThreadCpuSeconds() - cpu;
  LineCounters(state, static_cast<double>(printer.wire_bytes() - before) / static_cast<double>(state.iterations()),
               spent);
}

void BarePty(benchmark::State& state, const Bytes& command) {
  const Sample sample = Capture(command);
  sim::SimulatorOptions o;
  o.variant = sim::Variant::k0503;
  o.baud = 115200;
  sim::Simulator sim(o);
  sim.Start();
  const int fd = ::open(sim.path().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  termios tio{};
  ::tcgetattr(fd, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(fd, TCSANOW, &tio);
  Byte seq = 0;
  Bytes frame;
  Bytes answer;
  Byte buf[256];
  const double cpu = ThreadCpuSeconds();
  for (auto _ : state) {
    BuildFrame(++seq, command, frame);  // a new number each time, as the driver's frames have
    ::tcflush(fd, TCIOFLUSH);
    if (::write(fd, frame.data(), frame.size()) != static_cast<ssize_t>(frame.size())) state.SkipWithError("write");
    answer.clear();
    while (!EndsWithFrameEnd(answer)) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 1000) <= 0) {
        state.SkipWithError("no answer");
        break;
      }
      const ssize_t n = ::read(fd, buf, sizeof buf);
      if (n > 0) answer.insert(answer.end(), buf, buf + n);
    }
  }
  const double spent = ThreadCpuSeconds() - cpu;
  ::close(fd);
  sim.Stop();
  LineCounters(state, static_cast<double>(sample.frame.size() + sample.answer.size()), spent);
}

void InMemory(benchmark::State& state, const Bytes& command) {
  const Sample sample = Capture(command);
  const auto d = DriverOnCannedPrinter(VariantId::k05_03, sample.answer);
  const double cpu = ThreadCpuSeconds();
  for (auto _ : state) {
    if (!d->Execute(command)) state.SkipWithError("the canned answer was refused");
  }
  const double spent = ThreadCpuSeconds() - cpu;
  LineCounters(state, static_cast<double>(sample.frame.size() + sample.answer.size()), spent);
}

// A sale as the receipt benchmark sends it, the whole member: checks, command, exchange, reply.
bool Sale(Driver& d) {
  static const AnsiString name = Utf8ToAnsi("Хліб житній");
  return FPSale(d, 1000, 3, false, 1250, 0, false, name, 4820000000000ULL);
}

void SaleInMemory(benchmark::State& state) {
  Sample sample;
  {
    BenchPrinter printer(VariantId::k05_03, /*pace=*/false, 115200);
    if (!Sale(printer.driver())) throw std::runtime_error("the printer refused the sale");
    sample = {TheModule().link.SentFrame, TheModule().link.RawAnswer};
  }
  const auto d = DriverOnCannedPrinter(VariantId::k05_03, sample.answer);
  const double cpu = ThreadCpuSeconds();
  for (auto _ : state) {
    if (!Sale(*d)) state.SkipWithError("the canned answer was refused");
  }
  const double spent = ThreadCpuSeconds() - cpu;
  LineCounters(state, static_cast<double>(sample.frame.size() + sample.answer.size()), spent);
}

// Every iteration runs one exchange with the log off and one with it on (a send and a receive
// record), so that both are measured side by side under the same conditions.
void LogRecord(benchmark::State& state) {
  const Sample sample = Capture(kLineFeed);
  LogFolder folder;
  Module& m = TheModule();
  m.env.log_folder = folder.path();
  const auto d = DriverOnCannedPrinter(VariantId::k05_03, sample.answer);
  double off = 0, on = 0;
  for (auto _ : state) {
    m.settings.LogRecord = false;
    const auto t0 = std::chrono::steady_clock::now();
    d->Execute(kLineFeed);
    m.settings.LogRecord = true;
    const auto t1 = std::chrono::steady_clock::now();
    d->Execute(kLineFeed);
    const auto t2 = std::chrono::steady_clock::now();
    off += std::chrono::duration<double>(t1 - t0).count();
    on += std::chrono::duration<double>(t2 - t1).count();
  }
  m.settings.LogRecord = false;
  m.env.log_folder.clear();
  const double n = static_cast<double>(state.iterations());
  state.counters["us_exchange_log_off"] = off / n * 1e6;
  state.counters["us_exchange_log_on"] = on / n * 1e6;
  state.counters["us_per_record"] = (on - off) / n / 2 * 1e6;
}

void BM_StatusExchange(benchmark::State& state) { Exchange(state, kStatus); }
void BM_LineFeedExchange(benchmark::State& state) { Exchange(state, kLineFeed); }
void BM_StatusBarePty(benchmark::State& state) { BarePty(state, kStatus); }
void BM_LineFeedBarePty(benchmark::State& state) { BarePty(state, kLineFeed); }
void BM_StatusInMemory(benchmark::State& state) { InMemory(state, kStatus); }
void BM_LineFeedInMemory(benchmark::State& state) { InMemory(state, kLineFeed); }
void BM_SaleInMemory(benchmark::State& state) { SaleInMemory(state); }
void BM_LogRecord(benchmark::State& state) { LogRecord(state); }

BENCHMARK(BM_StatusExchange)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StatusBarePty)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StatusInMemory)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineFeedExchange)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineFeedBarePty)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LineFeedInMemory)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SaleInMemory)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogRecord)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zorfp::bench

BENCHMARK_MAIN();
