// zorfp-sim: serves one simulated printer until told to stop.
#include <signal.h>

#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "sim/cli.h"
#include "sim/simulator.h"

int main(int argc, char** argv) {
  using namespace zorfp::sim;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  CommandLine cl = ParseCommandLine(args);
  if (cl.help) {
    std::fputs(HelpText().c_str(), stdout);
    return 0;
  }
  if (!cl.error.empty()) {
    std::fprintf(stderr, "zorfp-sim: %s (see --help)\n", cl.error.c_str());
    return 2;
  }

  // Signals are taken synchronously by this thread; the serving thread inherits the mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  Simulator sim(cl.options);
  try {
    sim.Start();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zorfp-sim: %s\n", e.what());
    return 1;
  }
  std::printf("ready %s\n", sim.path().c_str());
  std::fflush(stdout);

  for (;;) {
    int signal = 0;
    if (sigwait(&signals, &signal) != 0) continue;
    if (signal != SIGUSR1) break;
    if (cl.options.state_path.empty()) {
      std::fputs(sim.StateJson().c_str(), stderr);
    } else if (!sim.WriteStateFile()) {
      std::fprintf(stderr, "zorfp-sim: cannot write %s\n", cl.options.state_path.c_str());
    }
  }
  if (!sim.Stop()) {
    std::fprintf(stderr, "zorfp-sim: cannot write %s\n", cl.options.state_path.c_str());
    return 1;
  }
  return 0;
}
