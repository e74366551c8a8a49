#include "bench_printer.h"

#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "driver/members.h"
#include "variants/traits.h"

namespace zorfp::bench {
namespace {

// The real port, counting what passes through it.
class CountingPort final : public SerialPort {
 public:
  CountingPort(std::unique_ptr<SerialPort> port, std::shared_ptr<std::size_t> count)
      : port_(std::move(port)), count_(std::move(count)) {}
  bool GetLineSettings(LineSettings& out) override { return port_->GetLineSettings(out); }
  bool SetLineSettings(const LineSettings& s) override { return port_->SetLineSettings(s); }
  bool GetTimeouts(PortTimeouts& out) override { return port_->GetTimeouts(out); }
  bool SetTimeouts(const PortTimeouts& t) override { return port_->SetTimeouts(t); }
  void Purge(bool input, bool output) override { port_->Purge(input, output); }
  std::size_t Write(const Bytes& bytes) override {
    const std::size_t n = port_->Write(bytes);
    *count_ += n;
    return n;
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds cap) override {
    const auto b = port_->ReadByte(cap);
    if (b) ++*count_;
    return b;
  }
  bool Close() override { return port_->Close(); }

 private:
  std::unique_ptr<SerialPort> port_;
  std::shared_ptr<std::size_t> count_;
};

}  // namespace

BenchPrinter::BenchPrinter(VariantId id, bool pace, int baud) {
  sim::SimulatorOptions o;
  o.variant = *sim::ParseVariant(Traits(id).tag);
  o.link_path = (std::filesystem::temp_directory_path() / ("zorfp-bench-" + std::to_string(::getpid()))).string();
  o.pace = pace;
  o.baud = baud;
  sim_ = std::make_unique<sim::Simulator>(o);
  sim_->Start();
  Module& m = TheModule();
  m.settings.AnswerWaiting = 20;  // a paced long answer at 9600 takes well over 290 ms
  m.open_port = [count = wire_bytes_](const std::string& name) -> std::unique_ptr<SerialPort> {
    auto port = OpenSerialPort(name);
    if (!port) return nullptr;
    return std::make_unique<CountingPort>(std::move(port), count);
  };
  driver_ = std::make_unique<Driver>(Traits(id));
  if (!FPInitEx(*driver_, sim_->path(), static_cast<std::uint32_t>(baud), 1, 1)) {
    throw std::runtime_error("cannot open " + sim_->path());
  }
}

BenchPrinter::~BenchPrinter() {
  FPClose(*driver_);
  sim_->Stop();
  TheModule().open_port = &OpenSerialPort;
}

std::unique_ptr<Driver> DriverOnCannedPrinter(VariantId id, const Bytes& answer) {
  Module& m = TheModule();
  m.open_port = [answer](const std::string&) -> std::unique_ptr<SerialPort> {
    return std::make_unique<CannedPrinter>(answer);
  };
  auto d = std::make_unique<Driver>(Traits(id));
  const bool opened = FPInitEx(*d, "memory", 115200, 1, 1);
  m.open_port = &OpenSerialPort;
  if (!opened) throw std::runtime_error("cannot open the printer in memory");
  return d;
}

double ThreadCpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

LogFolder::LogFolder()
    : path_((std::filesystem::temp_directory_path() / ("zorfp-bench-log-" + std::to_string(::getpid()))).string()) {
  std::filesystem::remove_all(path_);
}

LogFolder::~LogFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace zorfp::bench
