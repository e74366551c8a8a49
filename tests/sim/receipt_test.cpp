// Receipts in the printer model: item, discount, payment, comment and cash commands with their
// answer bytes per variant, the printer's refusals, and what a receipt leaves in the day registers.
// Driven in-process; the wire is receipt_wire_test's business.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/model.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;
using ::testing::ElementsAre;

constexpr Byte kSale = 0x12;
constexpr Byte kRefund = 0x08;

Bytes Le(std::uint64_t v, int width) {
  Bytes out;
  for (int i = 0; i < width; ++i, v >>= 8) out.push_back(static_cast<Byte>(v));
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

int ArticleWidth(Variant v) {
  return v == kEp01 ? 4 : v == k0801 ? 2 : 6;
}

struct Item {
  std::uint32_t quantity = 1;
  Byte status = 0;
  std::uint32_t price = 100;  // as sent: bit 31 is the sign
  Byte tax = 0x80;
  std::string name = "X";
  std::uint64_t code = 1;
  bool from_memory = false;
};

// An item command as a host builds it for the variant.
Bytes ItemCommand(Variant v, Byte code, const Item& it) {
  Bytes name_field = it.from_memory
                         ? Bytes{0xFF}
                         : Join({{static_cast<Byte>(it.name.size())}, Bytes(it.name.begin(), it.name.end())});
  return Join({{code},
               Le(it.quantity, 3),
               {it.status},
               Le(it.price, 4),
               {it.tax},
               name_field,
               Le(it.code, ArticleWidth(v))});
}

Bytes Payment(Variant v, Byte form, std::uint32_t amount) {
  Bytes c = Join({{0x14, form}, Le(amount, 4)});
  if (v == kEp01 || v == k0801) c.push_back(0x00);  // no information line
  return c;
}

std::uint32_t RelativeBit(Variant v) {
  return v == kEp01 ? 0x02000000 : 0x04000000;
}

// mode, value with its flags, no comment.
Bytes Discount(Byte mode, std::uint32_t value) {
  return Join({{0x23, mode}, Le(value, 4), {0x00}});
}

Answer Send(PrinterModel& m, const Bytes& command) {
  return Execute(m, command).answer;
}

Byte Result(PrinterModel& m, const Bytes& command) {
  return Send(m, command).result;
}

std::vector<Variant> Newer() {
  return {kEp02, kEp05, kEp06, k0502, k0503};
}

TEST(ItemTest, AnswersCostAndTotalInEveryVariant) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    // 2 x 12.50 in group A, article code wider than one byte.
    EXPECT_EQ(Send(m, ItemCommand(v, kSale, {.quantity = 2, .price = 1250, .name = "Bread", .code = 0x0102})),
              (Answer{0, 0, 0, {0xC4, 0x09, 0x00, 0x00, 0xC4, 0x09, 0x00, 0x00}}));
    // 1.500 x 30.00 in group B: 45.00, total 70.00.
    EXPECT_EQ(
        Send(m, ItemCommand(v, kSale, {.quantity = 1500, .status = 3, .price = 3000, .tax = 0x81})).data,
        (Bytes{0x94, 0x11, 0x00, 0x00, 0x58, 0x1B, 0x00, 0x00}));
    // A negative price (a deposit returned) gives a negative cost: 1 x -5.00.
    EXPECT_EQ(Send(m, ItemCommand(v, kSale, {.price = 0x800001F4})).data,
              (Bytes{0xF4, 0x01, 0x00, 0x80, 0x64, 0x19, 0x00, 0x00}));
    ASSERT_EQ(m.receipt.items.size(), 3u);
    EXPECT_EQ(m.receipt.items[0].code, 0x0102u);
    EXPECT_EQ(m.receipt.items[0].name, "Bread");
    EXPECT_EQ(m.receipt.items[1].tax_group, 1);
  }
}

