#include "sim/tape.h"

#include <cerrno>
#include <system_error>

#include "sim/cp866.h"

namespace zorfp::sim {

Tape::Tape(const std::string& path) : file_(std::fopen(path.c_str(), "ae")) {
  if (!file_) throw std::system_error(errno, std::generic_category(), "cannot open tape " + path);
}

Tape::~Tape() {
  std::fclose(file_);
}

void Tape::Line(std::string_view cp866_line) {
  const std::string text = Cp866ToUtf8(cp866_line) + '\n';
  std::fwrite(text.data(), 1, text.size(), file_);
  std::fflush(file_);
}

}  // namespace zorfp::sim
