#include "sim/model_commands.h"

#include <array>

namespace zorfp::sim {
namespace {

using enum Variant;

constexpr VariantSet kNewer = {kEp02, kEp05, kEp06, k0502, k0503};

// One row per command code. Keep it sorted by code.
constexpr std::array kCommands = {
    CommandEntry{0x00, "status request", VariantSet::All(), Effect::kQuery, &HandleStatusRequest},
    CommandEntry{0x08, "refund item", VariantSet::All(), Effect::kChangesState, &HandleRefundItem},
    CommandEntry{0x0B, "comment", VariantSet::All(), Effect::kChangesState, &HandleComment},
    CommandEntry{0x0E, "line feed", VariantSet::All(), Effect::kChangesState, &HandleLineFeed},
    CommandEntry{0x0F, "cancel receipt", VariantSet::All(), Effect::kChangesState, &HandleCancelReceipt},
    CommandEntry{0x10, "cash in", VariantSet::All(), Effect::kChangesState, &HandleCashIn},
    CommandEntry{0x12, "sale item", VariantSet::All(), Effect::kChangesState, &HandleSaleItem},
    CommandEntry{0x14, "payment", VariantSet::All(), Effect::kChangesState, &HandlePayment},
    CommandEntry{0x18, "cash out", VariantSet::All(), Effect::kChangesState, &HandleCashOut},
    CommandEntry{0x1C, "memory read", VariantSet::All(), Effect::kQuery, &HandleMemoryRead},
    CommandEntry{0x21, "cash in drawer", VariantSet::All(), Effect::kQuery, &HandleDrawerQuery},
    // 08-01 gives no discounts.
    CommandEntry{0x23, "discount or markup", VariantSet::All().Without(k0801), Effect::kChangesState,
                 &HandleDiscount},
    // 08-01 runs at a fixed rate.
    CommandEntry{0x26, "change baud rate", VariantSet::All().Without(k0801), Effect::kChangesState,
                 &HandleChangeBaudRate},
    // The older variants' hosts read these registers by address instead.
    CommandEntry{0x2A, "day totals", kNewer, Effect::kQuery, &HandleDayTotals},
    CommandEntry{0x2B, "receipt totals", kNewer, Effect::kQuery, &HandleReceiptTotals},
    CommandEntry{0x30, "printer state request", VariantSet{kEp05, kEp06, k0502, k0503}, Effect::kQuery,
                 &HandlePrinterStateRequest},
    CommandEntry{0x32, "void last item", VariantSet{k0502, k0503}, Effect::kChangesState,
                 &HandleVoidLastItem},
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
