#include "sim/pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace zorfp::sim {
namespace {

[[noreturn]] void Fail(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PtyPort::PtyPort(const std::string& link, int baud) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) Fail("posix_openpt");
  try {
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) Fail("grantpt/unlockpt");
    char name[256];
    if (::ptsname_r(master_, name, sizeof name) != 0) Fail("ptsname_r");
    slave_name_ = name;
    if (::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) Fail("fcntl");
    // Settings made through the master are the slave's: raw from the start, so that no byte of an
    // answer is translated even for a host that never configures the line.
    termios t{};
    if (::tcgetattr(master_, &t) != 0) Fail("tcgetattr");
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::cfsetspeed(&t, SpeedConstant(baud));
    if (::tcsetattr(master_, TCSANOW, &t) != 0) Fail("tcsetattr");
    if (!link.empty()) link_ = PublishedLink(link, slave_name_);
  } catch (...) {
    ::close(master_);
    throw;
  }
}

PtyPort::~PtyPort() {
  link_ = PublishedLink();
  ::close(master_);
}

}  // namespace zorfp::sim
