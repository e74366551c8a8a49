#include "sim/receipt_json.h"

#include <string>

#include "sim/cp866.h"
#include "sim/receipt_flow.h"

namespace zorfp::sim {
namespace {

std::string GroupName(int group) {
  return std::string(1, static_cast<char>('A' + group));
}

const char* KindName(ReceiptKind k) {
  return k == ReceiptKind::kSale ? "sale" : "refund";
}

const char* StateName(ReceiptState s) {
  switch (s) {
    case ReceiptState::kNone:
      return "none";
    case ReceiptState::kOpen:
      return "open";
    case ReceiptState::kClosed:
      return "closed";
    case ReceiptState::kCancelled:
      return "cancelled";
  }
  return "none";
}

void WriteAdjustment(const Adjustment& a, JsonWriter& w) {
  w.BeginObject();
  w.Field("kind", a.discount ? "discount" : "markup");
  w.Field("relative", a.relative);
  w.Field("value", static_cast<std::int64_t>(a.value));
  w.Field("amount", a.amount);
  w.Field("comment", Cp866ToUtf8(a.comment));
  w.EndObject();
}

void WriteItem(const ReceiptItem& item, JsonWriter& w) {
  w.BeginObject();
  w.Field("name", Cp866ToUtf8(item.name));
  w.Field("name_from_memory", item.name_from_memory);
  w.Field("quantity", static_cast<std::int64_t>(item.quantity));
  w.Field("decimals", item.decimals);
  w.Field("price", item.price);
  w.Field("tax", GroupName(item.tax_group));
  w.Field("code", static_cast<std::uint64_t>(item.code));
  w.Field("cost", item.cost);
  w.Key("adjustment");
  if (item.adjustment) {
    WriteAdjustment(*item.adjustment, w);
  } else {
    w.Null();
  }
  w.Field("net", item.Net());
  w.EndObject();
}

void WriteGroups(const GroupAmounts& groups, JsonWriter& w) {
  w.BeginObject();
  for (int g = 0; g < kTaxGroups; ++g) w.Field(GroupName(g), groups[static_cast<std::size_t>(g)]);
  w.EndObject();
}

void WriteCancel(std::string_view key, const CancelCount& c, JsonWriter& w) {
  w.Key(key);
  w.BeginObject();
  w.Field("count", static_cast<std::int64_t>(c.count));
  w.Field("sum", c.sum);
  w.EndObject();
}

void WriteHalf(const DayHalf& half, int forms, JsonWriter& w) {
  w.BeginObject();
  w.Field("receipts", static_cast<std::int64_t>(half.receipts));
  w.Key("turnover_by_tax");
  WriteGroups(half.turnover_by_group, w);
  w.Key("by_payment_form");
  w.BeginArray();
  for (int f = 0; f < forms; ++f) w.Int(half.by_payment_form[static_cast<std::size_t>(f)]);
  w.EndArray();
  w.Field("markups", half.markups);
  w.Field("discounts", half.discounts);
  WriteCancel("cancelled_receipts", half.cancelled_receipts, w);
  WriteCancel("cancelled_items", half.cancelled_items, w);
  w.EndObject();
}

}  // namespace

void WriteTaxesJson(const PrinterModel& m, JsonWriter& w) {
  w.Key("taxes");
  w.BeginObject();
  w.Field("count", m.taxes.count);
  w.Key("rates");
  w.BeginObject();
  for (int g = 0; g < kTaxGroups; ++g) {
    w.Key(GroupName(g));
    const std::optional<std::uint16_t> rate = GroupRate(m.taxes, m.traits(), g);
    if (IsTaxedGroup(m.taxes, m.traits(), g)) {
      w.Int(*rate);
    } else if (rate) {
      w.String("untaxed");
    } else {
      w.Null();
    }
  }
  w.EndObject();
  w.EndObject();
}

void WriteReceiptJson(const PrinterModel& m, JsonWriter& w) {
  const Receipt& r = m.receipt;
  w.Key("receipt");
  w.BeginObject();
  w.Field("open", r.open());
  w.Field("state", StateName(r.state));
  w.Key("kind");
  if (r.state == ReceiptState::kNone) {
    w.Null();
  } else {
    w.String(KindName(r.kind));
  }
  w.Field("number", static_cast<std::int64_t>(r.number));
  w.Key("items");
  w.BeginArray();
  for (const ReceiptItem& item : r.items) WriteItem(item, w);
  w.EndArray();
  w.Key("adjustments");
  w.BeginArray();
  for (const ReceiptAdjustment& a : r.adjustments) WriteAdjustment(a.adjustment, w);
  w.EndArray();
  const ReceiptSums sums = CurrentSums(m);
  w.Field("total", sums.total);
  w.Key("taxes");
  WriteGroups(sums.tax, w);
  w.Key("payments");
  w.BeginArray();
  for (const Payment& p : r.payments) {
    w.BeginObject();
    w.Field("form", p.form);
    w.Field("amount", p.amount);
    w.Field("fiscal", p.fiscal);
    w.Field("info", Cp866ToUtf8(p.info));
    w.EndObject();
  }
  w.EndArray();
  w.Field("paid", r.Paid());
  w.Field("change", r.change);
  w.EndObject();
}

void WriteDayJson(const PrinterModel& m, JsonWriter& w) {
  const int forms = m.traits().payment_forms;
  w.Key("day");
  w.BeginObject();
  w.Field("last_receipt_number", static_cast<std::int64_t>(m.last_receipt_number));
  w.Key("sales");
  WriteHalf(m.day.sales, forms, w);
  w.Key("refunds");
  WriteHalf(m.day.refunds, forms, w);
  w.Field("cash_in", m.day.cash_in);
  w.Field("cash_out", m.day.cash_out);
  w.EndObject();
  w.Field("drawer", m.drawer);
}

}  // namespace zorfp::sim