TEST(ItemTest, QuantityDecimalsRoundHalvesAwayFromZero) {
  struct Case {
    std::uint32_t quantity;
    Byte status;
    std::uint32_t price;
    std::int64_t cost;
  };
  for (const Case& c : std::vector<Case>{{1, 0, 999, 999},
                                         {5, 1, 101, 51},
                                         {333, 3, 1000, 333},
                                         {1005, 3, 1000, 1005},
                                         {1, 2, 50, 1},
                                         {1, 2, 0x80000032, -1},
                                         {3, 0x80, 700, 2100},
                                         {16777215, 0, 100, 1677721500}}) {
    PrinterModel m(k0503);
    const Answer a =
        Send(m, ItemCommand(k0503, kSale, {.quantity = c.quantity, .status = c.status, .price = c.price}));
    if (c.cost < 0) {
      EXPECT_EQ(a.result, result::kNegativeTotal);
      continue;
    }
    ASSERT_EQ(a.result, 0) << c.quantity;
    EXPECT_EQ(m.receipt.items[0].cost, c.cost) << c.quantity;
  }
}

TEST(ItemTest, NameFromArticleMemoryOnTheNewerVariants) {
  for (Variant v : Newer()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    m.programming.articles[77] = {Utf8ToCp866("Кава"), 2500, 1, 0};
    EXPECT_EQ(Result(m, ItemCommand(v, kSale, {.tax = 0x81, .code = 77, .from_memory = true})), 0);
    EXPECT_EQ(Cp866ToUtf8(m.receipt.items[0].name), "Кава");
    EXPECT_TRUE(m.receipt.items[0].name_from_memory);
    EXPECT_EQ(Result(m, ItemCommand(v, kSale, {.tax = 0x80, .code = 77, .from_memory = true})),
              result::kBadArticle);
    EXPECT_EQ(Result(m, ItemCommand(v, kSale, {.code = 78, .from_memory = true})), result::kBadArticle);
  }
  // The older variants have no such form: 0xFF is a length, and 255 bytes do not follow.
  PrinterModel m(kEp01);
  m.programming.articles[77] = {"X", 100, 0, 0};
  EXPECT_EQ(Result(m, ItemCommand(kEp01, kSale, {.code = 77, .from_memory = true})),
            result::kCommandForbidden);
}

// A refusal in a situation: what the printer answers, per variant in the order EP-01, 08-01,
// EP-02, EP-05, EP-06, 05-02, 05-03.
struct RefusalCase {
  std::string name;
  std::function<void(PrinterModel&)> before;  // commands that set the scene
  std::function<Bytes(Variant)> command;
  std::vector<Byte> results;
};

void Do(PrinterModel& m, const Bytes& command) {
  ASSERT_EQ(Result(m, command), 0) << HexString(command);
}

void OpenSale(PrinterModel& m) {
  Do(m, ItemCommand(m.variant, kSale, {.price = 1000}));
}

void OpenRefund(PrinterModel& m) {
  Do(m, ItemCommand(m.variant, kRefund, {.price = 1000}));
}

std::vector<Byte> All(Byte r) {
  return std::vector<Byte>(7, r);
}

// 05-02 and 05-03 have a code for a bad parameter; the others refuse it as not supported.
std::vector<Byte> BadParameter() {
  return {16, 16, 16, 16, 16, 50, 50};
}

