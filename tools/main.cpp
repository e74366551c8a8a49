// zorfp: the command-line client of the driver. It binds members by name, as an automation client
// does. Subcommands register themselves (tools/subcommand.h); without one, it runs a script.
#include <cstdio>
#include <string_view>
#include <vector>

#include "tools/run_script.h"
#include "tools/subcommand.h"

namespace {

void PrintUsage() {
  std::printf(
      "usage: zorfp [--class NAME] [--json] [FILE]\n"
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
      "text); with --json one JSON object a call. Exit status: 0 every line ran, whatever the\n"
      "printer answered; 2 a line could not be parsed or bound; 1 a member failed inside, or a\n"
      "bad command line.\n"
      "\n"
      "Subcommands:\n");
  for (const zorfp::tools::Subcommand& s : zorfp::tools::Subcommands()) {
    std::printf("  %-10s %s\n", s.name, s.summary);
  }
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
      if (args[0] == s.name) return s.run(std::span(args).subspan(1));
    }
  }
  return zorfp::tools::RunScript(args);
}
