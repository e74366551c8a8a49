// Taxes: the programming command in both families with its refusals, the tax query and the memory
// reads against crafted answers, the tax properties of 05-02 and 05-03, and a whole round on the
// simulator: program, read back, sell under the rates, read the day's turnover per group.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>

#include "errors/codepage.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::FromHex;
using testing::Hex;
using testing::Put;

// The newer programming member's arguments.
struct Rates {
  std::uint16_t password = 0;
  Byte count = 0;
  std::int32_t type = 0;  // ETaxType
  std::array<std::int32_t, 5> base{};
  std::array<std::int32_t, 5> extra{};
  bool mixed = false;
};

bool SetRates(Driver& d, const Rates& r) {
  return Call<bool>(d, "FPSetTaxRate", r.password, r.count, r.type, r.base[0], r.base[1], r.base[2], r.base[3],
                    r.base[4], r.extra[0], r.extra[1], r.extra[2], r.extra[3], r.extra[4], r.mixed);
}

// The older members take the rates as words; EP-01 five, 08-01 six.
void SetOlderRates(Driver& d, std::uint16_t password, Byte count, std::array<std::uint16_t, 5> r, bool added,
                   Byte decimals) {
  Call(d, "FPSetTaxRate", password, count, r[0], r[1], r[2], r[3], r[4], added, decimals);
}
void SetOlderRates6(Driver& d, std::uint16_t password, Byte count, std::array<std::uint16_t, 6> r, bool added,
                    Byte decimals) {
  Call(d, "FPSetTaxRate", password, count, r[0], r[1], r[2], r[3], r[4], r[5], added, decimals);
}

// The command inside a frame as sent: after DLE STX and the sequence number, before the checksum
// and DLE ETX, with doubled DLEs undone.
std::string Content(const Bytes& frame) {
  Bytes plain;
  for (std::size_t i = 0; i < frame.size(); ++i) {
    plain.push_back(frame[i]);
    if (frame[i] == 0x10 && i + 1 < frame.size() && frame[i + 1] == 0x10) ++i;
  }
  return Hex(Bytes(plain.begin() + 3, plain.end() - 3));
}

class TaxesTest : public testing::PtyDriverTest {
 protected:
  std::vector<std::string> SentContents() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) out.push_back(Content(f));
    return out;
  }
  // Answers each command by its bytes (hex); anything else with no data.
  void AnswerByCommand(std::map<std::string, Bytes> answers) {
    peer_.SetScript([answers](const Bytes& f, std::size_t) {
      const auto it = answers.find(Content(f));
      const Bytes data = it == answers.end() ? Bytes{} : it->second;
      return std::vector<testing::Reply>{{testing::AnswerFrame(testing::FrameSeqOf(f), testing::FrameCodeOf(f), 0,
                                                               0, 0, data)}};
    });
  }
};