TEST(RefusalTest, ItemsPaymentsDiscountsAndCash) {
  auto item = [](Item it, Byte code = kSale) { return [=](Variant v) { return ItemCommand(v, code, it); }; };
  auto fixed = [](Bytes b) { return [=](Variant) { return b; }; };
  auto nothing = [](PrinterModel&) {};
  const std::vector<RefusalCase> cases = {
      {"sale in a refund receipt", OpenRefund, item({}), All(result::kRefundReceiptOpen)},
      {"refund in a sale receipt", OpenSale, item({}, kRefund), All(result::kSaleReceiptOpen)},
      {"item after payment began",
       [](PrinterModel& m) {
         OpenSale(m);
         Do(m, Payment(m.variant, 0, 100));
       },
       item({}), All(result::kAfterPayment)},
      {"too many items",
       [](PrinterModel& m) {
         m.receipt_item_limit = 1;
         OpenSale(m);
       },
       item({}), All(result::kTooManyItems)},
      {"name of 26", nothing, item({.name = std::string(26, 'n')}), {0, 20, 0, 0, 0, 0, 0}},
      {"name of 51", nothing, item({.name = std::string(51, 'n')}), {20, 20, 20, 20, 0, 20, 20}},
      {"name of 71", nothing, item({.name = std::string(71, 'n')}), All(20)},
      {"tax group D, not programmed", nothing, item({.tax = 0x83}), All(result::kNoSuchTaxGroup)},
      {"tax group F, untaxed but on 08-01", nothing, item({.tax = 0x85}), {0, 23, 0, 0, 0, 0, 0}},
      {"tax byte beyond F", nothing, item({.tax = 0x86}), All(result::kNoSuchTaxGroup)},
      {"tax byte without 0x80", nothing, item({.tax = 0x00}), All(result::kNoSuchTaxGroup)},
      {"quantity 0", nothing, item({.quantity = 0}), BadParameter()},
      {"four decimal places", nothing, item({.status = 4}), BadParameter()},
      {"cost beyond 31 bits", nothing, item({.quantity = 16777215, .price = 0x7FFFFFFF}),
       All(result::kCostTooBig)},
      {"negative total", nothing, item({.price = 0x80000064}), All(result::kNegativeTotal)},
      {"item cut short", nothing, fixed({kSale, 0x01, 0x00}), BadParameter()},
      {"paper out", [](PrinterModel& m) { m.status.paper.receipt_out = true; }, item({}),
       All(result::kPaperOut)},
      {"day over 24 hours",
       [](PrinterModel& m) {
         m.status.mode.day_open = true;
         m.day_opened_at = m.clock.Now() - std::chrono::hours(25);
       },
       item({}), All(result::kZReportNeeded)},
      {"not personalized",
       [](PrinterModel& m) { m.status.conditions.personalized = false; },
       item({}),
       {0, 0, 0, 0, 10, 0, 0}},
      {"void with no receipt", nothing, fixed({0x32}), {16, 16, 16, 16, 16, 39, 39}},
      {"void after payment began",
       [](PrinterModel& m) {
         OpenSale(m);
         Do(m, Payment(m.variant, 3, 100));
       },
       fixed({0x32}),
       {16, 16, 16, 16, 16, 46, 46}},
      {"payment with no receipt", nothing, [](Variant v) { return Payment(v, 3, 100); },
       All(result::kReceiptNotOpen)},
      {"payment form 4", OpenSale, [](Variant v) { return Payment(v, 4, 100); }, {24, 24, 24, 24, 0, 24, 24}},
      {"payment form 10", OpenSale, [](Variant v) { return Payment(v, 10, 100); }, All(24)},
      {"card beyond the total", OpenSale, [](Variant v) { return Payment(v, 0, 1001); },
       All(result::kNoChangeFromPayment)},
      {"refund paid beyond its total",
       [](PrinterModel& m) {
         m.drawer = 5000;
         OpenRefund(m);
       },
       [](Variant v) { return Payment(v, 3, 1001); }, All(result::kNoChangeFromPayment)},
      {"refund in cash the drawer lacks", OpenRefund, [](Variant v) { return Payment(v, 3, 1000); },
       All(result::kNotEnoughCash)},
      {"discount with no receipt", nothing, fixed(Discount(1, 0x80000064)), {39, 16, 39, 39, 39, 39, 39}},
      {"discount with no sale",
       [](PrinterModel& m) {
         Do(m, {0x0B, 0x01, 'c'});
       },
       fixed(Discount(1, 0x80000064)),
       {45, 16, 45, 45, 45, 45, 45}},
      {"discount after payment began",
       [](PrinterModel& m) {
         OpenSale(m);
         Do(m, Payment(m.variant, 0, 100));
       },
       fixed(Discount(3, 0x80000064)),
       {46, 16, 46, 46, 46, 46, 46}},
      {"second discount on one item",
       [](PrinterModel& m) {
         OpenSale(m);
         if (m.variant != k0801) Do(m, Discount(1, 0x80000064));
       },
       fixed(Discount(1, 0x80000064)), All(16)},
      {"discount beyond the item", OpenSale, fixed(Discount(1, 0x800003E9)), {27, 16, 27, 27, 27, 27, 27}},
      {"percentage over 100", OpenSale, [](Variant v) { return Discount(0, RelativeBit(v) | 10001); },
       BadParameter()},
      {"percentage bit with a sum mode", OpenSale,
       [](Variant v) { return Discount(1, RelativeBit(v) | 100); }, BadParameter()},
      {"the other family's percentage bit", OpenSale,
       [](Variant v) { return Discount(0, (v == kEp01 ? 0x04000000u : 0x02000000u) | 100); }, BadParameter()},
      {"discount of nothing", OpenSale, fixed(Discount(3, 0x80000000)), BadParameter()},
      {"discount mode 4", OpenSale, fixed(Discount(4, 100)), BadParameter()},
      {"discount comment of 26",
       OpenSale,
       fixed(Join({{0x23, 0x03}, Le(100, 4), {26}, Bytes(26, 'c')})),
       {20, 16, 20, 20, 20, 20, 20}},
      {"comment of 28", nothing, fixed(Join({{0x0B, 28}, Bytes(28, 'c')})), All(result::kBadLength)},
      {"comment length and text disagree", nothing, fixed({0x0B, 0x03, 'a'}), BadParameter()},
      {"cash in during a receipt", OpenSale, fixed(Join({{0x10}, Le(100, 4)})), All(result::kReceiptOpen)},
      {"cash out beyond the drawer", [](PrinterModel& m) { m.drawer = 99; },
       fixed(Join({{0x18}, Le(100, 4)})), All(result::kNotEnoughCash)},
      {"cash in of nothing", nothing, fixed(Join({{0x10}, Le(0, 4)})), BadParameter()},
      {"day totals with a parameter", nothing, fixed({0x2A, 0x00}), {16, 16, 16, 16, 16, 50, 50}},
  };
  for (const RefusalCase& c : cases) {
    for (Variant v : AllVariants()) {
      SCOPED_TRACE(c.name + " on " + std::string(Tag(v)));
      PrinterModel m(v);
      c.before(m);
      const std::int64_t total_before = m.receipt.items.size();
      const Answer a = Send(m, c.command(v));
      EXPECT_EQ(a.result, c.results[static_cast<std::size_t>(v)]);
      if (a.result != 0) {
        EXPECT_TRUE(a.data.empty());
        EXPECT_EQ(static_cast<std::int64_t>(m.receipt.items.size()), total_before);  // nothing registered
      }
    }
  }
}

