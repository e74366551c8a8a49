// The command line of zorfp-sim.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "sim/options.h"

namespace zorfp::sim {

struct CommandLine {
  SimulatorOptions options;
  bool help = false;
  std::string error;  // not empty: the command line is wrong, and this says why
};

// `args` without the program name.
CommandLine ParseCommandLine(std::span<const std::string_view> args);

// "CC:SS:RR:VV[:DATAHEX]", all hexadecimal.
std::optional<std::pair<Byte, ForcedAnswer>> ParseForcedAnswer(std::string_view text);

std::string HelpText();

}  // namespace zorfp::sim
