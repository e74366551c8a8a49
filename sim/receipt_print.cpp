#include "sim/receipt_print.h"

#include <array>
#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/tape_format.h"

namespace zorfp::sim {
namespace {

// The roll's own words. Code page 866 has no Ukrainian І, so the Latin I stands in for it, as it
// does in every text a host sends.
Cp866Text Word(std::string_view utf8) {
  return Utf8ToCp866(utf8);
}

constexpr std::array<std::string_view, kMaxPaymentForms> kFormNames = {
    "КАРТКА",   "КРЕДИТ",   "ЧЕК",      "ГОТIВКА",  "ОПЛАТА 5",
    "ОПЛАТА 6", "ОПЛАТА 7", "ОПЛАТА 8", "ОПЛАТА 9", "ОПЛАТА 10",
};

void PrintLines(PrinterModel& m, const std::vector<Cp866Text>& lines) {
  for (const Cp866Text& line : lines) Print(m, line);
}

Cp866Text AdjustmentLabel(const Adjustment& a) {
  Cp866Text label = Word(a.discount ? "ЗНИЖКА" : "НАЦIНКА");
  if (a.relative) label += " " + PercentText(a.value);
  return label;
}

Cp866Text ItemName(const ReceiptItem& item) {
  return item.name.empty() ? Word("АРТИКУЛ ") + std::to_string(item.code) : item.name;
}

}  // namespace

void PrintReceiptHead(PrinterModel& m, ReceiptKind kind) {
  for (const HeaderLine& line : m.programming.header) {
    if (!line.text.empty()) Print(m, Centered(line.text));
  }
  PrintLinesBeforeReceipt(m);
  Print(m, Rule());
  if (kind == ReceiptKind::kRefund) Print(m, Centered(Word("ВИДАТКОВИЙ ЧЕК")));
}

void PrintItem(PrinterModel& m, const ReceiptItem& item) {
  const std::string cost = MoneyText(item.cost) + " " + GroupLetter(item.tax_group);
  if (item.single_piece) {
    PrintLines(m, Columns(ItemName(item), cost));
  } else {
    PrintLines(m, Wrapped(ItemName(item)));
    PrintLines(
        m, Columns(QuantityText(item.quantity, item.decimals) + " x " + MoneyText(item.price) + " =", cost));
  }
  if (item.ean13) {
    std::string digits = std::to_string(item.code);
    if (digits.size() < 13) digits.insert(0, 13 - digits.size(), '0');
    Print(m, "EAN-13 " + digits);
  }
}

void PrintVoidedItem(PrinterModel& m, const ReceiptItem& item) {
  PrintLines(m, Columns(Word("СКАСУВАННЯ ") + ItemName(item), MoneyText(-item.Net())));
}

void PrintItemAdjustment(PrinterModel& m, const Adjustment& a) {
  PrintLines(m, Columns(AdjustmentLabel(a), MoneyText(a.amount)));
  if (!a.comment.empty()) PrintLines(m, Wrapped(a.comment));
}

void PrintReceiptAdjustment(PrinterModel& m, std::int64_t subtotal, const Adjustment& a) {
  PrintLines(m, Columns(Word("ПIДСУМОК"), MoneyText(subtotal)));
  PrintItemAdjustment(m, a);
}

void PrintComment(PrinterModel& m, std::string_view cp866_text) {
  PrintLines(m, Wrapped(cp866_text));
}

void PrintSumAndTaxes(PrinterModel& m, const ReceiptSums& sums) {
  Print(m, Rule());
  PrintLines(m, Columns(Word("СУМА"), MoneyText(sums.total)));
  for (int g = 0; g < kTaxGroups; ++g) {
    const auto i = static_cast<std::size_t>(g);
    if (sums.turnover[i] == 0 || !IsTaxedGroup(m.taxes, m.traits(), g)) continue;
    const std::string label = Word("ПДВ ") + GroupLetter(g) + " " + PercentText(m.taxes.rates[i]);
    PrintLines(m, Columns(label, MoneyText(sums.tax[i])));
  }
}

void PrintPayment(PrinterModel& m, const Payment& p) {
  PrintLines(m, Columns(Word(kFormNames[static_cast<std::size_t>(p.form)]), MoneyText(p.amount)));
  if (!p.info.empty()) PrintLines(m, Wrapped(p.info));
}

void PrintReceiptEnd(PrinterModel& m, bool fiscal) {
  if (m.receipt.change > 0) PrintLines(m, Columns(Word("РЕШТА"), MoneyText(m.receipt.change)));
  Print(m, Rule());
  PrintLines(m, Columns(Word("ЧЕК N ") + std::to_string(m.receipt.number), DateTimeText(m.clock.NowCivil())));
  Print(m, Centered(Word(fiscal ? "ФIСКАЛЬНИЙ ЧЕК" : "НЕФIСКАЛЬНИЙ ЧЕК")));
  Print(m, Centered(Word("ЗН ") + m.status.identity.serial_number + Word(" ФН ") +
                    m.status.identity.fiscal_number));
  PrintLinesAfterReceipt(m);
  Print(m, "");
}

void PrintCancelled(PrinterModel& m) {
  Print(m, Centered(Word("ЧЕК АНУЛЬОВАНО")));
  Print(m, "");
}

void PrintCashOperation(PrinterModel& m, bool cash_in, std::int64_t amount) {
  PrintReceiptHead(m, ReceiptKind::kSale);
  PrintLines(m, Columns(Word(cash_in ? "СЛУЖБОВЕ ВНЕСЕННЯ" : "СЛУЖБОВА ВИДАЧА"), MoneyText(amount)));
  PrintLines(m, Columns(Word("ГОТIВКА В СКРИНЬЦI"), MoneyText(m.drawer)));
  Print(m, Centered(DateTimeText(m.clock.NowCivil())));
  Print(m, "");
}

}  // namespace zorfp::sim
