#include "sim/model_commands.h"

#include <array>

namespace zorfp::sim {
namespace {

using enum Variant;

// One row per command code. Keep it sorted by code.
constexpr std::array kCommands = {
    CommandEntry{0x00, "status request", VariantSet::All(), Effect::kQuery, &HandleStatusRequest},
    CommandEntry{0x0E, "line feed", VariantSet::All(), Effect::kChangesState, &HandleLineFeed},
    CommandEntry{0x1C, "memory read", VariantSet::All(), Effect::kQuery, &HandleMemoryRead},
    // 08-01 runs at a fixed rate.
    CommandEntry{0x26, "change baud rate", VariantSet::All().Without(k0801), Effect::kChangesState,
                 &HandleChangeBaudRate},
    CommandEntry{0x30, "printer state request", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kQuery,
                 &HandlePrinterStateRequest},
};

}  // namespace

std::span<const CommandEntry> CommandTable() {
  return kCommands;
}

const CommandEntry* FindCommand(Variant v, Byte code) {
  for (const CommandEntry& entry : kCommands) {
    if (entry.code == code && entry.variants.Contains(v)) return &entry;
  }
  return nullptr;
}

}  // namespace zorfp::sim
