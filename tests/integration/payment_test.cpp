// Payment and closing, discounts and markups, comments, the zero receipt and cash in and out: the
// bytes on the wire per class, the checks that send nothing, and the receipt values each reply
// leaves.
#include <gtest/gtest.h>

#include <limits>

#include "commands/items.h"
#include "commands/payment.h"
#include "commands/totals.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using testing::AnswerFrame;
using testing::FrameCodeOf;
using testing::FrameSeqOf;
using testing::FromHex;
using testing::Reply;

class PaymentTest : public testing::PtyDriverTest {
 protected:
  ReceiptValues& Values(VariantId id) { return module().values[Index(id)].totals.receipt; }
  // A receipt in progress, so that a test sees what a call changes.
  void SetReceipt(VariantId id) {
    Values(id) = {
        .ReceiptCost = 7, .ReceiptTotal = 8, .Balance = 9, .BalanceIsChange = true, .DiscountSum = -5};
  }
  void ExpectReceipt(std::int32_t cost, std::int32_t total, std::int32_t balance, bool change,
                     std::int32_t discount, const char* what = "") {
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), cost) << what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), total) << what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBalance"), balance) << what;
    EXPECT_EQ(Call<bool>(*driver_, "GetBalanceType"), change) << what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDiscountSum"), discount) << what;
  }
};

TEST_F(PaymentTest, PaymentOnTheWire) {
  Answer(FromHex("00 00 00 00"));
  Open(VariantId::k05_03);
  EXPECT_TRUE(FPPayment(*driver_, 3, 1000, true, true));
  EXPECT_TRUE(FPPayment(*driver_, 0, 5, false, false));
  EXPECT_TRUE(FPPayment(*driver_, 2, 0x7FFFFFFF, false, true));
  Open(VariantId::kEP_06);  // ten payment forms
  EXPECT_TRUE(FPPayment(*driver_, 4, 1, false, true));
  EXPECT_TRUE(FPPayment(*driver_, 9, 1, true, false));
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 14 03 E8 03 00 80 7D 10 03",
                           "10 02 02 14 40 05 00 00 00 A5 10 03",
                           "10 02 03 14 02 FF FF FF 7F 6B 10 03",
                           "10 02 04 14 04 01 00 00 00 E3 10 03",
                           "10 02 05 14 49 01 00 00 80 1D 10 03",
                       }));
}

