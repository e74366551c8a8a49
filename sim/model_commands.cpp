#include "sim/model_commands.h"

namespace zorfp::sim {
namespace {

// Every area with commands; one with none yet has no entry.
constexpr CommandArea kAreas[] = {
    {"status", &StatusCommands},
    {"totals", &TotalsCommands},
    {"items", &ItemsCommands},
    {"payment", &PaymentCommands},
    {"printing", &PrintingCommands},
    {"journal", &JournalCommands},
    {"clock", &ClockCommands},
    {"flags", &FlagsCommands},
    {"programming", &ProgrammingCommands},
    {"articles", &ArticlesCommands},
    {"taxes", &TaxesCommands},
    {"reports", &ReportsCommands},
    {"memory_card", &MemoryCardCommands},
};

}  // namespace

std::span<const CommandArea> CommandAreas() {
  return kAreas;
}

const CommandEntry* FindCommand(Variant v, Byte code) {
  for (const CommandArea& area : kAreas) {
    for (const CommandEntry& entry : area.commands()) {
      if (entry.code == code && entry.variants.Contains(v)) return &entry;
    }
  }
  return nullptr;
}

}  // namespace zorfp::sim
