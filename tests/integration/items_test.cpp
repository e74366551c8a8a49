// Sale and refund items, cancelling the last item and the receipt: the bytes of each item on the
// wire per class, the argument checks that send nothing, and the receipt values the replies leave.
#include <gtest/gtest.h>

#include "commands/items.h"
#include "commands/totals.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using testing::FromHex;

// A reply to an item: cost -16, total 1000.
const Bytes kItemReply = FromHex("10 00 00 80 E8 03 00 00");

class ItemsTest : public testing::PtyDriverTest {
 protected:
  ReceiptValues& Values(VariantId id) { return module().values[Index(id)].totals.receipt; }
  // A receipt in progress, so that a test sees what a call changes.
  void SetReceipt(VariantId id) {
    Values(id) = {
        .ReceiptCost = 7, .ReceiptTotal = 8, .Balance = 9, .BalanceIsChange = true, .DiscountSum = -5};
  }
  static std::string Name(std::size_t n) { return std::string(n, 'N'); }
};

TEST_F(ItemsTest, NewerItemsOnTheWire) {
  Open(VariantId::k05_03);
  Answer(kItemReply);
  EXPECT_TRUE(FPSale(*driver_, 16777215, 0x00, false, -1, 0, false, "AB", 1));
  EXPECT_TRUE(FPPayMoney(*driver_, 1, 0x05, true, 1000, 5, false, "", 0x0102030405));
  EXPECT_TRUE(FPSale(*driver_, 1, 0x00, false, 10, 1, true, Name(80), 12345));  // the article's own name
  EXPECT_TRUE(FPSale(*driver_, 0, 0x3F, false, 0x7FFFFFFF, 2, false, Utf8ToAnsi("Хліб"), 0xFFFFFFFFFFFF));
  PutCP866(*driver_, true);
  EXPECT_TRUE(
      FPSale(*driver_, 0, 0x00, false, 0, 3, false, "\x95\xAB", 0));  // the client's 866 text as it is
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 12 FF FF FF 00 01 00 00 80 80 02 41 42 01 00 00 00 00 00 69 10 03",
                           "10 02 02 08 01 00 00 85 E8 03 00 00 85 00 05 04 03 02 01 00 F1 10 03",
                           "10 02 03 12 01 00 00 00 0A 00 00 00 81 FF 39 30 00 00 00 00 F7 10 03",
                           "10 02 04 12 00 00 00 3F FF FF FF 7F 82 04 95 AB 69 A1 FF FF FF FF FF FF 65 10 03",
                           "10 02 05 12 00 00 00 00 00 00 00 00 83 02 95 AB 00 00 00 00 00 00 24 10 03",
                       }));
}

TEST_F(ItemsTest, OlderItemsOnTheWire) {
  Answer({});
  Open(VariantId::kEP_01);
  FPSale(*driver_, 2, 0xC3, 150, 1, "AB", 0x01020304);  // the status byte goes out as given
  Open(VariantId::k08_01);
  FPPayMoney(*driver_, 3, 0x00, -200, 2, "X", 0x1234);
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(OlderText(*driver_), "");
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 12 02 00 00 C3 96 00 00 00 81 02 41 42 04 03 02 01 82 10 03",
                           "10 02 02 08 03 00 00 00 C8 00 00 80 82 01 58 34 12 8A 10 03",
                       }));
}

TEST_F(ItemsTest, ReplySetsCostAndTotalAndClearsTheBalance) {
  Open(VariantId::kEP_02);
  SetReceipt(VariantId::kEP_02);
  Answer(kItemReply);
  ASSERT_TRUE(FPSale(*driver_, 1, 0, false, 1000, 0, false, "A", 1));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), -16);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 1000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBalance"), 0);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDiscountSum"), -5);
  // Another variant's values are its own.
  EXPECT_EQ(Values(VariantId::k05_03).ReceiptCost, 0);
}

