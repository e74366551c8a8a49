// The receipt in the state dump: the open receipt, or the last one.
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/model_json.h"
#include "sim/receipt_flow.h"

namespace zorfp::sim {
namespace {

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

Json AdjustmentJson(const Adjustment& a) {
  return {
      {"kind", a.discount ? "discount" : "markup"},
      {"relative", a.relative},
      {"value", a.value},
      {"amount", a.amount},
      {"comment", Cp866ToUtf8(a.comment)},
  };
}

Json ItemJson(const ReceiptItem& item) {
  return {
      {"name", Cp866ToUtf8(item.name)},
      {"name_from_memory", item.name_from_memory},
      {"quantity", item.quantity},
      {"decimals", item.decimals},
      {"price", item.price},
      {"tax", GroupKey(item.tax_group)},
      {"code", item.code},
      {"cost", item.cost},
      {"adjustment", item.adjustment ? AdjustmentJson(*item.adjustment) : Json(nullptr)},
      {"net", item.Net()},
  };
}

Json PaymentJson(const Payment& p) {
  return {
      {"form", p.form},
      {"amount", p.amount},
      {"fiscal", p.fiscal},
      {"info", Cp866ToUtf8(p.info)},
  };
}

}  // namespace

std::string GroupKey(int group) {
  return std::string(1, static_cast<char>('A' + group));
}

Json GroupsJson(const GroupAmounts& groups) {
  Json out = Json::object();
  for (int g = 0; g < kTaxGroups; ++g) out[GroupKey(g)] = groups[static_cast<std::size_t>(g)];
  return out;
}

void WriteReceiptJson(const PrinterModel& m, Json& j) {
  const Receipt& r = m.receipt;
  Json items = Json::array();
  for (const ReceiptItem& item : r.items) items.push_back(ItemJson(item));
  Json adjustments = Json::array();
  for (const ReceiptAdjustment& a : r.adjustments) adjustments.push_back(AdjustmentJson(a.adjustment));
  Json payments = Json::array();
  for (const Payment& p : r.payments) payments.push_back(PaymentJson(p));
  const ReceiptSums sums = CurrentSums(m);
  j["receipt"] = {
      {"open", r.open()},
      {"state", StateName(r.state)},
      {"kind", r.state == ReceiptState::kNone ? Json(nullptr) : Json(KindName(r.kind))},
      {"number", r.number},
      {"items", std::move(items)},
      {"adjustments", std::move(adjustments)},
      {"total", sums.total},
      {"taxes", GroupsJson(sums.tax)},
      {"payments", std::move(payments)},
      {"paid", r.Paid()},
      {"change", r.change},
  };
}

}  // namespace zorfp::sim
