// The paper roll: what the printer prints, appended to a UTF-8 text file line by line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zorfp::sim {

class Tape {
 public:
  // Opens `path` for appending; throws std::system_error when it cannot.
  explicit Tape(const std::string& path);
  ~Tape();
  Tape(const Tape&) = delete;
  Tape& operator=(const Tape&) = delete;

  // Appends one printed line (code page 866) and flushes, so a reader sees it at once.
  void Line(std::string_view cp866_line);

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace zorfp::sim