TEST_F(PaymentTest, PaymentFormOutOfRangeSendsNothing) {
  const struct {
    VariantId id;
    std::int32_t form;
  } cases[] = {
      {VariantId::k05_03, 4}, {VariantId::kEP_02, 9}, {VariantId::kEP_06, 10}, {VariantId::kEP_05, -1}};
  for (const auto& c : cases) {
    Open(c.id);
    PutLang(*driver_, 1);
    SetReceipt(c.id);
    EXPECT_FALSE(FPPayment(*driver_, c.form, 1, true, true)) << c.form;
    EXPECT_EQ(GetByteResult(*driver_), 24);
    EXPECT_EQ(GetByteStatus(*driver_), 255);
    EXPECT_EQ(Text(*driver_), "Ошибка формы оплаты!");
    ExpectReceipt(7, 8, 0, false, -5);
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(PaymentTest, PaymentReplySetsTheBalance) {
  const struct {
    const char* reply;
    std::int32_t balance;
    bool change;
    bool closed;
  } cases[] = {
      {"10 00 00 80", 16, true, true},    // change to give: closed
      {"10 00 00 00", 16, false, false},  // still to pay
      {"00 00 00 00", 0, false, true},    // paid exactly: closed
      {"00 00 00 80", 0, true, true},    {"FF FF FF 7F", 0x7FFFFFFF, false, false},
  };
  Open(VariantId::k05_02);
  for (const auto& c : cases) {
    SetReceipt(VariantId::k05_02);
    Answer(FromHex(c.reply));
    ASSERT_TRUE(FPPayment(*driver_, 3, 100, false, true)) << c.reply;
    if (c.closed) {
      ExpectReceipt(0, 0, c.balance, c.change, 0, c.reply);
    } else {
      ExpectReceipt(7, 8, c.balance, c.change, -5, c.reply);
    }
  }
  // One variant's payment leaves another's receipt alone.
  EXPECT_EQ(Values(VariantId::k05_03).ReceiptCost, 0);
  EXPECT_EQ(Values(VariantId::k05_03).Balance, 0);
}

TEST_F(PaymentTest, RefusedOrShortPaymentReplyLeavesNoBalance) {
  Open(VariantId::kEP_05);
  PutLang(*driver_, 0);
  SetReceipt(VariantId::kEP_05);
  Answer({}, 0, 43);
  EXPECT_FALSE(FPPayment(*driver_, 1, 100, true, true));
  EXPECT_EQ(Text(*driver_), "Money surrender from this payment form is impossible");
  ExpectReceipt(7, 8, 0, false, -5);
  SetReceipt(VariantId::kEP_05);
  Answer(FromHex("10 00 80"));
  EXPECT_FALSE(FPPayment(*driver_, 1, 100, true, true));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  ExpectReceipt(7, 8, 0, false, -5);
}

TEST_F(PaymentTest, DiscountTypesOnTheWire) {
  const char* expected[] = {
      "10 02 01 23 01 F4 01 00 80 00 66 10 03", "10 02 02 23 01 F4 01 00 00 00 E5 10 03",
      "10 02 03 23 00 F4 01 00 84 00 61 10 03", "10 02 04 23 00 F4 01 00 04 00 E0 10 03",
      "10 02 05 23 03 F4 01 00 80 00 60 10 03", "10 02 06 23 03 F4 01 00 00 00 DF 10 03",
      "10 02 07 23 02 F4 01 00 84 00 5B 10 03", "10 02 08 23 02 F4 01 00 04 03 41 42 43 11 10 03",
  };
  Answer(FromHex("00 00 00 00 00 00 00 00"));
  Open(VariantId::kEP_02);
  for (std::int32_t type = 0; type < 8; ++type) {
    EXPECT_TRUE(FPDiscount(*driver_, type, 500, type == 7 ? "ABC" : "")) << type;
    EXPECT_EQ(SentHex().back(), expected[type]) << type;
  }
}

TEST_F(PaymentTest, DiscountSumPerVariant) {
  // 05-02 and 05-03 show a discount as a negative sum whatever sign the printer gives it; the
  // others keep the printer's sign.
  const struct {
    VariantId id;
    std::int32_t type;
    const char* reply;
    std::int32_t sum;
  } cases[] = {
      {VariantId::k05_03, 0, "10 00 00 00 64 00 00 00", -16},
      {VariantId::k05_02, 6, "10 00 00 00 64 00 00 00", -16},
      {VariantId::k05_03, 0, "10 00 00 80 64 00 00 00", -16},
      {VariantId::k05_03, 1, "10 00 00 00 64 00 00 00", 16},
      {VariantId::k05_03, 7, "10 00 00 00 64 00 00 00", 16},
      {VariantId::kEP_02, 0, "10 00 00 00 64 00 00 00", 16},
      {VariantId::kEP_06, 4, "10 00 00 00 64 00 00 00", 16},
      {VariantId::kEP_05, 2, "10 00 00 80 64 00 00 00", -16},
  };
  for (const auto& c : cases) {
    Open(c.id);
    SetReceipt(c.id);
    Answer(FromHex(c.reply));
    ASSERT_TRUE(FPDiscount(*driver_, c.type, 1, "")) << c.reply;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDiscountSum"), c.sum) << Traits(c.id).tag << " " << c.type;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 100);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 7);
  }
}

TEST_F(PaymentTest, DiscountChecksSendNothing) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  const struct {
    std::int32_t type;
    std::size_t comment;
    Byte result;
    const char* text;
  } cases[] = {
      {8, 0, 110, "Incorrect discount/mark-up type!"},
      {-1, 0, 110, "Incorrect discount/mark-up type!"},
      {0, 26, 20, "Comment line exceeds 25 characters!"},
      {9, 26, 110, "Incorrect discount/mark-up type!"},
  };
  for (const auto& c : cases) {
    SetReceipt(VariantId::k05_03);
    EXPECT_FALSE(FPDiscount(*driver_, c.type, 1, std::string(c.comment, 'C')));
    EXPECT_EQ(GetByteResult(*driver_), c.result);
    EXPECT_EQ(GetByteStatus(*driver_), 255);
    EXPECT_EQ(Text(*driver_), c.text);
    ExpectReceipt(7, 0, 9, true, 0);
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
  Answer(FromHex("00 00 00 00 00 00 00 00"));
  EXPECT_TRUE(FPDiscount(*driver_, 5, 1, std::string(25, 'C')));
  Answer(FromHex("01 00 00 00 02 00 00"));  // seven bytes: not read past its end
  EXPECT_FALSE(FPDiscount(*driver_, 5, 1, ""));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDiscountSum"), 0);
  EXPECT_EQ(peer_.FrameCount(), 4u);  // the misfit is asked for again on every attempt
}

TEST_F(PaymentTest, CommentLengthAndOpenFlag) {
  Answer({});
  Open(VariantId::kEP_05);
  PutLang(*driver_, 0);
  EXPECT_TRUE(FPComment(*driver_, std::string(27, 'N'), true));
  EXPECT_TRUE(FPComment(*driver_, Utf8ToAnsi("№1 Іі"), false));
  EXPECT_FALSE(FPComment(*driver_, std::string(28, 'N'), false));
  EXPECT_EQ(GetByteResult(*driver_), 20);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Comments length error!");
  Open(VariantId::k08_01);  // the older classes: OpenCheck, failures by text
  FPComment(*driver_, "", true);
  PutLang(*driver_, 2);
  FPComment(*driver_, std::string(28, 'N'), true);
  EXPECT_EQ(OlderText(*driver_), "Помилка довжини коментарів!");
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 0B 9B 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E 4E "
                           "4E 4E 4E 4E 4E 1F 10 03",
                           "10 02 02 0B 05 4E 31 20 49 69 9D 10 03",
                           "10 02 03 0B 80 72 10 03",
                       }));
}

