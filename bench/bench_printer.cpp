#include "bench_printer.h"

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

}  // namespace zorfp::bench