TEST_F(TaxesTest, ProgrammingBytesPerFamily) {
  const struct {
    const char* name;
    VariantId id;
    std::function<void(Driver&)> call;
    const char* command;
  } cases[] = {
      {"tax added", VariantId::k05_03,
       [](Driver& d) { EXPECT_TRUE(SetRates(d, {0x1234, 2, 1, {2000, 700}})); },
       "19 34 12 02 D0 07 BC 02 00 00 00 00 00 00 10"},
      {"mixed taxes send 0x20 whatever the type, then five additional rates", VariantId::kEP_02,
       [](Driver& d) { EXPECT_TRUE(SetRates(d, {0x1234, 2, 1, {2000, 700}, {100}, true})); },
       "19 34 12 02 D0 07 BC 02 00 00 00 00 00 00 20 64 00 00 00 00 00 00 00 00 00"},
      {"without mixed taxes a sum above 99.99 % is not looked at", VariantId::kEP_06,
       [](Driver& d) { EXPECT_TRUE(SetRates(d, {0, 5, 0, {9000, 0, 9999}, {1000, -1}, false})); },
       "19 00 00 05 28 23 00 00 0F 27 00 00 00 00 00"},
      {"EP-01 sends the count's rates and the decimals", VariantId::kEP_01,
       [](Driver& d) { SetOlderRates(d, 0x1234, 2, {2000, 700, 9, 9, 9}, true, 2); }, "19 34 12 02 D0 07 BC 02 12"},
      {"EP-01 takes 100.00 %", VariantId::kEP_01,
       [](Driver& d) { SetOlderRates(d, 0, 1, {10000, 0, 0, 0, 0}, false, 8); }, "19 00 00 01 10 27 08"},
      {"08-01 programs six rates", VariantId::k08_01,
       [](Driver& d) { SetOlderRates6(d, 7, 6, {1, 2, 3, 4, 5, 6}, false, 0); },
       "19 07 00 06 01 00 02 00 03 00 04 00 05 00 06 00 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    Answer({});
    const std::size_t before = peer_.FrameCount();
    c.call(*driver_);
    ASSERT_EQ(peer_.FrameCount(), before + 1);
    EXPECT_EQ(SentContents().back(), c.command);
    EXPECT_EQ(Text(*driver_), "");
  }
}

TEST_F(TaxesTest, RefusalsSendNothing) {
  const struct {
    const char* name;
    VariantId id;
    std::function<void(Driver&)> call;
    Byte code;  // 0: the older classes set the text alone
    const char* text;
  } cases[] = {
      {"no rates", VariantId::k05_03, [](Driver& d) { SetRates(d, {0, 0}); }, 104, "VATs is not enough!"},
      {"six rates", VariantId::k05_03, [](Driver& d) { SetRates(d, {0, 6}); }, 26, "Too many VATs!"},
      {"C at 100.00 %", VariantId::kEP_02, [](Driver& d) { SetRates(d, {0, 3, 0, {0, 0, 10000}}); }, 113,
       "Value of VAT \"C\" exceeds 99,99%"},
      {"a negative rate, whatever the count", VariantId::kEP_05,
       [](Driver& d) { SetRates(d, {0, 1, 0, {0, 0, 0, 0, -1}}); }, 113, "Value of VAT \"E\" exceeds 99,99%"},
      {"the sum of A", VariantId::kEP_06, [](Driver& d) { SetRates(d, {0, 1, 0, {9000}, {1000}, true}); }, 113,
       "Sum of additional tax and VAT \"A\" exceeds 99,99%"},
      {"a negative additional rate would go out as FFFF", VariantId::k05_02,
       [](Driver& d) { SetRates(d, {0, 2, 0, {2000, 2000}, {0, -1}, true}); }, 113,
       "Value of additional tax \"B\" exceeds 99,99%"},
      {"a sum that would wrap", VariantId::k05_03,
       [](Driver& d) { SetRates(d, {0, 3, 0, {0, 0, 1}, {0, 0, 0x7FFFFFFF}, true}); }, 113,
       "Value of additional tax \"C\" exceeds 99,99%"},
      {"the held table's own text", VariantId::k05_02,
       [](Driver& d) {
         Put(d, "TaxCount", Byte{6});
         Call<bool>(d, "FPSetTaxes", std::uint16_t{0});
       },
       26, "Too many vats!"},
      {"a held rate above 99.99 %", VariantId::k05_03,
       [](Driver& d) {
         Put(d, "TaxCount", Byte{1});
         Put(d, "Tax_D", 10000);
         Call<bool>(d, "FPSetTaxes", std::uint16_t{0});
       },
       113, "Value of VAT \"D\" exceeds 99,99%"},
      {"EP-01 six rates", VariantId::kEP_01, [](Driver& d) { SetOlderRates(d, 0, 6, {}, false, 2); }, 0,
       "Too many VATs!"},
      {"08-01 seven rates", VariantId::k08_01, [](Driver& d) { SetOlderRates6(d, 0, 7, {}, false, 2); }, 0,
       "Too many VATs!"},
      {"older no rates", VariantId::k08_01, [](Driver& d) { SetOlderRates6(d, 0, 0, {}, false, 2); }, 0,
       "VATs is not enough!"},
      {"older rate above 100.00 %", VariantId::kEP_01,
       [](Driver& d) { SetOlderRates(d, 0, 2, {0, 10001, 0, 0, 0}, false, 2); }, 0, "VAT value impossible!"},
      {"nine decimals", VariantId::kEP_01, [](Driver& d) { SetOlderRates(d, 0, 1, {}, false, 9); }, 0,
       "Quantity of decimal digits of money more than 8!"},
  };
  Answer({});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    PutLang(*driver_, 0);
    c.call(*driver_);
    EXPECT_EQ(Text(*driver_), c.text);
    if (c.code != 0) {
      EXPECT_EQ(GetByteResult(*driver_), c.code);
      EXPECT_EQ(GetByteStatus(*driver_), 255);
    }
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(TaxesTest, RefusalTextsNameTheGroupInEachLanguage) {
  Open(VariantId::k05_03);
  const struct {
    Byte lang;
    Rates rates;
    const char* text;
  } cases[] = {
      {1, {0, 2, 0, {0, 10000}}, "Значение ставки налога \"Б\" превышает 99,99%"},
      {2, {0, 4, 0, {0, 0, 0, 10000}}, "Значення ставки податку \"Г\" перевищує 99,99%"},
      {1, {0, 1, 0, {5000}, {5000}, true}, "Cумма дополнительной и базовой ставок налога \"А\" превышает 99,99%"},
      {2, {0, 1, 0, {0, 0, 0, 0, 9999}, {0, 0, 0, 0, 1}, true},
       "Сума додаткової та базової ставок податку \"Д\" перевищують 99,99%"},
  };
  for (const auto& c : cases) {
    PutLang(*driver_, c.lang);
    EXPECT_FALSE(SetRates(*driver_, c.rates));
    EXPECT_EQ(Text(*driver_), c.text);
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(TaxesTest, TaxQueryIsReadAfreshFieldByField) {
  Open(VariantId::k05_03);
  Answer(FromHex("02 01 01 24 D0 07 BC 02 10"));
  EXPECT_EQ(Call<Byte>(*driver_, "GetTaxQuantity"), 2);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_A"), 2000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_B"), 700);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTaxTypeExt"), 1);
  EXPECT_FALSE(Call<bool>(*driver_, "GetUseMixedTax"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_A"), 0) << "no additional rates without mixed taxes";
  EXPECT_EQ(AnsiToUtf8(Call<AnsiString>(*driver_, "GetProgDateTax")), "01.01.24");
  EXPECT_EQ(Call<double>(*driver_, "GetProgDateTaxEx"), 45292.0);  // 2024-01-01
  EXPECT_EQ(SentContents(), std::vector<std::string>(8, "2C")) << "each read is a query of its own";

  Answer(FromHex("02 31 02 24 D0 07 BC 02 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetProgDateTax"), "") << "31 February";
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Call<double>(*driver_, "GetProgDateTaxEx"), 0.0);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_B"), 700) << "the rates do not need the date";
}

TEST_F(TaxesTest, MisfitTaxAnswersWriteNothing) {
  const struct {
    const char* name;
    VariantId id;
    const char* data;
    Byte code;
  } cases[] = {
      {"one byte too many", VariantId::k05_03, "02 01 01 24 D0 07 BC 02 10 00", 103},
      {"cut short", VariantId::kEP_02, "02 01 01 24 D0 07 BC 02", 103},
      {"mixed taxes without their rates", VariantId::kEP_05, "01 01 01 24 D0 07 20", 103},
      {"EP-06 mixed without group F", VariantId::kEP_06, "01 01 01 24 D0 07 20 64 00", 103},
      {"six groups, laid out whole", VariantId::k05_02, "06 01 01 24 01 00 02 00 03 00 04 00 05 00 06 00 00", 103},
      {"six groups in the length of five", VariantId::k05_03, "06 01 01 24 01 00 02 00 03 00 04 00 05 00 00", 103},
      {"nothing", VariantId::kEP_02, "", 102},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    Answer(FromHex(c.data));
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_A"), -1);
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(GetByteStatus(*driver_), 0) << "the status stays as the answer set it";
    EXPECT_EQ(Call<Byte>(*driver_, "GetTaxQuantity"), 255);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_E"), -1);
  }
  Open(VariantId::k05_02);
  Put(*driver_, "Tax_A", 1500);
  Answer(FromHex(cases[4].data));
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetTaxes"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "Tax_A"), 1500);
  EXPECT_EQ(Call<Byte>(*driver_, "TaxCount"), 0);
}

TEST_F(TaxesTest, Ep06CarriesGroupFAndFlagsInItsAdditionalRates) {
  Open(VariantId::kEP_06);
  Answer(FromHex("02 15 06 25 D0 07 BC 02 20 64 80 32 00 C8 80"));
  EXPECT_TRUE(Call<bool>(*driver_, "GetUseMixedTax"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_A"), 100) << "bit 15 is the printer's flag";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_B"), 50);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_F"), 200);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTaxTypeExt"), 0);
}

TEST_F(TaxesTest, MemoryReadsTheCountThenTheTable) {
  Open(VariantId::k05_03);
  AnswerByCommand({{"1C 16 00 00 01", {0x02}}, {"1C 50 01 10 09", FromHex("D0 07 BC 02 10 64 00 64 00")}});
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetTaxQuantityExt"), "2");
  EXPECT_EQ(Call<Byte>(*driver_, "GetTaxQty"), 2);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_B_Ext"), 700);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetTaxTypeExt2"), 1);
  EXPECT_FALSE(Call<bool>(*driver_, "GetUseMixedTaxExt"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_A_Ext"), 0) << "what memory holds there is not in use";
  EXPECT_EQ(peer_.FrameCount(), 12u);

  const struct {
    const char* name;
    Byte count;
    Byte code;
    const char* text;
  } refused[] = {
      {"none programmed", 0, 104, "VATs is empty!"},
      {"more groups than the class has", 6, 103, "Data format error!"},
      {"a length beyond its byte", 64, 103, "Data format error!"},
  };
  PutLang(*driver_, 0);
  for (const auto& r : refused) {
    SCOPED_TRACE(r.name);
    AnswerByCommand({{"1C 16 00 00 01", {r.count}}});
    const std::size_t before = peer_.FrameCount();
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetBaseTax_A_Ext"), -1);
    EXPECT_EQ(Call<Byte>(*driver_, "GetTaxQty"), 0);
    EXPECT_EQ(GetByteResult(*driver_), r.code);
    EXPECT_EQ(GetByteStatus(*driver_), 0);
    EXPECT_EQ(Text(*driver_), r.text);
    EXPECT_EQ(peer_.FrameCount(), before + 2) << "the table is not read";
  }
}

TEST_F(TaxesTest, SingleRatesFromMemory) {
  Open(VariantId::kEP_06);
  AnswerByCommand({{"1C 65 01 10 02", FromHex("C8 80")},
                   {"1C 16 00 00 01", {0x01}},
                   {"1C 50 01 10 05", FromHex("D0 07 20 64 80")}});
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_F_Ext"), 0x80C8) << "as it stands";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetExtTax_A_Ext"), 100);

  Open(VariantId::kEP_01);
  AnswerByCommand({{"1C 54 01 10 02", FromHex("DC 05")}, {"1C 16 00 00 01", {0x03}}});
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetTaxRate3"), "1500");
  EXPECT_EQ(Call<Byte>(*driver_, "FPGetTaxCount"), 3);
  Open(VariantId::k08_01);
  AnswerByCommand({{"1C 5A 01 10 02", FromHex("F4 01")}});
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetTaxRate6"), "500");
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetTaxRate1"), "") << "a short answer";
}

TEST_F(TaxesTest, HeldTableGoesBackAsItCame) {
  Open(VariantId::k05_03);
  Put(*driver_, "Tax_E", 123);
  Answer(FromHex("02 09 12 25 D0 07 BC 02 20 64 00 C8 00"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetTaxes"));
  EXPECT_EQ(Call<Byte>(*driver_, "TaxCount"), 2);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "Tax_B"), 700);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "ExtTax_B"), 200);
  EXPECT_TRUE(Call<bool>(*driver_, "ProgExtTax"));
  EXPECT_EQ(Call<Byte>(*driver_, "TaxType"), 0);
  EXPECT_EQ(Call<double>(*driver_, "TaxDate"), 46000.0);  // 2025-12-09
  EXPECT_EQ(Call<std::int32_t>(*driver_, "Tax_E"), 123) << "groups beyond the count keep their values";

  Put(*driver_, "Tax_E", 0);
  Answer({});
  ASSERT_TRUE(Call<bool>(*driver_, "FPSetTaxes", std::uint16_t{0x0102}));
  Put(*driver_, "ProgExtTax", false);
  Put(*driver_, "TaxType", Byte{1});
  Put(*driver_, "Tax_A", 70000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "Tax_A"), 4464) << "the low 16 bits";
  ASSERT_TRUE(Call<bool>(*driver_, "FPSetTaxes", std::uint16_t{0x0102}));
  EXPECT_EQ(SentContents(), (std::vector<std::string>{
                                "2C",
                                "19 02 01 02 D0 07 BC 02 00 00 00 00 00 00 20 64 00 C8 00 00 00 00 00 00 00",
                                "19 02 01 02 70 11 BC 02 00 00 00 00 00 00 10",
                            }));
}

