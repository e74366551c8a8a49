// The transports the device serves: a descriptor the host's bytes arrive on and answers leave by.
#pragma once

#include <chrono>
#include <span>
#include <string>

#include "sim/bytes.h"

namespace zorfp::sim {

class Port {
 public:
  virtual ~Port() = default;

  // Non-blocking descriptor for both directions.
  virtual int fd() const = 0;
  // What the host opens: the published link, or the device itself.
  virtual std::string path() const = 0;
  // Called once an answer has gone out when the printer has changed its line rate.
  virtual void SetLineRate(int baud) = 0;
};

// Writes everything, waiting for room when the descriptor is full. Gives up (false) when no room
// appears within `patience`: a host that stopped reading must not stall the device forever.
bool WriteAll(int fd, std::span<const Byte> bytes,
              std::chrono::milliseconds patience = std::chrono::milliseconds(1000));

// A symbolic link at `link` pointing to `target`, removed again on destruction if it still points
// there. An existing symbolic link at `link` is replaced; any other file there is an error.
class PublishedLink {
 public:
  PublishedLink() = default;
  // Throws std::system_error.
  PublishedLink(std::string link, std::string target);
  ~PublishedLink();
  PublishedLink(PublishedLink&& other) noexcept;
  PublishedLink& operator=(PublishedLink&& other) noexcept;

  const std::string& link() const { return link_; }

 private:
  void Remove();

  std::string link_;
  std::string target_;
};

// termios speed constant for a rate; B9600 for a rate it does not know.
unsigned SpeedConstant(int baud);

}  // namespace zorfp::sim
