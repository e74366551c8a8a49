// A driver object on a simulated printer, and a count of the bytes that crossed the wire; the
// pieces the benchmarks compare it with.
#pragma once

#include <memory>
#include <string>

#include "driver/driver.h"
#include "sim/simulator.h"

namespace zorfp::bench {

class BenchPrinter {
 public:
  // `pace`: the simulator answers no faster than `baud` allows.
  BenchPrinter(VariantId id, bool pace, int baud);
  ~BenchPrinter();

  Driver& driver() { return *driver_; }
  sim::Simulator& simulator() { return *sim_; }

  // Bytes written and read on the driver's port since it was opened, resends included.
  std::size_t wire_bytes() const { return *wire_bytes_; }

 private:
  std::shared_ptr<std::size_t> wire_bytes_ = std::make_shared<std::size_t>(0);
  std::unique_ptr<sim::Simulator> sim_;
  std::unique_ptr<Driver> driver_;
};

// A printer in memory that answers every frame at once with the same bytes, so that only the
// driver's own work is left to measure. The driver does not compare the echoed sequence number,
// and the answer's checksum covers its own bytes, so one answer serves every frame.
class CannedPrinter final : public SerialPort {
 public:
  explicit CannedPrinter(Bytes answer) : answer_(std::move(answer)) {}
  bool GetLineSettings(LineSettings&) override { return true; }
  bool SetLineSettings(const LineSettings&) override { return true; }
  bool GetTimeouts(PortTimeouts&) override { return true; }
  bool SetTimeouts(const PortTimeouts&) override { return true; }
  void Purge(bool input, bool) override {
    if (input) next_ = answer_.size();
  }
  std::size_t Write(const Bytes& frame) override {
    next_ = 0;
    return frame.size();
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (next_ == answer_.size()) return std::nullopt;
    return answer_[next_++];
  }
  bool Close() override { return true; }

 private:
  Bytes answer_;
  std::size_t next_ = 0;
};

// A driver object whose port is a CannedPrinter.
std::unique_ptr<Driver> DriverOnCannedPrinter(VariantId id, const Bytes& answer);

// CPU time of the calling thread: what the driver spends, without the simulator's thread.
double ThreadCpuSeconds();

// Seconds the line itself needs for `bytes` at `baud` (ten bits a byte).
inline double LineSeconds(std::size_t bytes, int baud) { return static_cast<double>(bytes) * 10.0 / baud; }

// A private folder for the exchange log, removed with the object.
class LogFolder {
 public:
  LogFolder();
  ~LogFolder();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zorfp::bench
