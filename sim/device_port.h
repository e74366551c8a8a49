// An existing serial device the simulator serves, such as one end of a null-modem cable.
#pragma once

#include <string>

#include "sim/port.h"

namespace zorfp::sim {

class DevicePort : public Port {
 public:
  // Opens `device` raw, 8N1, no flow control, at `baud`; when `link` is not empty, also publishes a
  // symbolic link to the device there. Throws std::system_error.
  DevicePort(const std::string& device, const std::string& link, int baud);
  ~DevicePort() override;
  DevicePort(const DevicePort&) = delete;
  DevicePort& operator=(const DevicePort&) = delete;

  int fd() const override { return fd_; }
  std::string path() const override { return link_.link().empty() ? device_ : link_.link(); }
  // Waits for the answer to leave at the old rate, then switches.
  void SetLineRate(int baud) override;

 private:
  int fd_ = -1;
  std::string device_;
  PublishedLink link_;
};

}  // namespace zorfp::sim
