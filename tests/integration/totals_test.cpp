// Counters and totals: the day totals and the open receipt's totals read afresh by every newer
// class, the copies FPReadDayReport and FPGetReceiptData keep, and the cash in the drawer; against
// crafted answers and, at the end, against a day on the simulator.
#include <gtest/gtest.h>

#include "errors/codepage.h"
#include "errors/encodings.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;

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

class TotalsOnSimulatorTest : public testing::SimDriverTest {};

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