class TaxesOnSimulatorTest : public testing::SimDriverTest {};

TEST_F(TaxesOnSimulatorTest, ProgramReadBackSellAndReadTheTurnoverPerGroup) {
  for (VariantId id : {VariantId::kEP_02, VariantId::kEP_06, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    ASSERT_TRUE(SetRates(d(), {0, 4, 0, {2000, 1000, 500, 0}}));
    EXPECT_EQ(Call<Byte>(d(), "GetTaxQuantity"), 4);
    EXPECT_EQ(Call<std::int32_t>(d(), "GetBaseTax_B"), 1000);
    EXPECT_EQ(Call<std::int32_t>(d(), "GetBaseTax_C_Ext"), 500);
    EXPECT_EQ(Call<AnsiString>(d(), "GetTaxQuantityExt"), "4");
    EXPECT_TRUE(Call<bool>(d(), "GetTaxChanging"));
    const auto today = sim_->WithModel([](sim::PrinterModel& m) { return m.clock.NowCivil(); });
    char expected[16];
    std::snprintf(expected, sizeof expected, "%02d.%02d.%02d", today.day, today.month, today.year % 100);
    EXPECT_EQ(Call<AnsiString>(d(), "GetProgDateTax"), expected);

    ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 1200, 0, false, "A", std::uint64_t{1}));
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 2000, Byte{3}, false, 550, 1, false, "B", std::uint64_t{2}));
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 300, 3, false, "D", std::uint64_t{3}));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetTurnCurrentCheckTax_D"), 300);
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 5000u, true, true));
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_A"), "1200");
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_B"), "1100");
    EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_D"), "300");
    EXPECT_FALSE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 300, 4, false, "E", std::uint64_t{4}))
        << "group E has no rate";
    EXPECT_EQ(GetByteResult(d()), 23);

    EXPECT_FALSE(SetRates(d(), {0, 1, 0, {2000}})) << "the day is open";
    EXPECT_EQ(GetByteResult(d()), 41);
    EXPECT_FALSE(SetRates(d(), {1, 1, 0, {2000}})) << "the programming password";
    EXPECT_EQ(GetByteResult(d()), 21);
    const auto rates = sim_->WithModel([](sim::PrinterModel& m) { return m.taxes.rates; });
    EXPECT_EQ(rates[1], 1000) << "a refused table changes nothing";
  }
}