TEST_F(ItemsTest, ArgumentChecksSendNothing) {
  const struct {
    const char* what;
    VariantId id;
    std::int32_t amount;
    std::int32_t tax;
    std::size_t name;
    std::uint64_t code;
    Byte result;
    const char* text;
  } cases[] = {
      {"quantity above three bytes", VariantId::k05_03, 16777216, 0, 1, 1, 109,
       "Items quantity more than is possible!"},
      {"negative quantity", VariantId::k05_03, -1, 0, 1, 1, 109, "Items quantity more than is possible!"},
      {"tax group 6", VariantId::kEP_02, 1, 6, 1, 1, 23, "VATs is empty!"},
      {"negative tax group", VariantId::kEP_05, 1, -1, 1, 1, 23, "VATs is empty!"},
      {"code wider than six bytes", VariantId::k05_02, 1, 0, 1, 1ull << 48, 111,
       "Incorrect item code (barcode)!"},
      {"name of 51", VariantId::k05_03, 1, 0, 51, 1, 20, "Item name exceeds 50 characters!"},
      {"name of 71 on EP-06", VariantId::kEP_06, 1, 0, 71, 1, 20, "Item name exceeds 70 characters!"},
      {"quantity before tax group", VariantId::k05_03, 16777216, 9, 99, 1, 109,
       "Items quantity more than is possible!"},
      {"tax group before name", VariantId::k05_03, 1, 9, 99, 1, 23, "VATs is empty!"},
  };
  for (const auto& c : cases) {
    Open(c.id);
    PutLang(*driver_, 0);
    SetReceipt(c.id);
    EXPECT_FALSE(FPSale(*driver_, c.amount, 0, false, 1, c.tax, false, Name(c.name), c.code)) << c.what;
    EXPECT_EQ(GetByteResult(*driver_), c.result) << c.what;
    EXPECT_EQ(GetByteStatus(*driver_), 255) << c.what;
    EXPECT_EQ(Text(*driver_), c.text) << c.what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 0) << c.what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 0) << c.what;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBalance"), 9) << c.what;
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(ItemsTest, NameLimitsPerClass) {
  Answer(kItemReply);
  Open(VariantId::k05_03);
  EXPECT_TRUE(FPPayMoney(*driver_, 1, 0, false, 1, 0, false, Name(50), 1));
  Open(VariantId::kEP_06);
  EXPECT_TRUE(FPSale(*driver_, 1, 0, false, 1, 0, false, Name(70), 1));
  Open(VariantId::kEP_01);
  FPSale(*driver_, 1, 0, 1, 0, Name(50), 1);
  EXPECT_EQ(OlderText(*driver_), "");
  EXPECT_EQ(peer_.FrameCount(), 3u);

  // 08-01: 25 characters, and the older classes report by text alone.
  Open(VariantId::k08_01);
  PutLang(*driver_, 2);
  FPSale(*driver_, 1, 0, 1, 0, Name(26), 1);
  EXPECT_EQ(OlderText(*driver_), "Назва товару перевищує 25 символів!");
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(peer_.FrameCount(), 3u);
}

TEST_F(ItemsTest, OlderChecksReportByTextAlone) {
  const struct {
    const char* what;
    VariantId id;
    std::int32_t amount;
    Byte tax;
    std::uint32_t code;
    const char* text;
  } cases[] = {
      {"quantity", VariantId::kEP_01, 16777216, 0, 1, "Items quantity more than is possible!"},
      {"tax group", VariantId::k08_01, 1, 6, 1, "VATs is empty!"},
      {"article above 16 bits on 08-01", VariantId::k08_01, 1, 0, 70000, "Incorrect item code (barcode)!"},
  };
  Answer({});
  for (const auto& c : cases) {
    Open(c.id);
    PutLang(*driver_, 0);
    module().last_call.ReportedResult = 44;
    FPPayMoney(*driver_, c.amount, 0, 1, c.tax, "A", c.code);
    EXPECT_EQ(OlderText(*driver_), c.text) << c.what;
    EXPECT_EQ(GetByteResult(*driver_), 44) << c.what;
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
  Open(VariantId::k08_01);
  FPSale(*driver_, 1, 0, 1, 0, "A", 65535);
  EXPECT_EQ(SentHex(),
            std::vector<std::string>{"10 02 01 12 01 00 00 00 01 00 00 00 80 01 41 FF FF 2B 10 03"});
}

TEST_F(ItemsTest, Ean13MarkOnlyForAValidCodeWhileSwitchedOn) {
  const std::uint64_t valid = 4006381333931;  // check digit 1
  Answer(kItemReply);
  Open(VariantId::k05_03);
  EXPECT_TRUE(FPSale(*driver_, 1, 0x01, false, 1, 0, false, "A", valid));  // switched off: no mark
  module().PrintEAN13 = true;
  EXPECT_TRUE(FPSale(*driver_, 1, 0x01, false, 1, 0, false, "A", valid));
  EXPECT_TRUE(
      FPSale(*driver_, 1, 0x01, false, 1, 0, false, "A", valid + 1));    // wrong check digit: sent unmarked
  EXPECT_TRUE(FPSale(*driver_, 1, 0x01, false, 1, 0, true, "", valid));  // the article's name: unmarked
  EXPECT_TRUE(
      FPSale(*driver_, 1, 0x01, true, 1, 0, false, "A", 123457));  // 0000000123457, padded; with IsOneQuant
  Open(VariantId::kEP_02);                                         // EP-02 has no mark
  EXPECT_TRUE(FPSale(*driver_, 1, 0x01, false, 1, 0, false, "A", valid));
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 12 01 00 00 01 01 00 00 00 80 01 41 AB AD EF CE A4 03 6C 10 03",
                           "10 02 02 12 01 00 00 41 01 00 00 00 80 01 41 AB AD EF CE A4 03 2B 10 03",
                           "10 02 03 12 01 00 00 01 01 00 00 00 80 01 41 AC AD EF CE A4 03 69 10 03",
                           "10 02 04 12 01 00 00 01 01 00 00 00 80 FF AB AD EF CE A4 03 AC 10 03",
                           "10 02 05 12 01 00 00 C1 01 00 00 00 80 01 41 41 E2 01 00 00 00 40 10 03",
                           "10 02 06 12 01 00 00 01 01 00 00 00 80 01 41 AB AD EF CE A4 03 67 10 03",
                       }));
}

