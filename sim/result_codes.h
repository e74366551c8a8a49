// Result bytes the printer refuses a command with (0 means executed).
#pragma once

#include "sim/bytes.h"

namespace zorfp::sim::result {

inline constexpr Byte kOk = 0;
inline constexpr Byte kPrinterError = 1;
inline constexpr Byte kPaperOut = 2;
inline constexpr Byte kFiscalMemoryFailure = 4;
inline constexpr Byte kLowVoltage = 6;
inline constexpr Byte kFiscalMemoryFull = 8;
inline constexpr Byte kNoPersonalization = 10;
inline constexpr Byte kCommandForbidden = 16;  // not supported in this mode
inline constexpr Byte kLogoWriteError = 19;
inline constexpr Byte kBadLength = 20;
inline constexpr Byte kBadPassword = 21;
inline constexpr Byte kBadNumber = 22;
inline constexpr Byte kNoSuchTaxGroup = 23;
inline constexpr Byte kNoSuchPaymentForm = 24;
inline constexpr Byte kForbiddenSymbol = 25;
inline constexpr Byte kTooManyTaxes = 26;
inline constexpr Byte kNegativeTotal = 27;
inline constexpr Byte kBadArticle = 28;
inline constexpr Byte kBadDateTime = 30;
inline constexpr Byte kTooManyItems = 31;
inline constexpr Byte kCostTooBig = 32;
inline constexpr Byte kDayTurnoverFull = 33;
inline constexpr Byte kPaymentRegisterFull = 34;
inline constexpr Byte kNotEnoughCash = 35;
inline constexpr Byte kDateBeforeLastZ = 36;
inline constexpr Byte kRefundReceiptOpen = 37;
inline constexpr Byte kSaleReceiptOpen = 38;
inline constexpr Byte kReceiptNotOpen = 39;
inline constexpr Byte kZReportNeeded = 41;
inline constexpr Byte kNoReceipts = 42;
inline constexpr Byte kNoChangeFromPayment = 43;
inline constexpr Byte kReceiptOpen = 44;
inline constexpr Byte kNoSalesForDiscount = 45;
inline constexpr Byte kAfterPayment = 46;
// 47 and up mean different things per variant; the model names them where it uses them.
inline constexpr Byte kBadParameter0502 = 50;  // 05-02 and 05-03

}  // namespace zorfp::sim::result