TEST_F(TaxesOnSimulatorTest, DayTurnoverKeptPerGroupAndTheHeldTable) {
  Start(VariantId::k05_02);
  Put(d(), "TaxCount", Byte{2});
  Put(d(), "Tax_A", 2000);
  Put(d(), "Tax_B", 0);
  Put(d(), "ExtTax_A", 150);
  Put(d(), "ProgExtTax", true);
  ASSERT_TRUE(Call<bool>(d(), "FPSetTaxes", std::uint16_t{0}));
  Put(d(), "Tax_A", 0);
  ASSERT_TRUE(Call<bool>(d(), "FPGetTaxes"));
  EXPECT_EQ(Call<std::int32_t>(d(), "Tax_A"), 2000);
  EXPECT_EQ(Call<std::int32_t>(d(), "ExtTax_A"), 150);
  EXPECT_EQ(Call<std::int32_t>(d(), "GetExtTax_A_Ext"), 150);
  EXPECT_TRUE(Call<bool>(d(), "GetUseMixedTaxExt"));

  ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 4000, 1, false, "B", std::uint64_t{1}));
  ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 4000u, true, true));
  ASSERT_TRUE(Call<bool>(d(), "FPReadDayReport"));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetDayTurnTaxSale_B"), 4000);
  EXPECT_EQ(Call<std::int32_t>(d(), "GetDayTurnTaxSale_A"), 0);
  ASSERT_TRUE(Call<bool>(d(), "FPGetCurrentStatus"));
  EXPECT_TRUE(Call<bool>(d(), "TaxChanged"));
}

