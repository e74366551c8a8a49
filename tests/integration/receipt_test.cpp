// A whole receipt, driver against simulator, on every class: items with Cyrillic names, a discount,
// a comment, payment in two forms with change. The printer's own registers prove that every item
// and payment was booked once; the tape shows what was printed.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "commands/items.h"
#include "commands/payment.h"
#include "commands/totals.h"
#include "errors/codepage.h"
#include "support/sim_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using sim::FaultKind;
using sim::FaultRule;

constexpr std::int32_t kCard = 0, kCash = 3;

class ReceiptTest : public testing::SimDriverTest {
 protected:
  void StartWithTape(VariantId id, sim::SimulatorOptions o = {}) {
    tape_ = (log_folder().parent_path() / ("tape-" + std::to_string(::getpid()) + ".txt")).string();
    std::filesystem::remove(tape_);
    o.tape_path = tape_;
    Start(id, o);
  }
  std::string Tape() const {
    std::ifstream in(tape_);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::string Text() { return AnsiToUtf8(GetTextErrorMessage(d())); }
  sim::DayHalf DaySales() {
    return sim_->WithModel([](sim::PrinterModel& m) { return m.day.sales; });
  }
  bool ReceiptOpen() {
    return sim_->WithModel([](sim::PrinterModel& m) { return m.receipt.open(); });
  }

  std::string tape_;
};

// 2.000 x 18.50 = 37.00 and 1 x 24.90, 10 % off the second: 59.41; 30.00 by card, 50.00 cash.
TEST_F(ReceiptTest, WholeReceiptOnEveryNewerClass) {
  for (VariantId id : {VariantId::kEP_02, VariantId::kEP_05, VariantId::kEP_06, VariantId::k05_02,
                       VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    StartWithTape(id);
    const AnsiString bread = Utf8ToAnsi("Хліб житній"), milk = Utf8ToAnsi("Молоко 2,5%");
    ASSERT_TRUE(FPSale(d(), 2000, 3, false, 1850, 0, false, bread, 4820000000011)) << Text();
    EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckCost"), 3700);
    EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 3700);
    ASSERT_TRUE(FPSale(d(), 1, 0, true, 2490, 1, false, milk, 4820000000028)) << Text();
    EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 6190);
    ASSERT_TRUE(FPDiscount(d(), /*edtRelItemDisc*/ 2, 1000, Utf8ToAnsi("Знижка 10%"))) << Text();
    EXPECT_EQ(Call<std::int32_t>(d(), "GetDiscountSum"), -249);
    EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 5941);
    ASSERT_TRUE(FPComment(d(), Utf8ToAnsi("Дякуємо за покупку!"), false)) << Text();
    ASSERT_TRUE(FPPayment(d(), kCard, 3000, false, true)) << Text();
    EXPECT_EQ(Call<std::int32_t>(d(), "GetBalance"), 2941);
    EXPECT_FALSE(Call<bool>(d(), "GetBalanceType"));
    ASSERT_TRUE(FPPayment(d(), kCash, 5000, true, true)) << Text();
    EXPECT_EQ(Call<std::int32_t>(d(), "GetBalance"), 2059);
    EXPECT_TRUE(Call<bool>(d(), "GetBalanceType"));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 0) << "the receipt is closed";

    EXPECT_FALSE(ReceiptOpen());
    const sim::DayHalf day = DaySales();
    EXPECT_EQ(day.receipts, 1u);
    EXPECT_EQ(day.by_payment_form[kCard], 3000);
    EXPECT_EQ(day.by_payment_form[kCash], 5000 - 2059);
    EXPECT_EQ(day.discounts, 249);
    const std::string tape = Tape();
    // The printer's code page has no Ukrainian і: the driver sends the Latin i instead.
    for (const char* line : {"Хлiб житнiй", "Молоко 2,5%", "Дякуємо за покупку!", "59.41", "20.59"}) {
      EXPECT_NE(tape.find(line), std::string::npos) << line << "\n" << tape;
    }
    TearDown();
    SetUp();
  }
}

