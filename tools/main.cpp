// zorfp: the command-line client of the driver. It binds members by name, as an automation client
// does. Subcommands register themselves (tools/subcommand.h); without one, it runs a script.
#include <cstdio>
#include <span>
#include <string_view>
#include <vector>

#include "tools/run_script.h"
#include "tools/subcommand.h"

namespace {

void PrintUsage() {
  std::printf(
      "usage: zorfp [--class NAME] [--json] [--show-args] [FILE]\n"
      "       zorfp SUBCOMMAND [ARGS]\n"
      "\n"
      "Runs member calls, one a line, from FILE or standard input, on this process's driver\n"
      "object of the class (default ZOR_05_03):\n"
      "  Member arg ...      a method, or a property read (an indexed one takes its index)\n"
      "  Member = value      a property write\n"
      "  use CLASS           switch to this process's object of CLASS, created on first use\n"
      "  # comment\n"
      "Arguments: integers, true/false, \"strings\" (\\\" and \\\\ escape), dates YYYY-MM-DD or\n"
      "YYYY-MM-DDTHH:MM:SS; any other word is a string.\n"
      "Each call prints its value and the call result (GetByteResult, GetByteStatus and the error\n"
      "text); with --json one JSON object a call, and with --show-args its arguments too.\n"
      "Exit status: 0 every line ran, whatever the printer answered; 2 a line could not be\n"
      "parsed or bound; 1 a member failed inside, or a bad command line.\n"
      "\n"
      "Subcommands (zorfp SUBCOMMAND --help for each):\n");
  for (const zorfp::tools::Subcommand& s : zorfp::tools::Subcommands()) {
    std::printf("  %-10s %s\n", s.name, s.summary);
  }
}

bool AsksForHelp(std::span<const std::string_view> args) {
  for (std::string_view a : args) {
    if (a == "--help" || a == "-h") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (!args.empty()) {
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
      PrintUsage();
      return 0;
    }
    for (const zorfp::tools::Subcommand& s : zorfp::tools::Subcommands()) {
      if (args[0] != s.name) continue;
      const auto rest = std::span(args).subspan(1);
      if (AsksForHelp(rest)) {
        std::printf("%s", s.usage ? s.usage : "");
        if (!s.usage) std::printf("usage: zorfp %s\n%s\n", s.name, s.summary);
        return 0;
      }
      return s.run(rest);
    }
  }
  return zorfp::tools::RunScript(args);
}
