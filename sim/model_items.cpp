// Sale and refund items, voiding the last one, and cancelling the receipt.
//
// Item command: quantity (3), item status (1), price (4, sign in bit 31), tax group byte (0x80 + group),
// name length (1), name, article code (6; EP-01 4, 08-01 2). Where the printer keeps articles, a
// name length of 0xFF sends no name and prints the one kept for the code. The answer is the item's
// cost (sign in bit 31) and the receipt total (4 bytes each).
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

// Item status byte: the quantity's decimal places in the low nibble, bit 6 prints the code as an
// EAN-13 number, bit 7 sells a single piece (no quantity line).
constexpr Byte kDecimalsMask = 0x0F;
constexpr Byte kEan13Bit = 0x40;
constexpr Byte kSinglePieceBit = 0x80;
constexpr int kMaxDecimals = 3;
constexpr Byte kTaxGroupBase = 0x80;
constexpr Byte kNameFromMemory = 0xFF;
constexpr std::int64_t kMaxCost = 0x7FFFFFFF;

struct ItemFields {
  ReceiptItem item;
  Byte tax_byte = 0;
};

std::optional<ItemFields> ParseItem(const VariantTraits& t, std::span<const Byte> params) {
  FieldReader r(params);
  ItemFields f;
  ReceiptItem& item = f.item;
  item.quantity = static_cast<std::uint32_t>(r.UInt(3));
  const Byte status = r.Byte1();
  const FlaggedAmount price = SplitBit31(r.UInt(4));
  item.price = price.flag ? -static_cast<std::int64_t>(price.amount) : price.amount;
  f.tax_byte = r.Byte1();
  const Byte name_length = r.Byte1();
  item.name_from_memory = t.item_name_from_memory && name_length == kNameFromMemory;
  if (!item.name_from_memory) {
    const std::span<const Byte> name = r.Take(name_length);
    item.name.assign(name.begin(), name.end());
  }
  item.code = r.UInt(t.article_code_bytes);
  if (!r.Complete()) return std::nullopt;
  item.decimals = status & kDecimalsMask;
  item.ean13 = (status & kEan13Bit) != 0;
  item.single_piece = (status & kSinglePieceBit) != 0;
  return f;
}

// Checks of the item itself, before the receipt is looked at.
Refusal ItemRefusal(const PrinterModel& m, ItemFields& f) {
  ReceiptItem& item = f.item;
  if (item.quantity == 0 || item.decimals > kMaxDecimals) return m.traits().bad_parameter_result;
  if (item.name.size() > m.traits().item_name_limit) return result::kBadLength;
  if (f.tax_byte < kTaxGroupBase) return result::kNoSuchTaxGroup;
  item.tax_group = f.tax_byte - kTaxGroupBase;
  if (!GroupRate(m.taxes, m.traits(), item.tax_group)) return result::kNoSuchTaxGroup;
  if (item.name_from_memory) {
    const auto it = m.programming.articles.find(item.code);
    if (it == m.programming.articles.end() || it->second.tax_group != item.tax_group)
      return result::kBadArticle;
    item.name = it->second.name;
  }
  item.cost = ItemCost(item.quantity, item.decimals, item.price);
  if (item.cost > kMaxCost || item.cost < -kMaxCost) return result::kCostTooBig;
  return std::nullopt;
}

Refusal ReceiptRefusal(const PrinterModel& m, ReceiptKind kind) {
  const Receipt& r = m.receipt;
  if (!r.open()) return OpeningRefusal(m);
  if (r.kind != kind)
    return kind == ReceiptKind::kSale ? result::kRefundReceiptOpen : result::kSaleReceiptOpen;
  if (r.payment_begun()) return result::kAfterPayment;
  if (r.items.size() >= m.receipt_item_limit) return result::kTooManyItems;
  return std::nullopt;
}

Reply RegisterItem(PrinterModel& m, const Request& req, ReceiptKind kind) {
  std::optional<ItemFields> f = ParseItem(m.traits(), req.params);
  if (!f) return RefuseBadParameter(m);
  if (Refusal no = ItemRefusal(m, *f)) return Reply::Refuse(*no);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (Refusal no = ReceiptRefusal(m, kind)) return Reply::Refuse(*no);

  Receipt trial = m.receipt.open() ? m.receipt : Receipt{};
  trial.items.push_back(f->item);
  const std::int64_t total = SumsOf(m, trial).total;
  if (Refusal no = TotalRefusal(total)) return Reply::Refuse(*no);

  if (!m.receipt.open()) OpenReceipt(m, kind);
  m.receipt.items.push_back(f->item);
  BookArticleItem(m, f->item, kind);
  PrintItem(m, f->item);
  Bytes answer;
  AppendSignMagnitude32(answer, f->item.cost);
  AppendUInt(answer, static_cast<std::uint64_t>(total), 4);
  return Reply::Ok(std::move(answer));
}

Reply HandleSaleItem(PrinterModel& m, const Request& r) {
  return RegisterItem(m, r, ReceiptKind::kSale);
}

Reply HandleRefundItem(PrinterModel& m, const Request& r) {
  return RegisterItem(m, r, ReceiptKind::kRefund);
}

// Takes the last item back out of the open receipt, as long as nothing but its own discount came
// after it and no payment has begun.
Reply HandleVoidLastItem(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  Receipt& receipt = m.receipt;
  if (!receipt.open()) return Reply::Refuse(result::kReceiptNotOpen);
  if (receipt.payment_begun()) return Reply::Refuse(result::kAfterPayment);
  if (!receipt.LastItemIsLastEntry()) return Reply::Refuse(result::kCommandForbidden);
  Receipt trial = receipt;
  trial.items.pop_back();
  if (Refusal no = TotalRefusal(SumsOf(m, trial).total)) return Reply::Refuse(*no);

  const ReceiptItem item = receipt.items.back();
  receipt.items.pop_back();
  BookArticleItem(m, item, receipt.kind, -1);
  CancelCount& cancelled = m.day.Of(receipt.kind).cancelled_items;
  ++cancelled.count;
  cancelled.sum += item.Net();
  PrintVoidedItem(m, item);
  return Reply::Ok();
}

// Cancels the open receipt. With none open there is nothing to do, and that is no error: a host
// clears the way this before it starts a receipt of its own.
Reply HandleCancelReceipt(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (!m.receipt.open()) return Reply::Ok();
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  for (const ReceiptItem& item : m.receipt.items) BookArticleItem(m, item, m.receipt.kind, -1);
  CancelReceipt(m);
  return Reply::Ok();
}

constexpr CommandEntry kItemsCommands[] = {
    {0x08, "refund item", VariantSet::All(), Effect::kChangesState, &HandleRefundItem},
    {0x0F, "cancel receipt", VariantSet::All(), Effect::kChangesState, &HandleCancelReceipt},
    {0x12, "sale item", VariantSet::All(), Effect::kChangesState, &HandleSaleItem},
    {0x32, "void last item", VariantSet{k0502, k0503}, Effect::kChangesState, &HandleVoidLastItem},
};

}  // namespace

std::span<const CommandEntry> ItemsCommands() {
  return kItemsCommands;
}

}  // namespace zorfp::sim