TEST_F(ReceiptTest, WholeReceiptOnTheOlderClasses) {
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01}) {
    SCOPED_TRACE(Traits(id).tag);
    StartWithTape(id);
    FPSale(d(), 2000, 3, 1850, 0, Utf8ToAnsi("Хліб житній"), 11);
    EXPECT_EQ(GetTextErrorMessage(d()), "");
    FPSale(d(), 1, 0, 2490, 1, Utf8ToAnsi("Молоко"), 28);
    EXPECT_EQ(GetTextErrorMessage(d()), "");
    std::int64_t total = 6190;
    if (id == VariantId::kEP_01) {
      FPDiscount(d(), /*relative item discount*/ 0, 1000, 0, true, "");
      EXPECT_EQ(GetTextErrorMessage(d()), "");
      total -= 249;
    }
    FPComment(d(), Utf8ToAnsi("Дякуємо!"), false);
    FPPayment(d(), 0, 3000, false, true, "VISA 1234");
    EXPECT_EQ(GetTextErrorMessage(d()), "");
    FPPayment(d(), 3, 5000, true, false, "");
    EXPECT_EQ(GetTextErrorMessage(d()), "");
    EXPECT_EQ(GetByteResult(d()), 0);
    EXPECT_FALSE(ReceiptOpen());
    const sim::DayHalf day = DaySales();
    EXPECT_EQ(day.receipts, 1u);
    EXPECT_EQ(day.by_payment_form[kCash], 5000 - (8000 - total));
    EXPECT_NE(Tape().find("Дякуємо!"), std::string::npos);
    TearDown();
    SetUp();
  }
}

TEST_F(ReceiptTest, PrinterRefusalsComeBackAsCodesAndTexts) {
  StartWithTape(VariantId::k05_03);
  PutLang(d(), 0);
  EXPECT_FALSE(FPPayment(d(), kCash, 100, true, true));
  EXPECT_EQ(GetByteResult(d()), 39);
  EXPECT_EQ(Text(), "Command is impossible, because ticket is closed");
  ASSERT_TRUE(FPSale(d(), 1, 0, true, 100, 0, false, "A", 1));
  EXPECT_FALSE(FPPayMoney(d(), 1, 0, true, 100, 0, false, "B", 2));
  EXPECT_EQ(GetByteResult(d()), 38);
  EXPECT_EQ(Text(), "Sales making, refunds are impossible in this ticket");
  EXPECT_FALSE(FPPayment(d(), kCard, 500, false, true));
  EXPECT_EQ(GetByteResult(d()), 43);
  EXPECT_FALSE(FPSale(d(), 1, 0, true, 100, 3, false, "C", 3));  // group D is not programmed
  EXPECT_EQ(GetByteResult(d()), 23);
  EXPECT_TRUE(FPResetOrder(d()));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 0);
  EXPECT_FALSE(ReceiptOpen());
  EXPECT_FALSE(Call<bool>(d(), "FPOutOfCash", 1'000'000));
  EXPECT_EQ(GetByteResult(d()), 35);
}

TEST_F(ReceiptTest, LostAnswerRegistersTheItemOnce) {
  sim::SimulatorOptions o;
  o.faults[FaultKind::kLoseAnswer] = FaultRule::Times(1);
  StartWithTape(VariantId::k05_03, o);
  module().settings.AnswerWaiting = 2;
  ASSERT_TRUE(FPSale(d(), 1, 0, true, 990, 0, false, "X", 7));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetCheckTotal"), 990);
  const auto counters = sim_->counters();
  EXPECT_EQ(counters.commands_executed, 1u);
  EXPECT_EQ(counters.repeats_answered, 1u);
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.receipt.items.size(); }), 1u);
}

TEST_F(ReceiptTest, ZeroReceiptAndCash) {
  StartWithTape(VariantId::kEP_05);
  ASSERT_TRUE(Call<bool>(d(), "FPInToCash", 10000)) << Text();
  ASSERT_TRUE(Call<bool>(d(), "FPOutOfCash", 2500)) << Text();
  ASSERT_TRUE(FPNullCheck(d())) << Text();
  const auto day = sim_->WithModel([](sim::PrinterModel& m) { return m.day; });
  EXPECT_EQ(day.cash_in, 10000);
  EXPECT_EQ(day.cash_out, 2500);
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.drawer; }), 7500);
  EXPECT_NE(Tape().find("НУЛЬОВИЙ ЧЕК"), std::string::npos) << Tape();
}

}  // namespace
}  // namespace zorfp
