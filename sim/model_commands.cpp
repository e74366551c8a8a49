#include "sim/model_commands.h"

#include <array>

namespace zorfp::sim {
namespace {

using enum Variant;

// One row per command code. Keep it sorted by code.
constexpr std::array kCommands = {
    CommandSpec{0x00, "status request", VariantSet::All(), Effect::kQuery, &HandleStatusRequest},
    CommandSpec{0x0E, "line feed", VariantSet::All(), Effect::kChangesState, &HandleLineFeed},
    CommandSpec{0x1C, "memory read", VariantSet::All(), Effect::kQuery, &HandleMemoryRead},
    // 08-01 runs at a fixed rate.
    CommandSpec{0x26, "change baud rate", VariantSet::All().Without(k0801), Effect::kChangesState,
                &HandleChangeBaudRate},
    CommandSpec{0x30, "printer state request", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kQuery,
                &HandlePrinterStateRequest},
};

}  // namespace

std::span<const CommandSpec> CommandTable() { return kCommands; }

const CommandSpec* FindCommand(Variant v, Byte code) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.code == code && spec.variants.Contains(v)) return &spec;
  }
  return nullptr;
}

}  // namespace zorfp::sim
