#include "commands/payment.h"

#include <string>

#include "commands/answer.h"
#include "commands/items.h"
#include "commands/receipt_values.h"
#include "errors/codepage.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kPayment = 0x14;
constexpr Byte kDiscount = 0x23;
constexpr Byte kComment = 0x0B;
constexpr Byte kCashIn = 0x10;
constexpr Byte kCashOut = 0x18;
constexpr Byte kDrawerQuery = 0x21;

constexpr Byte kNotFiscalPayment = 0x40;  // newer payment form byte
constexpr Byte kWithInformation = 0x80;   // older payment form byte
constexpr std::uint32_t kCloseReceipt = 0x80000000;
constexpr std::uint32_t kAmountFlag = 0x80000000;  // payment reply: change to give
constexpr std::size_t kPaymentReplySize = 4;
constexpr std::size_t kDiscountReplySize = 8;

constexpr std::size_t kInformationLimit = 14;
constexpr std::size_t kDiscountCommentLimit = 25;
constexpr std::size_t kCommentLimit = 27;
constexpr Byte kOpenPayCheck = 0x80;

constexpr Byte kLastOlderPaymentForm = 3;
constexpr std::int32_t kCashPayment = 3;  // eptCashPayment

// EDiscountType of the newer classes: mode byte and the bits added to the value.
constexpr std::uint32_t kIsDiscount = 0x80000000;
constexpr std::uint32_t kRelative = 0x04000000;
constexpr std::uint32_t kOlderRelative = 0x02000000;
// The largest values that leave the flag bits alone.
constexpr std::uint32_t kMaxPayment = 0x7FFFFFFF;
constexpr std::uint32_t kMaxDiscountValue = kRelative - 1;
constexpr std::uint32_t kMaxOlderDiscountValue = kOlderRelative - 1;
struct DiscountForm {
  Byte mode;
  std::uint32_t bits;
};
constexpr DiscountForm kDiscountForms[] = {
    {1, kIsDiscount},              // edtAbsItemDisc
    {1, 0},                        // edtAbsItemAdd
    {0, kIsDiscount | kRelative},  // edtRelItemDisc
    {0, kRelative},                // edtRelItemAdd
    {3, kIsDiscount},              // edtAbsRecDisc
    {3, 0},                        // edtAbsRecAdd
    {2, kIsDiscount | kRelative},  // edtRelRecDisc
    {2, kRelative},                // edtRelRecAdd
};

bool IsDiscountType(std::uint32_t type) {
  return (kDiscountForms[type].bits & kIsDiscount) != 0;
}

// A length byte and printer text, or the single byte 0 for no text.
void PutOemText(Bytes& command, const std::string& oem, Byte length_flags = 0) {
  command.push_back(static_cast<Byte>(oem.size() | length_flags));
  command.insert(command.end(), oem.begin(), oem.end());
}

// The same for client text.
void PutText(Driver& d, Bytes& command, const AnsiString& text, Byte length_flags = 0) {
  PutOemText(command, PrinterTextOut(text, d.module().settings.CP866), length_flags);
}

Bytes AmountCommand(Byte code, std::uint32_t amount) {
  Bytes command{code};
  PutUIntLE(command, amount, 4);
  return command;
}

void DecodePaymentReply(ReceiptValues& receipt, std::span<const Byte> reply) {
  const auto amount = static_cast<std::uint32_t>(UIntLE(reply.first(4)));
  const bool change = (amount & kAmountFlag) != 0;
  receipt.Balance = static_cast<std::int32_t>(amount & ~kAmountFlag);
  receipt.BalanceIsChange = change;
  if (change || amount == 0) {  // the receipt is closed
    receipt.DiscountSum = 0;
    receipt.ReceiptCost = 0;
    receipt.ReceiptTotal = 0;
  }
}

}  // namespace

bool FPPayment(Driver& d, std::int32_t Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool FiscStatus) {
  ReceiptValues& receipt = Receipt(d);
  receipt.Balance = 0;
  receipt.BalanceIsChange = false;
  const auto form = static_cast<std::uint32_t>(Payment_Status);
  if (form > d.traits().last_payment_form) return d.Refuse(24, texts::kPaymentFormError);
  if (Payment > kMaxPayment) return d.Refuse(111, texts::kIncorrectPaymentSum);
  Bytes command{kPayment, static_cast<Byte>(form | (FiscStatus ? 0 : kNotFiscalPayment))};
  PutUIntLE(command, Payment | (CheckClose ? kCloseReceipt : 0), 4);
  if (!d.Execute(command) || !RequireData(d, kPaymentReplySize)) return false;
  DecodePaymentReply(receipt, d.Answer());
  return true;
}

