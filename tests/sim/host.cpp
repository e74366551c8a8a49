#include "host.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace zorfp::sim::testing {

Bytes HostFrame(std::uint8_t seq, const Bytes& command) {
  Bytes body = {seq};
  body.insert(body.end(), command.begin(), command.end());
  unsigned sum = 0;
  for (auto b : body) sum += b;
  body.push_back(static_cast<std::uint8_t>(-sum));
  Bytes frame = {0x10, 0x02};
  for (auto b : body) {
    frame.push_back(b);
    if (b == 0x10) frame.push_back(b);
  }
  frame.push_back(0x10);
  frame.push_back(0x03);
  return frame;
}

Bytes Concat(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

TempDir::TempDir() {
  char name[] = "/tmp/zorfp-sim-test-XXXXXX";
  if (!::mkdtemp(name)) throw std::system_error(errno, std::generic_category(), "mkdtemp");
  path_ = name;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

Host::Host(const std::string& path) : path_(path) {
  Reopen();
}

Host::~Host() {
  Close();
}

void Host::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void Host::Reopen() {
  Close();
  fd_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "open " + path_);
  termios t{};
  if (::tcgetattr(fd_, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
}

void Host::Write(const Bytes& bytes) {
  // One write, so that frames written together reach the device together.
  if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::system_error(errno, std::generic_category(), "write");
  }
}

namespace {

bool ReadByte(int fd, std::uint8_t& b, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (::poll(&p, 1, static_cast<int>(std::max<long>(left.count(), 0))) <= 0) return false;
    const ssize_t n = ::read(fd, &b, 1);
    if (n == 1) return true;
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
  }
}

}  // namespace

Bytes ReadBytes(int fd, std::size_t n, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Bytes out;
  std::uint8_t b = 0;
  while (out.size() < n && ReadByte(fd, b, deadline)) out.push_back(b);
  return out;
}

Bytes Host::Read(std::size_t n, std::chrono::milliseconds limit) {
  return ReadBytes(fd_, n, limit);
}

Bytes Host::ReadUntilEndsWith(const Bytes& suffix, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Bytes out;
  std::uint8_t b = 0;
  while (ReadByte(fd_, b, deadline)) {
    out.push_back(b);
    if (out.size() >= suffix.size() && std::equal(suffix.rbegin(), suffix.rend(), out.rbegin())) break;
  }
  return out;
}

Bytes Host::ReadAnswer(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  Bytes out;
  std::uint8_t b = 0;
  while (ReadByte(fd_, b, deadline)) {
    out.push_back(b);
    if (out.size() == 1 && (b == 0x15 || b == 0x16)) break;
    if (b != 0x03 || out.size() < 2) continue;
    std::size_t run = 0;
    for (auto it = out.rbegin() + 1; it != out.rend() && *it == 0x10; ++it) ++run;
    if (run % 2 == 1) break;
  }
  return out;
}

RunningSim::RunningSim(SimulatorOptions options) {
  options.link_path = dir.File("printer");
  sim = std::make_unique<Simulator>(std::move(options));
  sim->Start();
}

}  // namespace zorfp::sim::testing