TEST(DiscountTest, AnswersTheSumAndTheTotal) {
  for (Variant v : {kEp01, kEp02, kEp05, kEp06, k0502, k0503}) {
    SCOPED_TRACE(std::string(Tag(v)));
    const bool unsigned_sum = v == k0502 || v == k0503;
    PrinterModel m(v);
    Do(m, ItemCommand(v, kSale, {.quantity = 2, .price = 1250}));
    // 10 % off the last item: -2.50, total 22.50.
    EXPECT_EQ(
        Send(m, Discount(0, 0x80000000 | RelativeBit(v) | 1000)).data,
        (Bytes{0xFA, 0x00, 0x00, static_cast<Byte>(unsigned_sum ? 0x00 : 0x80), 0xCA, 0x08, 0x00, 0x00}));
    Do(m, ItemCommand(v, kSale, {.price = 1000, .tax = 0x81}));
    // A markup of 1.00 on the receipt: +1.00, total 33.50.
    EXPECT_EQ(Send(m, Discount(3, 100)).data, (Bytes{0x64, 0x00, 0x00, 0x00, 0x16, 0x0D, 0x00, 0x00}));
    // 5 % off the receipt of 33.50: -1.68 (1.675 rounded away from zero), total 31.82.
    EXPECT_EQ(
        Send(m, Join({{0x23, 0x02}, Le(0x80000000 | RelativeBit(v) | 500, 4), {0x02, 'O', 'K'}})).data,
        (Bytes{0xA8, 0x00, 0x00, static_cast<Byte>(unsigned_sum ? 0x00 : 0x80), 0x6E, 0x0C, 0x00, 0x00}));
    // Receipt sums are spread over the groups by their turnover: A 22.50 and B 10.00, so +1.00 is
    // +0.69 and +0.31, and -1.68 is -1.16 and -0.52.
    EXPECT_EQ(m.receipt.adjustments[0].by_group[0] + m.receipt.adjustments[1].by_group[0], 69 - 116);
    EXPECT_EQ(m.receipt.adjustments[0].by_group[1] + m.receipt.adjustments[1].by_group[1], 31 - 52);
    EXPECT_EQ(m.receipt.adjustments[1].adjustment.comment, "OK");
    // The last item is no longer the last entry: its discount is refused, and so is voiding it.
    EXPECT_EQ(Result(m, Discount(1, 100)), result::kCommandForbidden);
  }
}