TEST_F(ItemsTest, ArticleCodeAsText) {
  Answer(kItemReply);
  Open(VariantId::k05_02);
  PutLang(*driver_, 0);
  EXPECT_TRUE(FPPayMoneyEx(*driver_, 1, 0, false, 1, 0, false, "A", " 123 \t"));
  EXPECT_TRUE(FPSaleEx(*driver_, 1, 0, false, 1, 0, false, "A", "123"));
  EXPECT_EQ(SentHex(), (std::vector<std::string>{
                           "10 02 01 08 01 00 00 00 01 00 00 00 80 01 41 7B 00 00 00 00 00 B8 10 03",
                           "10 02 02 12 01 00 00 00 01 00 00 00 80 01 41 7B 00 00 00 00 00 AD 10 03",
                       }));
  for (const char* bad : {"12a", "123 ", " 123", "", "-5", "99999999999999999999", "0x10"}) {
    SetReceipt(VariantId::k05_02);
    EXPECT_FALSE(FPSaleEx(*driver_, 1, 0, false, 1, 0, false, "A", bad)) << bad;
    EXPECT_EQ(GetByteResult(*driver_), 111) << bad;
    EXPECT_EQ(GetByteStatus(*driver_), 255) << bad;
    EXPECT_EQ(Text(*driver_), "Incorrect item code (barcode)!") << bad;
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 0) << bad;
  }
  EXPECT_FALSE(FPPayMoneyEx(*driver_, 1, 0, false, 1, 0, false, "A", "1 2"));
  EXPECT_EQ(peer_.FrameCount(), 2u);
}

TEST_F(ItemsTest, RefusedOrShortReplyLeavesCostAndTotalAtZero) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  SetReceipt(VariantId::k05_03);
  Answer({}, 0, 37);
  EXPECT_FALSE(FPSale(*driver_, 1, 0, false, 1, 0, false, "A", 1));
  EXPECT_EQ(GetByteResult(*driver_), 37);
  EXPECT_EQ(Text(*driver_), "Refunds making, sales are impossible in this ticket");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 0);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 0);

  // Executed, but the reply is shorter than its eight bytes: nothing is read past its end.
  SetReceipt(VariantId::k05_03);
  Answer(FromHex("10 00 00 80"));
  EXPECT_FALSE(FPSale(*driver_, 1, 0, false, 1, 0, false, "A", 1));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Text(*driver_), "Data format error!");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 0);
  Answer({});
  EXPECT_FALSE(FPPayMoney(*driver_, 1, 0, false, 1, 0, false, "A", 1));
  EXPECT_EQ(GetByteResult(*driver_), 102);
}

TEST_F(ItemsTest, VoidLastItemKeepsTheReceiptValues) {
  Open(VariantId::k05_02);
  SetReceipt(VariantId::k05_02);
  Answer({});
  EXPECT_TRUE(FPVoidLastItem(*driver_));
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 32 CD 10 03"});
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 7);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 8);
}

TEST_F(ItemsTest, ResetOrderClearsTheReceiptValuesOnlyWhenExecuted) {
  Open(VariantId::kEP_06);
  SetReceipt(VariantId::kEP_06);
  Answer({}, 0, 39);
  EXPECT_FALSE(FPResetOrder(*driver_));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 8);
  Answer({});
  EXPECT_TRUE(FPResetOrder(*driver_));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckCost"), 0);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetCheckTotal"), 0);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBalance"), 0);
  EXPECT_FALSE(Call<bool>(*driver_, "GetBalanceType"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDiscountSum"), 0);
  Open(VariantId::kEP_01);
  FPResetOrder(*driver_);
  EXPECT_EQ(SentHex(), (std::vector<std::string>{"10 02 01 0F F0 10 03", "10 02 02 0F EF 10 03",
                                                 "10 02 03 0F EE 10 03"}));
}

TEST_F(ItemsTest, OlderNoAnswerIsTextAlone) {
  ExpectSilence();
  Open(VariantId::k08_01);
  PutLang(*driver_, 0);
  FPSale(*driver_, 1, 0, 1, 0, "A", 1);
  EXPECT_EQ(OlderText(*driver_), "Fiscal printer does not answer!");
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
}

}  // namespace
}  // namespace zorfp
