// The steps the receipt commands share: the refusals they have in common, opening a receipt (and the
// day with it), and closing or cancelling it with its booking into the day registers.
#pragma once

#include <optional>

#include "sim/model.h"

namespace zorfp::sim {

using Refusal = std::optional<Byte>;

// Anything that prints needs paper.
Refusal PaperRefusal(const PrinterModel& m);
// A new receipt or cash operation cannot begin: the day is over 24 hours old (a Z report is due),
// or the printer has not been personalized.
Refusal OpeningRefusal(const PrinterModel& m);
// A receipt may not come to less than zero nor to more than its four-byte answer field holds.
Refusal TotalRefusal(std::int64_t total);
// The day registers could not take in the receipt `paid` (the open one with its closing payment).
Refusal BookingRefusal(const PrinterModel& m, const Receipt& paid);

// The sums of the receipt as it stands.
ReceiptSums CurrentSums(const PrinterModel& m);
ReceiptSums SumsOf(const PrinterModel& m, const Receipt& r);

void OpenDayIfClosed(PrinterModel& m);
// Starts a new receipt of `kind` and prints its head.
void OpenReceipt(PrinterModel& m, ReceiptKind kind);
// Numbers the fully paid receipt, books it into the day and the drawer, and prints its end.
void CloseReceipt(PrinterModel& m, bool fiscal);
// Drops the open receipt; only the cancellation register remembers it.
void CancelReceipt(PrinterModel& m);

// Brings the mode flags the status request shows in line with the receipt.
void SyncReceiptFlags(PrinterModel& m);

}  // namespace zorfp::sim
