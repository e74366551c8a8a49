#include "support/pty_peer.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace zorfp::testing {
namespace {

constexpr Byte kDle = 0x10, kStx = 0x02, kEtx = 0x03, kAck = 0x06;

void PutStuffed(Bytes& out, Byte b) {
  out.push_back(b);
  if (b == kDle) out.push_back(kDle);
}

bool FrameEnded(const Bytes& b) {
  if (b.size() < 2 || b.back() != kEtx) return false;
  std::size_t run = 0;
  for (std::size_t i = b.size() - 1; i-- > 0 && b[i] == kDle;) ++run;
  return run % 2 == 1;
}

Bytes Unstuffed(const Bytes& frame) {
  Bytes out;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    out.push_back(frame[i]);
    if (frame[i] == kDle && i + 1 < frame.size() && frame[i + 1] == kDle) ++i;
  }
  return out;
}

void WriteAll(int fd, const Bytes& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR && errno != EAGAIN) {
      return;
    }
  }
}

}  // namespace

PtyPeer::PtyPeer() {
  char name[256] = {};
  if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  path_ = name;
  termios tio{};
  ::tcgetattr(slave_, &tio);
  ::cfmakeraw(&tio);
  ::tcsetattr(slave_, TCSANOW, &tio);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  thread_ = std::thread([this] { Serve(); });
}

PtyPeer::~PtyPeer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  ::close(master_);
  ::close(slave_);
}

void PtyPeer::SetScript(Script script) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_ = std::move(script);
}

void PtyPeer::SetRawScript(RawScript script) {
  std::lock_guard<std::mutex> lock(mutex_);
  raw_script_ = std::move(script);
}

std::vector<Bytes> PtyPeer::Frames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return frames_;
}

std::size_t PtyPeer::FrameCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return frames_.size();
}

void PtyPeer::Serve() {
  Bytes pending;
  while (!stop_) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 20) <= 0) continue;
    Byte buf[512];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) continue;
    RawScript raw;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      raw = raw_script_;
    }
    if (raw) {
      for (const Reply& r : raw(Bytes(buf, buf + n))) {
        if (r.delay.count() > 0) std::this_thread::sleep_for(r.delay);
        WriteAll(master_, r.bytes);
      }
      continue;
    }
    for (ssize_t i = 0; i < n; ++i) {
      // Anything before a start marker is noise; a frame runs from DLE STX to its end marker.
      if (pending.empty() && buf[i] != kDle) continue;
      pending.push_back(buf[i]);
      if (pending.size() == 2 && pending[1] != kStx) {
        pending = buf[i] == kDle ? Bytes{kDle} : Bytes{};
        continue;
      }
      if (pending.size() > 3 && FrameEnded(pending)) {
        HandleFrame(pending);
        pending.clear();
      }
    }
  }
}

void PtyPeer::HandleFrame(const Bytes& frame) {
  Script script;
  std::size_t index = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    frames_.push_back(frame);
    index = frames_.size() - 1;
    script = script_;
  }
  if (!script) return;
  for (const Reply& r : script(frame, index)) {
    if (r.delay.count() > 0) std::this_thread::sleep_for(r.delay);
    WriteAll(master_, r.bytes);
  }
}

Byte FrameSeqOf(const Bytes& frame) { return Unstuffed(frame).at(0); }
Byte FrameCodeOf(const Bytes& frame) { return Unstuffed(frame).at(1); }

PtyPeer::Script AnswerAll(const Bytes& data) {
  return [data](const Bytes& frame, std::size_t) {
    return std::vector<Reply>{{AnswerFrame(FrameSeqOf(frame), FrameCodeOf(frame), 0, 0, 0, data)}};
  };
}

std::string Hex(const Bytes& bytes) {
  std::string out;
  char buf[4];
  for (Byte b : bytes) {
    std::snprintf(buf, sizeof buf, "%02X", b);
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

Bytes FromHex(const std::string& hex) {
  Bytes out;
  std::istringstream in(hex);
  std::string word;
  while (in >> word) out.push_back(static_cast<Byte>(std::stoul(word, nullptr, 16)));
  return out;
}

}  // namespace zorfp::testing