TEST_F(PaymentTest, ZeroReceipt) {
  Answer(FromHex("00 00 00 00"));
  Open(VariantId::k05_03);
  PutCP866(*driver_, true);  // the zero-receipt line is converted whatever the client's code page
  SetReceipt(VariantId::k05_03);
  EXPECT_TRUE(FPNullCheck(*driver_));
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 0F F0 10 03",
                           "10 02 02 0B 0C 8D 93 8B 9C 8E 82 88 89 20 97 85 8A B9 10 03",
                           "10 02 03 14 03 00 00 00 80 66 10 03",
                       }));
  ExpectReceipt(0, 0, 0, false, 0);
}

TEST_F(PaymentTest, ZeroReceiptStopsAtTheFirstRefusal) {
  Open(VariantId::kEP_02);
  peer_.SetScript([](const Bytes& f, std::size_t i) {
    const Byte result = i == 1 ? 44 : 0;  // the comment is refused
    return std::vector<Reply>{
        {AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, result, 0, FromHex("00 00 00 00"))}};
  });
  EXPECT_FALSE(FPNullCheck(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 44);
  EXPECT_EQ(peer_.FrameCount(), 2u);
  Answer({}, 0, 16);
  EXPECT_FALSE(FPNullCheck(*driver_));
  EXPECT_EQ(peer_.FrameCount(), 3u);
}

TEST_F(PaymentTest, CashInAndOut) {
  Answer({});
  Open(VariantId::kEP_06);
  SetReceipt(VariantId::kEP_06);
  EXPECT_TRUE(Call<bool>(*driver_, "FPInToCash", 100000));
  EXPECT_TRUE(Call<bool>(*driver_, "FPOutOfCash", 0xFFFFFFFF));
  ExpectReceipt(7, 8, 9, true, -5);
  Open(VariantId::kEP_01);
  Call(*driver_, "FPAvans", 5);
  Call(*driver_, "FPGive", 6);
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 10 10 A0 86 01 00 C8 10 03",
                           "10 02 02 18 FF FF FF FF EA 10 03",
                           "10 02 03 10 10 05 00 00 00 E8 10 03",
                           "10 02 04 18 06 00 00 00 DE 10 03",
                       }));
}

TEST_F(PaymentTest, OlderPayment) {
  Answer({});
  Open(VariantId::kEP_01);
  FPPayment(*driver_, 2, 300, false, true, "INFO");
  FPPayment(*driver_, 3, 300, true, false, std::string(20, 'X'));  // no information: nothing after its 0
  FPPayment(*driver_, 0, 1, false, true, Utf8ToAnsi("Інфо"));
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 14 82 2C 01 00 00 04 49 4E 46 4F 0C 10 03",
                           "10 02 02 14 03 2C 01 00 80 00 3A 10 03",
                           "10 02 03 14 80 01 00 00 00 04 49 AD E4 AE DC 10 03",
                       }));
  PutLang(*driver_, 0);
  FPPayment(*driver_, 4, 1, true, false, "");
  EXPECT_EQ(OlderText(*driver_), "Payment form error!");
  FPPayment(*driver_, 0, 1, true, true, std::string(15, 'X'));
  EXPECT_EQ(OlderText(*driver_), "Comment line exceeds 14 characters!");
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(peer_.FrameCount(), 3u);
  EXPECT_EQ(Values(VariantId::kEP_01).Balance, 0) << "the older classes keep no receipt values";
}

