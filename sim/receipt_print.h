// What a receipt looks like on the paper roll, printed piece by piece as the commands arrive:
// the head when it opens, each item, discount and comment as it is registered, the sum and taxes at
// the first payment, each payment, and the end (change, number, date and time, fiscal line).
#pragma once

#include <cstdint>
#include <string_view>

#include "sim/model.h"

namespace zorfp::sim {

void PrintReceiptHead(PrinterModel& m, ReceiptKind kind);
void PrintItem(PrinterModel& m, const ReceiptItem& item);
void PrintVoidedItem(PrinterModel& m, const ReceiptItem& item);
void PrintItemAdjustment(PrinterModel& m, const Adjustment& a);
void PrintReceiptAdjustment(PrinterModel& m, std::int64_t subtotal, const Adjustment& a);
void PrintComment(PrinterModel& m, std::string_view cp866_text);
void PrintSumAndTaxes(PrinterModel& m, const ReceiptSums& sums);
void PrintPayment(PrinterModel& m, const Payment& p);
void PrintReceiptEnd(PrinterModel& m, bool fiscal);
void PrintCancelled(PrinterModel& m);
void PrintCashOperation(PrinterModel& m, bool cash_in, std::int64_t amount);

}  // namespace zorfp::sim
