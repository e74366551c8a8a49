#include "tools/subcommand.h"

#include <vector>

namespace zorfp::tools {
namespace {

std::vector<Subcommand>& Registry() {
  static std::vector<Subcommand> registry;
  return registry;
}

}  // namespace

RegisterSubcommand::RegisterSubcommand(const Subcommand& subcommand) {
  Registry().push_back(subcommand);
}

std::span<const Subcommand> Subcommands() {
  return Registry();
}

}  // namespace zorfp::tools
