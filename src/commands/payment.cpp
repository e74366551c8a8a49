#include "commands/payment.h"

#include <string>

#include "commands/items.h"
#include "commands/totals.h"
#include "commands/wire.h"
#include "errors/codepage.h"
#include "errors/encodings.h"
#include "errors/texts_payment.h"

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

// The payment reply: the balance, bit 31 set when it is change to give.
struct PaymentReply {
  std::uint32_t amount = 0;
};
// The discount reply: the sum the discount or markup came to, and the receipt's total.
struct DiscountReply {
  std::int64_t sum = 0;
  std::int64_t total = 0;
};

void DecodePaymentReply(ReceiptValues& receipt, std::uint32_t amount) {
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
  ReceiptValues& receipt = HeldReceipt(d);
  receipt.Balance = 0;
  receipt.BalanceIsChange = false;
  const auto form = static_cast<std::uint32_t>(Payment_Status);
  if (form > d.traits().last_payment_form) return d.Refuse(texts::kPaymentFormError);
  if (Payment > kMaxPayment) return d.Refuse(texts::kIncorrectPaymentSum);
  const auto reply = Query<PaymentReply>(
      d,
      Command(kPayment)
          .U8(static_cast<Byte>(form | (FiscStatus ? 0 : kNotFiscalPayment)))
          .UIntLE(Payment | (CheckClose ? kCloseReceipt : 0), 4),
      [](AnswerReader& r, PaymentReply& out) { out.amount = static_cast<std::uint32_t>(r.UIntLE(4)); },
      {.more_allowed = true});
  if (!reply) return false;
  DecodePaymentReply(receipt, reply->amount);
  return true;
}

bool FPDiscount(Driver& d, std::int32_t Discount_Type, std::uint32_t Discount_Value,
                const AnsiString& DiscComment) {
  ReceiptValues& receipt = HeldReceipt(d);
  receipt.DiscountSum = 0;
  receipt.ReceiptTotal = 0;
  const auto type = static_cast<std::uint32_t>(Discount_Type);
  if (type >= std::size(kDiscountForms)) return d.Refuse(texts::kBadDiscountType);
  if (Discount_Value > kMaxDiscountValue) return d.Refuse(texts::kIncorrectDiscountValue);
  if (DiscComment.size() > kDiscountCommentLimit) return d.Refuse(texts::kDiscountCommentOver25);
  const auto reply = Query<DiscountReply>(
      d,
      Command(kDiscount)
          .U8(kDiscountForms[type].mode)
          .UIntLE(Discount_Value | kDiscountForms[type].bits, 4)
          .Text(d, DiscComment),
      [](AnswerReader& r, DiscountReply& out) {
        out.sum = r.SignMagnitude32();
        out.total = static_cast<std::int64_t>(r.UIntLE(4));
      },
      {.more_allowed = true});
  if (!reply) return false;
  std::int64_t sum = reply->sum;
  if (d.traits().negates_discounts && IsDiscountType(type) && sum > 0) sum = -sum;
  receipt.DiscountSum = sum;
  receipt.ReceiptTotal = reply->total;
  return true;
}

bool FPComment(Driver& d, const AnsiString& Comment, bool OpenPayCheck) {
  if (Comment.size() > kCommentLimit) return d.Refuse(texts::kCommentsLengthError);
  return d.Execute(Command(kComment).Text(d, Comment, OpenPayCheck ? kOpenPayCheck : 0));
}

bool FPNullCheck(Driver& d) {
  if (!FPResetOrder(d)) return false;
  // Printed in Ukrainian whatever the client's code page.
  if (!d.Execute(Command(kComment).OemText(AnsiToOemText(Utf8ToAnsi("НУЛЬОВИЙ ЧЕК"))))) return false;
  if (!FPPayment(d, kCashPayment, 0, /*CheckClose=*/true, /*FiscStatus=*/true)) return false;
  ClearReceipt(HeldReceipt(d));
  return true;
}

bool CashIn(Driver& d, std::uint32_t sum) {
  return d.Execute(Command(kCashIn).UIntLE(sum, 4));
}

bool CashOut(Driver& d, std::uint32_t sum) {
  return d.Execute(Command(kCashOut).UIntLE(sum, 4));
}

// An information line is sent only when there is one: text after a length of 0 would be read by
// the printer as further fields.
bool FPPayment(Driver& d, Byte Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool Information_Status, const AnsiString& Information) {
  if (Payment_Status > kLastOlderPaymentForm) return d.Refuse(texts::kPaymentFormError);
  if (Payment > kMaxPayment) return d.Refuse(texts::kIncorrectPaymentSum);
  if (Information_Status && Information.size() > kInformationLimit) {
    return d.Refuse(texts::kInformationOver14);
  }
  return d.Execute(Command(kPayment)
                       .U8(static_cast<Byte>(Payment_Status | (Information_Status ? kWithInformation : 0)))
                       .UIntLE(Payment | (CheckClose ? kCloseReceipt : 0), 4)
                       .Text(d, Information_Status ? Information : AnsiString()));
}

bool FPDiscount(Driver& d, Byte Discount_Type, std::uint32_t DiscPercent, std::uint32_t DiscSum,
                bool IsDiscount, const AnsiString& DiscComment) {
  if (Discount_Type > 3) return d.Refuse(texts::kBadDiscountType);
  const bool relative = Discount_Type % 2 == 0;  // modes 0 and 2
  if ((relative ? DiscPercent : DiscSum) > kMaxOlderDiscountValue) {
    return d.Refuse(texts::kIncorrectDiscountValue);
  }
  if (DiscComment.size() > kDiscountCommentLimit) return d.Refuse(texts::kDiscountCommentOver25);
  const std::uint32_t value =
      (relative ? DiscPercent | kOlderRelative : DiscSum) | (IsDiscount ? kIsDiscount : 0);
  return d.Execute(Command(kDiscount).U8(Discount_Type).UIntLE(value, 4).Text(d, DiscComment));
}

std::int32_t FPGetBox(Driver& d) {
  const auto cash = Query<std::uint32_t>(
      d, Command(kDrawerQuery),
      [](AnswerReader& r, std::uint32_t& out) { out = static_cast<std::uint32_t>(r.UIntLE(4)); },
      {.more_allowed = true});
  return cash ? static_cast<std::int32_t>(*cash) : 0;
}

}  // namespace zorfp
