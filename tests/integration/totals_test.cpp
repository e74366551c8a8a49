// Counters and totals: the day totals and the open receipt's totals read afresh by every newer
// class, the copies FPReadDayReport and FPGetReceiptData keep, and the cash in the drawer; against
// crafted answers and, at the end, against a day on the simulator.
#include <gtest/gtest.h>

#include <map>

#include "errors/codepage.h"
#include "errors/encodings.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sent_commands.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::CommandOf;
using testing::CommandsHex;
using testing::FromHex;

// A day totals answer of `forms` payment forms in which every register holds its own number.
Bytes DayTotalsAnswer(int forms) {
  Bytes out;
  for (int half = 0; half < 2; ++half) {
    out.insert(out.end(), {half == 0 ? Byte{0x34} : Byte{0x07}, half == 0 ? Byte{0x12} : Byte{0x00}});
    for (int r = 0; r < 6 + forms + 3; ++r) PutUIntLE(out, 1000 * (half + 1) + r, 5);
  }
  return out;
}

class TotalsTest : public testing::PtyDriverTest {};

TEST_F(TotalsTest, DayTotalsAreReadAfreshFieldByField) {
  Open(VariantId::k05_03);
  Bytes answer = DayTotalsAnswer(4);
  ASSERT_EQ(answer.size(), 134u);
  answer[2 + 5 * 6 + 4] = 0x01;  // the card register's fifth byte: 2^32 + 1006
  Answer(answer);
  const struct {
    const char* name;
    const char* text;
  } texts[] = {
      {"GetTurnSaleTax_A", "1000"},     {"GetTurnSaleTax_F", "1005"},   {"GetTurnSaleCard", "4294968302"},
      {"GetTurnSaleCash", "1009"},      {"GetExtraChargeSale", "1010"}, {"GetDiscountSale", "1011"},
      {"GetAvansSum", "1012"},          {"GetTurnPayTax_B", "2001"},    {"GetTurnPayCredit", "2007"},
      {"GetExtraChargePay", "2010"},    {"GetDiscountPay", "2011"},     {"GetPaymentSum", "2012"},
  };
  for (const auto& t : texts) EXPECT_EQ(Call<AnsiString>(*driver_, t.name), t.text) << t.name;
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetSaleCheckNumber"), 1234);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPayCheckNumber"), 7);
  EXPECT_EQ(peer_.FrameCount(), std::size(texts) + 2) << "each read is a request of its own";
  EXPECT_EQ(SentHex().front(), "10 02 01 2A D5 10 03");
}

TEST_F(TotalsTest, TenFormsOnEp06AndALengthThatDoesNotFitIsRefused) {
  Open(VariantId::kEP_06);
  Answer(DayTotalsAnswer(10));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetTurnSaleIndex5"), "1010");
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetTurnPayIndex10"), "2015");
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetPaymentSum"), "2018");

  PutLang(*driver_, 0);
  const struct {
    VariantId id;
    Bytes data;
    Byte code;
  } misfits[] = {
      {VariantId::kEP_06, DayTotalsAnswer(4), 103},  // a 134-byte block on a ten-form class
      {VariantId::k05_02, Bytes(133, 0), 103},
      {VariantId::k05_02, Bytes(135, 0), 103},
      {VariantId::kEP_02, {}, 102},
  };
  for (const auto& m : misfits) {
    Open(m.id);
    PutLang(*driver_, 0);
    Answer(m.data, 0, 0);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetTurnSaleCash"), "");
    EXPECT_EQ(GetByteResult(*driver_), m.code);
    EXPECT_EQ(GetByteStatus(*driver_), 0) << "a misfit leaves the status as the answer set it";
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetSaleCheckNumber"), 65535) << "the counters' own fallback";
  }
}

