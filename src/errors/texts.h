// The driver's own message texts, by situation. Printer result codes and status bits have their
// tables in evaluate.cpp.
#pragma once

#include "errors/messages.h"

namespace zorfp::texts {

// No answer.
extern const Message kNoAnswer;             // 101
extern const Message kModemNoAnswer;        // 101, modem exchanges
// Answer unusable.
extern const Message kNoData;               // 102
extern const Message kZeroLengthBlock;      // 102
extern const Message kDataFormatError;      // 103
extern const Message kTaxesEmpty;           // 104
extern const Message kTaxesNotEnough;       // 104
extern const Message kTypeMismatch;         // 112
// Port set-up.
extern const Message kPortBusy;             // no code
extern const Message kDcbGetFailed;         // 105
extern const Message kDcbSetFailed;         // 105
extern const Message kTimeoutsGetFailed;    // 106
extern const Message kTimeoutsSetFailed;    // 106
// Argument checks.
extern const Message kItemsQuantity;        // 109
extern const Message kBadDiscountType;      // 110
extern const Message kIncorrectBaudRate;    // 111
// Receipts: items, payment, discounts, comments.
extern const Message kItemNameOver25;       // 20
extern const Message kItemNameOver50;       // 20
extern const Message kItemNameOver70;       // 20
extern const Message kIncorrectItemCode;    // 111
extern const Message kPaymentFormError;     // 24
// Our own: values whose high bits the wire uses as flags.
extern const Message kIncorrectPaymentSum;  // 111
extern const Message kIncorrectDiscountValue;  // 111
extern const Message kIncorrectPrice;       // 111
extern const Message kInformationOver14;    // no code: older payment information line
extern const Message kDiscountCommentOver25;  // 20
extern const Message kCommentsLengthError;  // 20
// Device state.
extern const Message kCutterUndefined;      // no code
// Waiting window.
extern const Message kWaitZReport;
extern const Message kWaitSavingReport;

}  // namespace zorfp::texts
