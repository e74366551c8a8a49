// A pseudo-terminal the simulator creates: it keeps the master, the host opens the slave.
#pragma once

#include <string>

#include "sim/port.h"

namespace zorfp::sim {

class PtyPort : public Port {
 public:
  // Creates the pty in raw mode and, when `link` is not empty, a symbolic link to its slave.
  // Throws std::system_error.
  PtyPort(const std::string& link, int baud);
  ~PtyPort() override;
  PtyPort(const PtyPort&) = delete;
  PtyPort& operator=(const PtyPort&) = delete;

  int fd() const override { return master_; }
  std::string path() const override { return link_.link().empty() ? slave_name_ : link_.link(); }
  // The rate only paces the simulator's answers; the host sets its own side when it reopens.
  void SetLineRate(int baud) override {}

  const std::string& slave_name() const { return slave_name_; }

 private:
  int master_ = -1;
  std::string slave_name_;
  PublishedLink link_;
};

}  // namespace zorfp::sim