TEST_F(TotalsTest, DayReportIsKeptAsItsLowFourBytes) {
  Open(VariantId::k05_02);
  Bytes answer = DayTotalsAnswer(4);
  answer[2 + 5 * 6 + 4] = 0x01;
  Answer(answer);
  ASSERT_TRUE(Call<bool>(*driver_, "FPReadDayReport"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTurnSaleOfCard"), 1006) << "2^32 + 1006 kept as 1006";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTurnTaxSale_C"), 1002);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTurnTaxRefund_F"), 2005);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDaySaleReceipts"), 1234);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayCashOutSum"), 2012);
  EXPECT_EQ(peer_.FrameCount(), 1u) << "the properties never talk to the printer";

  Answer(Bytes(133, 0));
  EXPECT_FALSE(Call<bool>(*driver_, "FPReadDayReport"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDaySaleReceipts"), 1234) << "a failed read keeps the copy";
}

TEST_F(TotalsTest, ReceiptTotalsAndTheirCopy) {
  Open(VariantId::k05_03);
  Bytes answer;
  for (std::uint32_t v = 1; v <= 10; ++v) PutUIntLE(answer, v * 100, 4);
  Answer(answer);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTurnCurrentCheckTax_B"), 200);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTurnCurrentCheckOfCash"), 1000);
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetReceiptData"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTurnReceiptOnTax_F"), 600);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTurnReceiptOnCard"), 700);

  PutLang(*driver_, 0);
  Answer({});
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetReceiptData"));
  EXPECT_EQ(Text(*driver_), "Data from fiscal printer didn''t receive!") << "this member's own text";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTurnReceiptOnCard"), 700);
}

TEST_F(TotalsTest, CashInTheDrawer) {
  Open(VariantId::k05_03);
  Answer(testing::FromHex("10 27 00 00 01"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetMoneyInBox"), "4294977296");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMoneyInBoxEx"), 10000) << "the fifth byte is not shown";
}

// Five-byte registers, low byte first.
Bytes Registers(std::initializer_list<std::uint64_t> values) {
  Bytes out;
  for (std::uint64_t v : values) PutUIntLE(out, v, 5);
  return out;
}

class RegistersTest : public testing::PtyDriverTest {
 protected:
  // Answers each memory read with the register at its address (0 where none is given); `refused`
  // is refused with result 16.
  void Serve(std::map<std::uint16_t, std::uint64_t> registers, std::uint16_t refused = 0) {
    peer_.SetScript([=](const Bytes& f, std::size_t) {
      const Bytes c = CommandOf(f);
      const auto address = static_cast<std::uint16_t>(c.at(1) | c.at(2) << 8);
      const auto it = registers.find(address);
      const Bytes data = Registers({it == registers.end() ? 0 : it->second});
      return std::vector<testing::Reply>{{testing::AnswerFrame(
          testing::FrameSeqOf(f), testing::FrameCodeOf(f), 0, address == refused ? 16 : 0, 0, data)}};
    });
  }
  std::vector<std::string> Sent() const { return CommandsHex(peer_.Frames()); }
};

TEST_F(RegistersTest, DaySumsAsTextAddUpWholeAndAsIntegersWrap) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  Open(VariantId::k05_03);
  Answer(Registers({0x80000000, 0x80000000, 0x80000000, 0x80000000, 0x80000000, 0x80000000}));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetDaySaleSum"), "12884901888");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDaySaleSumExt"), 0) << "the integer form wraps in 32 bits";
  Answer(Registers({(std::uint64_t{1} << 32) + 5, 1, 2, 3, 4, 5}), 0x80, 1);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetDayPaySum"), "4294967316") << "the fifth byte counts in text";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayPaySumExt"), 20) << "read whatever the printer says";
  Answer(Registers({1, 2, 3, 4, 5}));  // 25 bytes of 30
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetDaySaleSum"), "");
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1C 1D 30 10 1E", "1C 1D 30 10 1E", "1C AD 30 10 1E",
                                              "1C AD 30 10 1E", "1C 1D 30 10 1E"}));
}

TEST_F(RegistersTest, ReceiptCounters) {
  Open(VariantId::kEP_05);
  Answer(FromHex("39 30"), 0, 16);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetSaleCheckNumberExt"), "12345") << "reported, then read anyway";
  EXPECT_EQ(GetByteResult(*driver_), 16);
  Answer(FromHex("07 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetPayCheckNumberExt"), "7");
  Open(VariantId::kEP_01);  // the older classes keep the counters in BCD
  Answer(FromHex("34 12"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetCheckSale"), "1234");
  Open(VariantId::k08_01);
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetCheckPay"), "1234");
  Answer(FromHex("34 12"), 0, 16);
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetCheckPay"), "") << "a refused read gives nothing";
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1C 1B 30 10 02", "1C AB 30 10 02", "1C 1B 30 10 02",
                                              "1C AB 30 10 02", "1C AB 30 10 02"}));
}