TEST(PaymentTest, ChangeDueAndClosing) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    Do(m, ItemCommand(v, kSale, {.price = 7000}));
    // Card 50.00, not closing: 20.00 still due.
    EXPECT_EQ(Send(m, Payment(v, 0, 5000)).data, (Bytes{0xD0, 0x07, 0x00, 0x00}));
    EXPECT_TRUE(m.status.mode.payment_begun);
    EXPECT_TRUE(m.receipt.open());
    // Nothing with the close bit clear only tells what is due.
    EXPECT_EQ(Send(m, Payment(v, 3, 0)).data, (Bytes{0xD0, 0x07, 0x00, 0x00}));
    EXPECT_EQ(m.receipt.payments.size(), 1u);
    // Cash 25.00 and close: 5.00 change.
    EXPECT_EQ(Send(m, Payment(v, 3, 0x800009C4)).data, (Bytes{0xF4, 0x01, 0x00, 0x80}));
    EXPECT_FALSE(m.receipt.open());
    EXPECT_FALSE(m.status.mode.receipt_open);
    EXPECT_FALSE(m.status.mode.payment_begun);
    EXPECT_EQ(m.receipt.number, 1u);
    EXPECT_EQ(m.drawer, 2000);
    // Exactly paid: 0, closed; the close bit with 0 pays what is due in the form given.
    Do(m, ItemCommand(v, kSale, {.price = 300}));
    EXPECT_EQ(Send(m, Payment(v, 1, 0x80000000)).data, (Bytes{0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m.receipt.PaidIn(1), 300);
    EXPECT_EQ(m.last_receipt_number, 2u);
  }
}

TEST(PaymentTest, FormsFiveToTenOnEp06AndTheFormBitsOfEachFamily) {
  PrinterModel ep06(kEp06);
  Do(ep06, ItemCommand(kEp06, kSale, {.price = 1000}));
  EXPECT_EQ(Send(ep06, Payment(kEp06, 9, 400)).data, (Bytes{0x58, 0x02, 0x00, 0x00}));
  EXPECT_EQ(Result(ep06, Payment(kEp06, 0x80 | 3, 600)), result::kNoSuchPaymentForm);
  // Bit 6: outside the fiscal record.
  EXPECT_EQ(Result(ep06, Payment(kEp06, 0x40 | 3, 600)), 0);
  EXPECT_FALSE(ep06.receipt.payments.back().fiscal);
  EXPECT_EQ(ep06.day.sales.by_payment_form[9], 400);

  // EP-01 and 08-01: bit 7 announces an information line of up to 14 characters.
  for (Variant v : {kEp01, k0801}) {
    PrinterModel m(v);
    Do(m, ItemCommand(v, kSale, {.price = 1000}));
    EXPECT_EQ(Result(m, Join({{0x14, 0x80}, Le(100, 4), {15}, Bytes(15, 'i')})), result::kBadLength);
    EXPECT_EQ(Result(m, Join({{0x14, 0x80}, Le(100, 4), {4}, {'C', 'A', 'R', 'D'}})), 0);
    EXPECT_EQ(m.receipt.payments.back().info, "CARD");
    // Without bit 7 the length byte is there and what follows it is not read.
    EXPECT_EQ(Result(m, Join({{0x14, 0x00}, Le(100, 4), {0x00, 'x', 'y'}})), 0);
    EXPECT_EQ(Result(m, Join({{0x14, 0x00}, Le(100, 4)})), result::kCommandForbidden);
    EXPECT_EQ(Result(m, Join({{0x14, 0x40}, Le(100, 4), {0x00}})), result::kNoSuchPaymentForm);
  }
}

