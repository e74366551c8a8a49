// Serial port on POSIX: exclusive open (flock + TIOCEXCL), raw 8N1 without flow control,
// DTR and RTS off where the device has modem lines; reads fetch whatever has arrived, and wait,
// bounded by poll(), only when nothing is held.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "link/serial_port.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

struct BaudEntry {
  std::uint32_t rate;
  speed_t code;
};

constexpr BaudEntry kBauds[] = {
    {50, B50},         {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},       {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000},
};

std::optional<speed_t> SpeedCode(std::uint32_t rate) {
  for (const auto& e : kBauds) {
    if (e.rate == rate) return e.code;
  }
  return std::nullopt;
}

std::uint32_t SpeedRate(speed_t code) {
  for (const auto& e : kBauds) {
    if (e.code == code) return e.rate;
  }
  return 0;
}

int ToPollMs(milliseconds ms) {
  return static_cast<int>(std::clamp<long long>(ms.count(), 0, 1 << 30));
}

// The far end hung up: no byte can come, but the caller is owed the wait it asked for, and a
// busy loop must not take its place.
std::optional<Byte> WaitOut(milliseconds left) {
  ::poll(nullptr, 0, ToPollMs(left));
  return std::nullopt;
}

class PosixSerialPort final : public SerialPort {
 public:
  explicit PosixSerialPort(int fd) : fd_(fd) {}
  ~PosixSerialPort() override { Close(); }

  bool GetLineSettings(LineSettings& out) override {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    out.baud_rate = SpeedRate(::cfgetospeed(&tio));
    switch (tio.c_cflag & CSIZE) {
      case CS5: out.byte_size = 5; break;
      case CS6: out.byte_size = 6; break;
      case CS7: out.byte_size = 7; break;
      default: out.byte_size = 8; break;
    }
    out.parity = (tio.c_cflag & PARENB) ? ((tio.c_cflag & PARODD) ? 1 : 2) : 0;
    out.stop_bits = (tio.c_cflag & CSTOPB) ? 2 : 0;
    out.flags = 0;
    return true;
  }

  bool SetLineSettings(const LineSettings& s) override {
    const auto speed = SpeedCode(s.baud_rate);
    if (!speed) return false;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | PARMRK | IGNPAR);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD;
    switch (s.byte_size) {
      case 5: tio.c_cflag |= CS5; break;
      case 6: tio.c_cflag |= CS6; break;
      case 7: tio.c_cflag |= CS7; break;
      default: tio.c_cflag |= CS8; break;
    }
    if (s.parity == 1) tio.c_cflag |= PARENB | PARODD;
    if (s.parity == 2) tio.c_cflag |= PARENB;
    if (s.stop_bits == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, *speed) != 0 || ::cfsetospeed(&tio, *speed) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // A pseudo-terminal has no modem lines; the request then fails and that is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd_, TIOCMBIC, &lines);
    return true;
  }

  bool GetTimeouts(PortTimeouts& out) override {
    out = timeouts_;
    return true;
  }

  bool SetTimeouts(const PortTimeouts& t) override {
    timeouts_ = t;
    return true;
  }

  void Purge(bool input, bool output) override {
    if (input) buffer_.Clear();
    if (input && output) {
      ::tcflush(fd_, TCIOFLUSH);
    } else if (input) {
      ::tcflush(fd_, TCIFLUSH);
    } else if (output) {
      ::tcflush(fd_, TCOFLUSH);
    }
  }

  std::size_t Write(const Bytes& bytes) override {
    const auto per_byte = std::uint64_t{timeouts_.write_total_multiplier};
    const auto constant = std::uint64_t{timeouts_.write_total_constant};
    const bool bounded = per_byte != 0 || constant != 0;
    const auto deadline = steady_clock::now() + milliseconds(constant + per_byte * bytes.size());
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno != EAGAIN) break;
      int wait = -1;
      if (bounded) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0) break;
        wait = ToPollMs(left);
      }
      pollfd p{fd_, POLLOUT, 0};
      if (::poll(&p, 1, wait) <= 0 && errno != EINTR) break;
      if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) break;
    }
    return done;
  }

  std::optional<Byte> ReadByte(milliseconds cap) override {
    if (!buffer_.empty()) return buffer_.Take();
    const auto bound = OneByteReadBound(timeouts_);
    const auto wait = bound ? std::min(*bound, cap) : cap;
    const auto deadline = steady_clock::now() + wait;
    for (;;) {
      // Waiting first and then fetching everything that has arrived costs two calls however many
      // bytes came; when the device is ahead of us the wait returns at once.
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now());
      pollfd p{fd_, POLLIN, 0};
      const int r = ::poll(&p, 1, ToPollMs(left));
      if (r < 0 && errno == EINTR) continue;
      if (r <= 0) return std::nullopt;
      if ((p.revents & POLLIN) == 0) return WaitOut(left);
      const ssize_t n = ::read(fd_, buffer_.space(), ReadBuffer::kSize);
      if (n > 0) {
        buffer_.Filled(static_cast<std::size_t>(n));
        return buffer_.Take();
      }
      if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) {
        if (steady_clock::now() >= deadline) return std::nullopt;
        continue;
      }
      // Nothing after poll reported data, or a real error: the far end is gone.
      return WaitOut(std::chrono::duration_cast<milliseconds>(deadline - steady_clock::now()));
    }
  }

  bool Close() override {
    if (fd_ < 0) return false;
    const int fd = fd_;
    fd_ = -1;
    // Exclusivity ends with our use: a tty another process still holds open would otherwise
    // refuse the next opener.
    if (::isatty(fd)) (void)::ioctl(fd, TIOCNXCL);
    ::flock(fd, LOCK_UN);
    return ::close(fd) == 0;
  }

 private:
  int fd_;
  PortTimeouts timeouts_{};
  ReadBuffer buffer_;
};

}  // namespace

thread_local std::string g_open_failure;

std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name) {
  g_open_failure.clear();
  const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    g_open_failure = name + ": " + std::strerror(errno);
    return nullptr;
  }
  // flock keeps out every other opener, root included; TIOCEXCL refuses further opens of a tty.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    g_open_failure = name + (errno == EWOULDBLOCK ? std::string(": in use by another opener")
                                                  : ": " + std::string(std::strerror(errno)));
    ::close(fd);
    return nullptr;
  }
  if (::isatty(fd)) (void)::ioctl(fd, TIOCEXCL);
  return std::make_unique<PosixSerialPort>(fd);
}

std::string LastOpenFailure() {
  return g_open_failure;
}

std::string SerialPortName(unsigned number) {
  return "/dev/ttyS" + std::to_string(static_cast<long long>(number) - 1);
}

}  // namespace zorfp