TEST_F(RegistersTest, Cancellations) {
  Open(VariantId::k05_02);
  Answer(FromHex("03 00 10 27 00 00 01 02 00 E8 03 00 00 00"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetGlobCancSale"), 3);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetSumGlobCancSale"), "4294977296");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetSumGlobCancSaleExt"), 10000);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetSumGlobCancPay"), "1000");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPayPosCancelsSumExt"), 1000);
  EXPECT_EQ(Sent().front(), "1C 74 2F 10 0E");
  EXPECT_EQ(Sent().back(), "1C 82 2F 10 0E");
  Answer(FromHex("03 00 10 27 00 00 01 02 00 E8 03 00 00 00"), 0, 16);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPayPositionCancels"), 0) << "a refusal gives nothing";
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetSalePosCancelsSum"), "");
}

TEST_F(RegistersTest, TheOlderClassesReadTheDayRegisterByRegister) {
  Open(VariantId::kEP_01);
  Serve({{0x301D, 400},
         {0x3031, 600 + (std::uint64_t{1} << 32)},
         {0x303B, 200},
         {0x3040, 50},
         {0x3045, 100},
         {0x305A, 70},
         {0x30D5, 30},
         {0x30C6, 9}});
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTimeTurnByCash"), 650);
  EXPECT_EQ(Sent(), (std::vector<std::string>{"1C 1D 30 10 05", "1C 22 30 10 05", "1C 27 30 10 05",
                                              "1C 2C 30 10 05", "1C 31 30 10 05", "1C 36 30 10 05",
                                              "1C 3B 30 10 05", "1C 45 30 10 05", "1C 40 30 10 05"}));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "FPGetDaySumSale"), 1000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "ExtFPGetDaySumSale_E"), 600);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "ExtFPGetDaySumPay_F"), 9);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTimeTurnByCredit"), 50);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDaySumAvance"), 70);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDaySumGives"), 30);

  // The first read that fails ends the call.
  Open(VariantId::k08_01);
  Serve({{0x30AD, 5}}, 0x30B7);
  const std::size_t before = peer_.FrameCount();
  EXPECT_EQ(Call<std::int32_t>(*driver_, "FPGetDaySumPay"), 0);
  EXPECT_EQ(peer_.FrameCount(), before + 3);
  Open(VariantId::kEP_01);
  Serve({{0x301D, 1000}}, 0x3045);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetDayTimeTurnByCash"), 0);
  EXPECT_EQ(Sent().back(), "1C 45 30 10 05") << "credit is not read after check failed";
}

class TotalsOnSimulatorTest : public testing::SimDriverTest {};