bool FPDiscount(Driver& d, std::int32_t Discount_Type, std::uint32_t Discount_Value,
                const AnsiString& DiscComment) {
  ReceiptValues& receipt = Receipt(d);
  receipt.DiscountSum = 0;
  receipt.ReceiptTotal = 0;
  const auto type = static_cast<std::uint32_t>(Discount_Type);
  if (type >= std::size(kDiscountForms)) return d.Refuse(110, texts::kBadDiscountType);
  if (Discount_Value > kMaxDiscountValue) return d.Refuse(111, texts::kIncorrectDiscountValue);
  if (DiscComment.size() > kDiscountCommentLimit) return d.Refuse(20, texts::kDiscountCommentOver25);
  Bytes command{kDiscount, kDiscountForms[type].mode};
  PutUIntLE(command, Discount_Value | kDiscountForms[type].bits, 4);
  PutText(d, command, DiscComment);
  if (!d.Execute(command) || !RequireData(d, kDiscountReplySize)) return false;
  const std::span<const Byte> reply = d.Answer();
  std::int64_t sum = SignMagnitude32(reply.first(4));
  if (d.traits().negates_discounts && IsDiscountType(type) && sum > 0) sum = -sum;
  receipt.DiscountSum = sum;
  receipt.ReceiptTotal = static_cast<std::int64_t>(UIntLE(reply.subspan(4, 4)));
  return true;
}

bool FPComment(Driver& d, const AnsiString& Comment, bool OpenPayCheck) {
  if (d.traits().older_family) d.call().ErrorText.clear();
  if (Comment.size() > kCommentLimit) return d.Refuse(20, texts::kCommentsLengthError);
  Bytes command{kComment};
  PutText(d, command, Comment, OpenPayCheck ? kOpenPayCheck : 0);
  return d.Execute(command);
}

bool FPNullCheck(Driver& d) {
  if (!FPResetOrder(d)) return false;
  // Printed in Ukrainian whatever the client's code page.
  Bytes command{kComment};
  PutOemText(command, AnsiToOemText(Utf8ToAnsi("НУЛЬОВИЙ ЧЕК")));
  if (!d.Execute(command)) return false;
  if (!FPPayment(d, kCashPayment, 0, /*CheckClose=*/true, /*FiscStatus=*/true)) return false;
  ClearReceipt(Receipt(d));
  return true;
}

bool FPInToCash(Driver& d, std::uint32_t Avans) {
  return d.Execute(AmountCommand(kCashIn, Avans));
}
bool FPOutOfCash(Driver& d, std::uint32_t Money) {
  return d.Execute(AmountCommand(kCashOut, Money));
}

// An information line is sent only when there is one: text after a length of 0 would be read by
// the printer as further fields.
void FPPayment(Driver& d, Byte Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool Information_Status, const AnsiString& Information) {
  d.call().ErrorText.clear();
  if (Payment_Status > kLastOlderPaymentForm) {
    d.Refuse(24, texts::kPaymentFormError);
    return;
  }
  if (Payment > kMaxPayment) {
    d.Refuse(111, texts::kIncorrectPaymentSum);
    return;
  }
  if (Information_Status && Information.size() > kInformationLimit) {
    d.Refuse(20, texts::kInformationOver14);
    return;
  }
  Bytes command{kPayment, static_cast<Byte>(Payment_Status | (Information_Status ? kWithInformation : 0))};
  PutUIntLE(command, Payment | (CheckClose ? kCloseReceipt : 0), 4);
  PutText(d, command, Information_Status ? Information : AnsiString());
  d.Execute(command);
}

void FPDiscount(Driver& d, Byte Discount_Type, std::uint32_t DiscPercent, std::uint32_t DiscSum,
                bool IsDiscount, const AnsiString& DiscComment) {
  d.call().ErrorText.clear();
  if (Discount_Type > 3) {
    d.Refuse(110, texts::kBadDiscountType);
    return;
  }
  const bool relative = Discount_Type % 2 == 0;  // modes 0 and 2
  if ((relative ? DiscPercent : DiscSum) > kMaxOlderDiscountValue) {
    d.Refuse(111, texts::kIncorrectDiscountValue);
    return;
  }
  if (DiscComment.size() > kDiscountCommentLimit) {
    d.Refuse(20, texts::kDiscountCommentOver25);
    return;
  }
  const std::uint32_t value =
      (relative ? DiscPercent | kOlderRelative : DiscSum) | (IsDiscount ? kIsDiscount : 0);
  Bytes command{kDiscount, Discount_Type};
  PutUIntLE(command, value, 4);
  PutText(d, command, DiscComment);
  d.Execute(command);
}

void FPAvans(Driver& d, std::uint32_t Avans) {
  d.call().ErrorText.clear();
  d.Execute(AmountCommand(kCashIn, Avans));
}

void FPGive(Driver& d, std::uint32_t Give) {
  d.call().ErrorText.clear();
  d.Execute(AmountCommand(kCashOut, Give));
}

std::int32_t FPGetBox(Driver& d) {
  d.call().ErrorText.clear();
  if (!d.Execute({kDrawerQuery}) || !RequireData(d, 4)) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(UIntLE(std::span(d.Answer()).first(4))));
}

}  // namespace zorfp
