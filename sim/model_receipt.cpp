// The receipt as a whole: comments on it, and cancelling it.
#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/receipt_flow.h"
#include "sim/receipt_print.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

constexpr Byte kCommentLengthMask = 0x7F;
constexpr Byte kCommentOpensRefund = 0x80;
constexpr std::size_t kMaxCommentLength = 27;

}  // namespace

// Cancels the open receipt. With none open there is nothing to do, and that is no error: a host
// clears the way this before it starts a receipt of its own.
Reply HandleCancelReceipt(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  if (!m.receipt.open()) return Reply::Ok();
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  CancelReceipt(m);
  return Reply::Ok();
}

// Comment line: length byte (bit 7: open a refund receipt), then the text. Printed in the open
// receipt, also after payment has begun; with no receipt open it opens one, so a comment and a
// payment of nothing make a zero receipt.
Reply HandleComment(PrinterModel& m, const Request& r) {
  FieldReader fields(r.params);
  const Byte length_byte = fields.Byte1();
  const std::span<const Byte> text = fields.Take(length_byte & kCommentLengthMask);
  if (!fields.Complete()) return RefuseBadParameter(m);
  if (text.size() > kMaxCommentLength) return Reply::Refuse(result::kBadLength);
  if (Refusal no = PaperRefusal(m)) return Reply::Refuse(*no);
  if (!m.receipt.open()) {
    if (Refusal no = OpeningRefusal(m)) return Reply::Refuse(*no);
    OpenReceipt(m, (length_byte & kCommentOpensRefund) != 0 ? ReceiptKind::kRefund : ReceiptKind::kSale);
  }
  PrintComment(m, std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
  return Reply::Ok();
}

}  // namespace zorfp::sim
