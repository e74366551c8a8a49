#include "sim/device_port.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace zorfp::sim {

DevicePort::DevicePort(const std::string& device, const std::string& link, int baud) : device_(device) {
  fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "cannot open " + device);
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) {
    const int err = errno;
    ::close(fd_);
    throw std::system_error(err, std::generic_category(), device + " is not a terminal");
  }
  ::cfmakeraw(&t);
  t.c_cflag |= CLOCAL | CREAD;
  t.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
  t.c_iflag &= ~(IXON | IXOFF | IXANY);
  ::cfsetspeed(&t, SpeedConstant(baud));
  ::tcsetattr(fd_, TCSANOW, &t);
  ::tcflush(fd_, TCIOFLUSH);
  try {
    if (!link.empty()) link_ = PublishedLink(link, device);
  } catch (...) {
    ::close(fd_);
    throw;
  }
}

DevicePort::~DevicePort() {
  link_ = PublishedLink();
  ::close(fd_);
}

void DevicePort::SetLineRate(int baud) {
  termios t{};
  ::tcdrain(fd_);
  if (::tcgetattr(fd_, &t) != 0) return;
  ::cfsetspeed(&t, SpeedConstant(baud));
  ::tcsetattr(fd_, TCSANOW, &t);
}

}  // namespace zorfp::sim