TEST(ReceiptTest, ZeroReceiptCommentThenNothingPaid) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    EXPECT_EQ(Send(m, {0x0F}), (Answer{0, 0, 0, {}}));  // nothing open: nothing to cancel
    const Cp866Text zero = Utf8ToCp866("НУЛЬОВИЙ ЧЕК");
    ASSERT_EQ(zero.size(), 12u);
    Do(m, Join({{0x0B, 0x0C}, Bytes(zero.begin(), zero.end())}));
    EXPECT_TRUE(m.receipt.open());
    EXPECT_EQ(m.receipt.kind, ReceiptKind::kSale);
    EXPECT_EQ(Send(m, Payment(v, 3, 0x80000000)).data, (Bytes{0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m.receipt.state, ReceiptState::kClosed);
    EXPECT_EQ(m.day.sales.receipts, 1u);
    EXPECT_TRUE(m.status.mode.day_open);
  }
}

TEST(ReceiptTest, CommentWithBit7OpensARefundReceipt) {
  PrinterModel m(k0503);
  Do(m, {0x0B, 0x81, 'r'});
  EXPECT_TRUE(m.status.mode.refund_receipt);
  EXPECT_EQ(Result(m, ItemCommand(k0503, kSale, {})), result::kRefundReceiptOpen);
  EXPECT_EQ(Result(m, ItemCommand(k0503, kRefund, {})), 0);
}

TEST(ReceiptTest, CancelAndVoidAreCounted) {
  for (Variant v : {k0502, k0503}) {
    PrinterModel m(v);
    Do(m, ItemCommand(v, kSale, {.price = 1000}));
    Do(m, ItemCommand(v, kSale, {.price = 250}));
    Do(m, Discount(1, 0x80000032));  // the last item's own discount goes with it
    Do(m, {0x32});
    EXPECT_EQ(m.receipt.items.size(), 1u);
    EXPECT_EQ(m.day.sales.cancelled_items.count, 1u);
    EXPECT_EQ(m.day.sales.cancelled_items.sum, 200);
    Do(m, {0x0F});
    EXPECT_EQ(m.receipt.state, ReceiptState::kCancelled);
    EXPECT_FALSE(m.status.mode.receipt_open);
    EXPECT_EQ(m.day.sales.cancelled_receipts.count, 1u);
    EXPECT_EQ(m.day.sales.cancelled_receipts.sum, 1000);
    EXPECT_EQ(m.day.sales.receipts, 0u);
    EXPECT_EQ(Result(m, {0x32}), result::kReceiptNotOpen);
  }
}

TEST(StatusFlagsTest, FollowTheReceipt) {
  PrinterModel m(kEp02);
  Do(m, ItemCommand(kEp02, kRefund, {.price = 100}));
  EXPECT_EQ(StatusBlock(m)[0], 0x20 | 0x40 | 0x08);  // day open, receipt open, refund receipt
  m.drawer = 100;
  Do(m, Payment(kEp02, 3, 50));
  EXPECT_EQ(StatusBlock(m)[0], 0x20 | 0x40 | 0x08 | 0x02);  // and payment begun
  Do(m, Payment(kEp02, 3, 50));
  EXPECT_EQ(StatusBlock(m)[0], 0x20);
  EXPECT_EQ(m.drawer, 0);
}

