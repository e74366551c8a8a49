// A tiny host for driving the simulator through a real pty, written apart from the simulator's own
// framing so that a fault in one is not mirrored in the other.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace zorfp::sim::testing {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// Line feeds with sequence numbers 1 and 2, and the printer's plain acceptance of each, as bytes on
// the wire.
inline const Bytes kLineFeed1 = {0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03};
inline const Bytes kLineFeed1Answer = {0x06, 0x10, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x00, 0xF1, 0x10, 0x03};
inline const Bytes kLineFeed2 = {0x10, 0x02, 0x02, 0x0E, 0xF0, 0x10, 0x03};
inline const Bytes kLineFeed2Answer = {0x06, 0x10, 0x02, 0x02, 0x0E, 0x00, 0x00, 0x00, 0xF0, 0x10, 0x03};

// DLE STX seq command checksum DLE ETX, with DLE doubled inside.
Bytes HostFrame(std::uint8_t seq, const Bytes& command);

Bytes Concat(const Bytes& a, const Bytes& b);

// Reads from `fd` until `n` bytes have come or `limit` has passed; returns what came.
Bytes ReadBytes(int fd, std::size_t n, std::chrono::milliseconds limit = 5s);

// A fresh directory for links, tapes and state files, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// The host end of the line: opens the path raw and non-blocking.
class Host {
 public:
  explicit Host(const std::string& path);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  void Write(const Bytes& bytes);
  // Reads until `n` bytes have come or `limit` has passed; returns what came.
  Bytes Read(std::size_t n, std::chrono::milliseconds limit = 5s);
  // Reads until what came ends with `suffix`, or `limit` has passed.
  Bytes ReadUntilEndsWith(const Bytes& suffix, std::chrono::milliseconds limit = 5s);
  // Reads one answer the way a driver does: a lone SYN or NAK, or up to an unstuffed DLE ETX.
  Bytes ReadAnswer(std::chrono::milliseconds limit = 5s);

  // Writes `frame` and returns the answer.
  Bytes Exchange(const Bytes& frame) {
    Write(frame);
    return ReadAnswer();
  }

  void Close();
  void Reopen();
  int fd() const { return fd_; }

 private:
  std::string path_;
  int fd_ = -1;
};

// A started simulator publishing its pty in a temporary directory.
struct RunningSim {
  explicit RunningSim(SimulatorOptions options = {});
  TempDir dir;
  std::unique_ptr<Simulator> sim;
};

}  // namespace zorfp::sim::testing
