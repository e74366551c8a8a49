#include "sim/simulator.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "sim/device_port.h"
#include "sim/pty.h"
#include "sim/tape.h"

namespace zorfp::sim {

Simulator::Simulator(SimulatorOptions options) : options_(std::move(options)), engine_(options_) {}

Simulator::~Simulator() {
  Stop();
}

void Simulator::Start() {
  if (running()) return;
  if (!options_.tape_path.empty() && !tape_) {
    tape_ = std::make_unique<Tape>(options_.tape_path);
    engine_.WithModel([tape = tape_.get()](PrinterModel& m) {
      m.printing.tape = [tape](std::string_view line) { tape->Line(line); };
    });
  }
  if (options_.device_path.empty()) {
    port_ = std::make_unique<PtyPort>(options_.link_path, options_.baud);
  } else {
    port_ = std::make_unique<DevicePort>(options_.device_path, options_.link_path, options_.baud);
  }
  path_ = port_->path();
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
    port_.reset();
    throw std::system_error(errno, std::generic_category(), "pipe2");
  }
  wake_read_ = fds[0];
  wake_write_ = fds[1];
  thread_ = std::thread([this] { engine_.Run(*port_, wake_read_); });
}

bool Simulator::Stop() {
  if (!running()) return true;
  const char wake = 1;
  while (::write(wake_write_, &wake, 1) < 0 && errno == EINTR) {
  }
  thread_.join();
  ::close(wake_read_);
  ::close(wake_write_);
  wake_read_ = wake_write_ = -1;
  port_.reset();
  return WriteStateFile();
}

bool Simulator::WriteStateFile() const {
  return options_.state_path.empty() || WriteStateFile(options_.state_path);
}

bool Simulator::WriteStateFile(const std::string& path) const {
  // Written beside and renamed over, so that a reader never sees half a file.
  const std::string temp = path + ".tmp";
  const std::string json = StateJson();
  std::FILE* f = std::fopen(temp.c_str(), "we");
  if (!f) return false;
  const bool written = std::fwrite(json.data(), 1, json.size(), f) == json.size();
  if (std::fclose(f) != 0 || !written) {
    std::remove(temp.c_str());
    return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace zorfp::sim