TEST(CashTest, InAndOutMoveTheDrawerAndTheDay) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    Do(m, Join({{0x10}, Le(0x01000000, 4)}));
    Do(m, Join({{0x18}, Le(0x00FFFFFF, 4)}));
    EXPECT_EQ(Send(m, {0x21}).data, (Bytes{0x01, 0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(m.day.cash_in, 0x01000000);
    EXPECT_EQ(m.day.cash_out, 0x00FFFFFF);
    EXPECT_TRUE(m.status.mode.day_open);
  }
}

// Two sales (one with change, one by card with a discount), a refund, a cancelled receipt and cash
// in and out: the day totals of the newer variants and the registers the older ones read by address.
void SeveralReceipts(PrinterModel& m) {
  const Variant v = m.variant;
  Do(m, Join({{0x10}, Le(10000, 4)}));
  Do(m, ItemCommand(v, kSale, {.quantity = 2, .price = 1250}));
  Do(m, ItemCommand(v, kSale, {.price = 1000, .tax = 0x81}));
  Do(m, Payment(v, 3, 0x80000000 | 4000));
  Do(m, ItemCommand(v, kSale, {.price = 2000, .tax = 0x82}));
  if (v != k0801) Do(m, Discount(1, 0x80000000 | 300));
  Do(m, Payment(v, 0, 0x80000000));
  Do(m, ItemCommand(v, kRefund, {.price = 500}));
  Do(m, Payment(v, 3, 500));
  Do(m, ItemCommand(v, kSale, {.price = 900}));
  Do(m, {0x0F});
  Do(m, Join({{0x18}, Le(1000, 4)}));
}

TEST(DayTotalsTest, AfterSeveralReceipts) {
  for (Variant v : {kEp02, kEp06}) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    SeveralReceipts(m);
    const int forms = v == kEp06 ? 10 : 4;
    auto money = [](std::uint64_t x) { return Le(x, 5); };
    auto form_block = [&](std::uint64_t card, std::uint64_t cash) {
      Bytes b = Join({money(card), money(0), money(0), money(cash)});
      for (int f = 4; f < forms; ++f) b = Join({b, money(0)});
      return b;
    };
    const Bytes expected = Join({
        {0x02, 0x00},  // two sale receipts, BCD
        money(2500),
        money(1000),
        money(1700),
        money(0),
        money(0),
        money(0),
        form_block(1700, 3500),  // card 17.00; cash 40.00 less 5.00 change
        money(0),
        money(300),    // markups, discounts
        money(10000),  // cash in
        {0x01, 0x00},  // one refund receipt
        money(500),
        money(0),
        money(0),
        money(0),
        money(0),
        money(0),
        form_block(0, 500),
        money(0),
        money(0),
        money(1000),  // cash out
    });
    const Answer a = Send(m, {0x2A});
    EXPECT_EQ(a.data.size(), v == kEp06 ? 194u : 134u);
    EXPECT_EQ(a.data, expected);
    EXPECT_EQ(m.drawer, 10000 + 3500 - 500 - 1000);
    EXPECT_EQ(m.day.sales.cancelled_receipts.sum, 900);
  }
}

TEST(DayTotalsTest, RegistersInTheMemoryMap) {
  for (Variant v : {kEp01, k0801, k0503}) {
    SCOPED_TRACE(std::string(Tag(v)));
    PrinterModel m(v);
    SeveralReceipts(m);
    for (int i = 0; i < 11; ++i) {
      Do(m, {0x0B, 0x01, 'z'});  // zero receipts count too
      Do(m, Payment(v, 3, 0x80000000));
    }
    // 13 sale receipts: BCD 13 00 on the older firmware, binary 0D 00 on the newer.
    const Byte counter = v == k0503 ? 0x0D : 0x13;
    EXPECT_EQ(Send(m, {0x1C, 0x1B, 0x30, 0x10, 0x02}).data, (Bytes{counter, 0x00}));
    const Byte group_c = v == k0801 ? 0xD0 : 0xA4;  // 20.00, or 17.00 after the discount
    const Byte group_c_high = v == k0801 ? 0x07 : 0x06;
    EXPECT_EQ(Send(m, {0x1C, 0x1D, 0x30, 0x10, 0x1E}).data,
              Join({Le(2500, 5), Le(1000, 5), {group_c, group_c_high, 0, 0, 0}, Bytes(15, 0)}));
    EXPECT_EQ(Send(m, {0x1C, 0xAB, 0x30, 0x10, 0x07}).data,
              (Bytes{0x01, 0x00, 0xF4, 0x01, 0x00, 0x00, 0x00}));
    // Receipt cancellations: one sale receipt of 9.00, no refunds.
    EXPECT_EQ(Send(m, {0x1C, 0x74, 0x2F, 0x10, 0x0E}).data, Join({{0x01, 0x00}, Le(900, 5), Bytes(7, 0)}));
    if (v == kEp01) {
      EXPECT_EQ(Send(m, {0x1C, 0x3B, 0x30, 0x10, 0x05}).data, Le(1700, 5));   // card
      EXPECT_EQ(Send(m, {0x1C, 0x5A, 0x30, 0x10, 0x05}).data, Le(10000, 5));  // cash in
      EXPECT_EQ(Send(m, {0x1C, 0xD5, 0x30, 0x10, 0x05}).data, Le(1000, 5));   // cash out
    }
  }
}