// Receipts, a cancelled receipt and cash operations on every class, then every register that is
// read by address compared with the simulator's own.
TEST_F(TotalsOnSimulatorTest, RegistersByAddressOnEveryClass) {
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01, VariantId::kEP_02, VariantId::kEP_05,
                       VariantId::kEP_06, VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    const bool older = Traits(id).older_family;
    const auto sale = [&](std::int32_t price, Byte group) {
      if (older) {
        Call(d(), "FPSale", 1000, Byte{3}, price, group, "A", std::uint32_t{1});
      } else {
        Call<bool>(d(), "FPSale", 1000, Byte{3}, false, price, static_cast<std::int32_t>(group), false, "A",
                   std::uint64_t{1});
      }
    };
    const auto pay = [&](std::uint32_t amount, Byte form) {
      if (older) {
        Call(d(), "FPPayment", form, amount, true, false, "");
      } else {
        Call<bool>(d(), "FPPayment", static_cast<std::int32_t>(form), amount, true, true);
      }
    };
    Call(d(), older ? "FPAvans" : "FPInToCash", 50000u);
    sale(1850, 0);
    sale(700, 2);
    pay(1000, 0);  // card
    pay(550, 2);   // check
    pay(5000, 3);  // cash, with change
    sale(999, 1);
    Call(d(), "FPResetOrder");
    Call(d(), older ? "FPGive" : "FPOutOfCash", 300u);
    ASSERT_EQ(GetTextErrorMessage(d()), "");

    const auto day = sim_->WithModel([](sim::PrinterModel& m) { return m.day; });
    std::int64_t sales = 0, refunds = 0;
    for (std::int64_t g : day.sales.turnover_by_group) sales += g;
    for (std::int64_t g : day.refunds.turnover_by_group) refunds += g;
    ASSERT_EQ(sales, 2550);
    if (older) {
      EXPECT_EQ(Call<AnsiString>(d(), "FPGetCheckSale"), std::to_string(day.sales.receipts));
      EXPECT_EQ(Call<AnsiString>(d(), "FPGetCheckPay"), std::to_string(day.refunds.receipts));
      EXPECT_EQ(Call<std::int32_t>(d(), "FPGetDaySumSale"), sales);
      EXPECT_EQ(Call<std::int32_t>(d(), "FPGetDaySumPay"), refunds);
    } else {
      EXPECT_EQ(Call<AnsiString>(d(), "GetSaleCheckNumberExt"), std::to_string(day.sales.receipts));
      EXPECT_EQ(Call<AnsiString>(d(), "GetPayCheckNumberExt"), std::to_string(day.refunds.receipts));
      EXPECT_EQ(Call<AnsiString>(d(), "GetDaySaleSum"), std::to_string(sales));
      EXPECT_EQ(Call<AnsiString>(d(), "GetDayPaySum"), std::to_string(refunds));
      EXPECT_EQ(Call<std::int32_t>(d(), "GetGlobCancSale"),
                static_cast<std::int32_t>(day.sales.cancelled_receipts.count));
      EXPECT_EQ(Call<AnsiString>(d(), "GetSumGlobCancSale"),
                std::to_string(day.sales.cancelled_receipts.sum));
      EXPECT_EQ(Call<std::int32_t>(d(), "GetSalePositionCancels"),
                static_cast<std::int32_t>(day.sales.cancelled_items.count));
      EXPECT_EQ(Call<std::int32_t>(d(), "GetGlobCancSale"), 1);
      EXPECT_FALSE(Call<bool>(d(), "GetPaymentMode"));
    }
    if (id == VariantId::k05_02 || id == VariantId::k05_03) {
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDaySaleSumExt"), sales);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetSumGlobCancSaleExt"), day.sales.cancelled_receipts.sum);
    }
    if (id == VariantId::kEP_01) {
      EXPECT_EQ(Call<std::int32_t>(d(), "ExtFPGetDaySumSale_A"), day.sales.turnover_by_group[0]);
      EXPECT_EQ(Call<std::int32_t>(d(), "ExtFPGetDaySumSale_C"), day.sales.turnover_by_group[2]);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDayTimeTurnByCard"), day.sales.by_payment_form[0]);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDayTimeTurnByCheck"), day.sales.by_payment_form[2]);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDayTimeTurnByCash"), day.sales.by_payment_form[3]);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDaySumAvance"), day.cash_in);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDaySumGives"), day.cash_out);
    }
    EXPECT_EQ(GetTextErrorMessage(d()), "");
  }
}

// Receipts on a simulated printer, then every total read back against its own registers.
TEST_F(TotalsOnSimulatorTest, ADayReadBackAsThePrinterKeepsIt) {
  for (VariantId id : {VariantId::kEP_02, VariantId::kEP_06, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    ASSERT_TRUE(Call<bool>(d(), "FPInToCash", 50000u));
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 1850, 0, false, "A", std::uint64_t{1}));
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 2000, Byte{3}, false, 500, 1, false, "B", std::uint64_t{2}));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetTurnCurrentCheckTax_B"), 1000);
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 0, 850u, false, true));
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 5000u, true, true));
    ASSERT_TRUE(Call<bool>(d(), "FPPayMoney", 1000, Byte{3}, false, 300, 0, false, "A", std::uint64_t{1}));
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 300u, true, true));

    const auto day = sim_->WithModel([](sim::PrinterModel& m) { return m.day; });
    EXPECT_EQ(Call<std::int32_t>(d(), "GetSaleCheckNumber"), static_cast<std::int32_t>(day.sales.receipts));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetPayCheckNumber"), static_cast<std::int32_t>(day.refunds.receipts));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_A"), std::to_string(day.sales.turnover_by_group[0]));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_B"), std::to_string(day.sales.turnover_by_group[1]));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleCard"), std::to_string(day.sales.by_payment_form[0]));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleCash"), std::to_string(day.sales.by_payment_form[3]));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnPayTax_A"), std::to_string(day.refunds.turnover_by_group[0]));
    EXPECT_EQ(Call<AnsiString>(d(), "GetAvansSum"), std::to_string(day.cash_in));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleCash"), "2000") << "5000 taken, 3000 handed back";
    const auto drawer = sim_->WithModel([](sim::PrinterModel& m) { return m.drawer; });
    EXPECT_EQ(Call<AnsiString>(d(), "GetMoneyInBox"), std::to_string(drawer));
    EXPECT_EQ(GetByteResult(d()), 0);
  }
}

}  // namespace
}  // namespace zorfp
