// zorfp's subcommands. Each lives in its own source file and registers itself with one
// namespace-scope constant:
//
//   const RegisterSubcommand kDemo{{"demo", "print a receipt on a simulated printer", &RunDemo}};
//
// main() runs the subcommand named by the first argument, and the script runner otherwise;
// `zorfp NAME --help` (or -h) prints the subcommand's usage and exits 0 without running it.
#pragma once

#include <span>
#include <string_view>

namespace zorfp::tools {

struct Subcommand {
  const char* name;
  const char* summary;                                 // one line for the usage text
  int (*run)(std::span<const std::string_view> args);  // arguments after the name; the exit status
  const char* usage = nullptr;  // `zorfp NAME --help` prints it, on standard output
};

class RegisterSubcommand {
 public:
  explicit RegisterSubcommand(const Subcommand& subcommand);
};

std::span<const Subcommand> Subcommands();

}  // namespace zorfp::tools