TEST(ReceiptTotalsTest, TurnoverAndPaymentsOfTheOpenReceipt) {
  PrinterModel m(kEp06);
  Do(m, ItemCommand(kEp06, kSale, {.price = 1000}));
  Do(m, ItemCommand(kEp06, kSale, {.price = 300, .tax = 0x85}));
  Do(m, Payment(kEp06, 5, 200));
  const Bytes expected =
      Join({Le(1000, 4), Bytes(16, 0), Le(300, 4), Bytes(20, 0), Le(200, 4), Bytes(16, 0)});
  EXPECT_EQ(Send(m, {0x2B}).data, expected);
  Do(m, Payment(kEp06, 3, 1100));
  EXPECT_EQ(Send(m, {0x2B}).data, Bytes(64, 0));
  PrinterModel four(k0502);
  EXPECT_EQ(Send(four, {0x2B}).data.size(), 40u);
}

TEST(TaxTest, AddedTaxIsPartOfTheTotal) {
  PrinterModel m(k0503);
  m.status.mode.taxes_added = true;
  // 10.00 in A (20 % on top) and 10.00 in B (7 % on top).
  Do(m, ItemCommand(k0503, kSale, {.price = 1000}));
  EXPECT_EQ(Send(m, ItemCommand(k0503, kSale, {.price = 1000, .tax = 0x81})).data,
            (Bytes{0xE8, 0x03, 0x00, 0x00, 0xDE, 0x08, 0x00, 0x00}));  // total 22.70
  Do(m, Payment(k0503, 3, 0x80000000));
  EXPECT_EQ(m.day.sales.turnover_by_group[0], 1200);
  EXPECT_EQ(m.day.sales.turnover_by_group[1], 1070);
}

TEST(TapeTest, AReceiptReadsLikeAPaperRoll) {
  PrinterModel m(k0503);
  std::vector<std::string> tape;
  m.printing.tape = [&tape](std::string_view line) { tape.push_back(Cp866ToUtf8(line)); };
  const Cp866Text bread = Utf8ToCp866("Хлеб");
  Do(m, ItemCommand(k0503, kSale, {.quantity = 2, .price = 1250, .name = bread}));
  Do(m,
     ItemCommand(k0503, kSale, {.quantity = 1500, .status = 3, .price = 3000, .tax = 0x81, .name = "Milk"}));
  Do(m, Discount(0, 0x84000000 | 1000));
  Do(m, Join({{0x0B, 0x04}, Bytes{'T', 'h', 'x', '!'}}));
  Do(m, Payment(k0503, 0, 5000));
  Do(m, Payment(k0503, 3, 0x80000000 | 2000));
  EXPECT_THAT(
      tape,
      ElementsAre("             ООО \"ЗОРЯ\"", "      г. Киев, ул. Крещатик, 1", "            Магазин N 7",
                  "          ПН 123456789012", "------------------------------------", "Хлеб",
                  "2 x 12.50 =                  25.00 А", "Milk", "1.500 x 30.00 =              45.00 Б",
                  "ЗНИЖКА 10.00%                  -4.50", "Thx!", "------------------------------------",
                  "СУМА                           65.50", "ПДВ А 20.00%                    4.17",
                  "ПДВ Б 7.00%                     2.65", "КАРТКА                         50.00",
                  "ГОТIВКА                        20.00", "РЕШТА                           4.50",
                  "------------------------------------",
                  ::testing::MatchesRegex("ЧЕК N 1 +[0-9]{2}\\.[0-9]{2}\\.[0-9]{4} [0-9:]{8}"),
                  "           ФIСКАЛЬНИЙ ЧЕК", "    ЗН ZR53000079 ФН 3153000079", ""));
  EXPECT_EQ(tape[19].size(), 36u + 3);  // "ЧЕК" is three two-byte letters in UTF-8
}

}  // namespace
}  // namespace zorfp::sim