TEST_F(TaxesOnSimulatorTest, OlderFamilyProgramsAndReadsByRate) {
  Start(VariantId::kEP_01);
  SetOlderRates(d(), 0, 2, {1500, 500, 0, 0, 0}, true, 2);
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(d())), "");
  EXPECT_EQ(Call<AnsiString>(d(), "FPGetTaxRate1"), "1500");
  EXPECT_EQ(Call<AnsiString>(d(), "FPGetTaxRate2"), "500");
  EXPECT_EQ(Call<Byte>(d(), "FPGetTaxCount"), 2);
  EXPECT_TRUE(Call<bool>(d(), "GetNalogStatus")) << "tax added";
  EXPECT_TRUE(Call<bool>(d(), "GetNalogChangeStatus"));

  Start(VariantId::k08_01);
  SetOlderRates6(d(), 0, 6, {100, 200, 300, 400, 500, 600}, false, 2);
  EXPECT_EQ(Call<AnsiString>(d(), "FPGetTaxRate6"), "600");
  EXPECT_FALSE(Call<bool>(d(), "GetNalogStatus"));
  Call(d(), "FPSale", 1000, Byte{3}, 600, Byte{5}, "F", std::uint32_t{6});
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(d())), "");
  const auto f = sim_->WithModel([](sim::PrinterModel& m) { return m.receipt.items.back().tax_group; });
  EXPECT_EQ(f, 5) << "F is a taxed group on 08-01";
}

TEST_F(TaxesOnSimulatorTest, TaxFlagsOfTheStatusBlock) {
  Start(VariantId::kEP_05);
  EXPECT_EQ(Call<std::int32_t>(d(), "GetTaxType"), 0);
  EXPECT_FALSE(Call<bool>(d(), "GetTaxChanging"));
  ASSERT_TRUE(SetRates(d(), {0, 1, 1, {2000}}));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetTaxType"), 1);
  EXPECT_TRUE(Call<bool>(d(), "GetTaxChanging"));
}

}  // namespace
}  // namespace zorfp
