#include "sim/port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace zorfp::sim {

bool WriteAll(int fd, std::span<const Byte> bytes, std::chrono::milliseconds patience) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) return false;
    pollfd p{fd, POLLOUT, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(patience.count()));
    if (ready == 0 || (ready < 0 && errno != EINTR)) return false;
  }
  return true;
}

PublishedLink::PublishedLink(std::string link, std::string target)
    : link_(std::move(link)), target_(std::move(target)) {
  struct stat st {};
  if (::lstat(link_.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      throw std::system_error(EEXIST, std::generic_category(), link_ + " exists and is not a symbolic link");
    }
    ::unlink(link_.c_str());
  }
  if (::symlink(target_.c_str(), link_.c_str()) != 0) {
    throw std::system_error(errno, std::generic_category(), "cannot create link " + link_);
  }
}

PublishedLink::~PublishedLink() {
  Remove();
}

PublishedLink::PublishedLink(PublishedLink&& other) noexcept
    : link_(std::exchange(other.link_, {})), target_(std::exchange(other.target_, {})) {}

PublishedLink& PublishedLink::operator=(PublishedLink&& other) noexcept {
  if (this != &other) {
    Remove();
    link_ = std::exchange(other.link_, {});
    target_ = std::exchange(other.target_, {});
  }
  return *this;
}

void PublishedLink::Remove() {
  if (link_.empty()) return;
  char buf[4096];
  const ssize_t n = ::readlink(link_.c_str(), buf, sizeof buf);
  // Another simulator may have taken the name over since; leave its link alone.
  if (n >= 0 && std::string(buf, static_cast<std::size_t>(n)) == target_) ::unlink(link_.c_str());
  link_.clear();
}

unsigned SpeedConstant(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B9600;
  }
}

}  // namespace zorfp::sim
