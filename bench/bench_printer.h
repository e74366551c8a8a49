// A driver object on a simulated printer, and a count of the bytes that crossed the wire.
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

// Seconds the line itself needs for `bytes` at `baud` (ten bits a byte).
inline double LineSeconds(std::size_t bytes, int baud) { return static_cast<double>(bytes) * 10.0 / baud; }

}  // namespace zorfp::bench