TEST_F(PaymentTest, OlderDiscount) {
  Answer({});
  Open(VariantId::kEP_01);
  FPDiscount(*driver_, 2, 500, 999, true, "");     // relative: the percent
  FPDiscount(*driver_, 1, 500, 999, false, "AB");  // absolute: the sum
  FPDiscount(*driver_, 0, 500, 999, false, "");
  FPDiscount(*driver_, 3, 500, 999, true, "");
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 23 02 F4 01 00 82 00 63 10 03",
                           "10 02 02 23 01 E7 03 00 00 02 41 42 6B 10 03",
                           "10 02 03 23 00 F4 01 00 02 00 E3 10 03",
                           "10 02 04 23 03 E7 03 00 80 00 6C 10 03",
                       }));
  PutLang(*driver_, 0);
  FPDiscount(*driver_, 4, 1, 1, true, "");
  EXPECT_EQ(OlderText(*driver_), "Incorrect discount/mark-up type!");
  FPDiscount(*driver_, 0, 1, 1, true, std::string(26, 'C'));
  EXPECT_EQ(OlderText(*driver_), "Comment line exceeds 25 characters!");
  EXPECT_EQ(peer_.FrameCount(), 4u);
}

TEST_F(PaymentTest, CashInTheDrawer) {
  Open(VariantId::k08_01);
  PutLang(*driver_, 0);
  Answer(FromHex("10 27 00 00"));
  EXPECT_EQ(FPGetBox(*driver_), 10000);
  Answer(FromHex("FF FF FF FF 01"));
  EXPECT_EQ(FPGetBox(*driver_), -1);
  Answer(FromHex("10 27"));
  EXPECT_EQ(FPGetBox(*driver_), 0);
  EXPECT_EQ(OlderText(*driver_), "Data format error!");
  Answer(FromHex("10 27 00 00"), 0, 16);
  EXPECT_EQ(FPGetBox(*driver_), 0);
  EXPECT_EQ(OlderText(*driver_), "A command is not supported in this mode");
  EXPECT_EQ(SentHex().front(), "10 02 01 21 DE 10 03");
}

}  // namespace
}  // namespace zorfp

namespace zorfp {
namespace {

// Values whose high bits the wire reads as flags are refused rather than sent: a payment with bit
// 31 would close the receipt, a discount value with bit 26 (25 on EP-01) would turn relative, and
// a price of -2^31 would go out as minus zero.
TEST_F(PaymentTest, ValuesThatWouldSetFlagBitsSendNothing) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  EXPECT_FALSE(FPPayment(*driver_, 3, 0x80000000u, false, true));
  EXPECT_EQ(GetByteResult(*driver_), 111);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Incorrect payment sum!");
  EXPECT_FALSE(FPDiscount(*driver_, 0, 0x04000000u, ""));
  EXPECT_EQ(Text(*driver_), "Incorrect discount/mark-up value!");
  EXPECT_FALSE(FPSale(*driver_, 1, 0, false, std::numeric_limits<std::int32_t>::min(), 0, false, "X", 1));
  EXPECT_EQ(Text(*driver_), "Incorrect price!");
  EXPECT_EQ(peer_.FrameCount(), 0u);

  Open(VariantId::kEP_01);
  PutLang(*driver_, 0);
  FPPayment(*driver_, 3, 0xFFFFFFFFu, true, false, "");
  EXPECT_EQ(OlderText(*driver_), "Incorrect payment sum!");
  FPDiscount(*driver_, 1, 0, 0x02000000u, true, "");
  EXPECT_EQ(OlderText(*driver_), "Incorrect discount/mark-up value!");
  EXPECT_EQ(peer_.FrameCount(), 0u);

  Answer(FromHex("00 00 00 00 00 00 00 00"));
  FPDiscount(*driver_, 1, 0x02000000u, 0x01FFFFFFu, true, "");  // the unused amount is not checked
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 23 01 FF FF FF 81 00 5D 10 03"});
}

}  // namespace
}  // namespace zorfp
