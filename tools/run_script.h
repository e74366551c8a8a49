// The default command: `zorfp [--class NAME] [--json] [FILE]` runs a script (tools/script.h) from
// FILE or standard input, one member call per line, and prints one line of facts per call.
#pragma once

#include <span>
#include <string_view>

namespace zorfp::tools {

// Exit status: 0 when every line ran (whatever the printer answered), 2 when a line could not be
// parsed or bound (it is reported and the script goes on), 1 when a member failed inside or the
// command line or file was wrong.
int RunScript(std::span<const std::string_view> args);

}  // namespace zorfp::tools
