// The tax table: programming in both layouts, the tax query, the table in the memory map, and the
// programming refusals, which leave the table as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "sim/fields.h"
#include "sim/model.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

Bytes FromHex(const std::string& hex) {
  std::istringstream in(hex);
  Bytes out;
  unsigned b = 0;
  while (in >> std::hex >> b) out.push_back(static_cast<Byte>(b));
  return out;
}

Bytes Exec(PrinterModel& m, const std::string& command, Byte expected_result = 0) {
  const Answer a = Execute(m, FromHex(command)).answer;
  EXPECT_EQ(a.result, expected_result) << command;
  return a.data;
}

// BCD day, month and two-digit year of the printer's today.
Bytes Today(const PrinterModel& m) {
  const CivilTime now = m.clock.NowCivil();
  return {BcdByte(now.day), BcdByte(now.month), BcdByte(now.year % 100)};
}

TEST(TaxTableTest, NewerTableInTheQueryAndInMemory) {
  PrinterModel m(k0503);
  Exec(m, "19 00 00 02 D0 07 BC 02 00 00 00 00 00 00 20 64 00 32 00 00 00 00 00 00 00");
  Bytes expected = {0x02};
  const Bytes today = Today(m);
  expected.insert(expected.end(), today.begin(), today.end());
  const Bytes rates = FromHex("D0 07 BC 02 20 64 00 32 00");
  expected.insert(expected.end(), rates.begin(), rates.end());
  EXPECT_EQ(Exec(m, "2C"), expected);
  EXPECT_EQ(Exec(m, "1C 16 00 00 01"), Bytes{0x02});
  EXPECT_EQ(Exec(m, "1C 50 01 10 09"), rates);
  EXPECT_TRUE(m.status.mode.taxes_changed);
  EXPECT_FALSE(m.status.mode.taxes_added) << "mixed taxes carry no tax-added bit";
  EXPECT_FALSE(GroupRate(m.taxes, m.traits(), 2).has_value()) << "C is no longer programmed";

  Exec(m, "19 00 00 01 E8 03 00 00 00 00 00 00 00 00 10");
  EXPECT_EQ(Exec(m, "2C").size(), 7u) << "no additional rates without mixed taxes";
  EXPECT_TRUE(m.status.mode.taxes_added);
}

TEST(TaxTableTest, Ep06AddsGroupF) {
  PrinterModel m(kEp06);
  Exec(m, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00 20 64 00 00 00 00 00 00 00 00 00");
  m.taxes.extra[5] = 0x80C8;
  const Bytes answer = Exec(m, "2C");
  ASSERT_EQ(answer.size(), 11u);  // 7 + 4n
  EXPECT_EQ(Bytes(answer.end() - 2, answer.end()), FromHex("C8 80"));
  EXPECT_EQ(Exec(m, "1C 65 01 10 02"), FromHex("C8 80"));
}

TEST(TaxTableTest, OlderLayoutCarriesTheDecimals) {
  PrinterModel m(kEp01);
  Exec(m, "19 00 00 02 DC 05 F4 01 13");
  EXPECT_EQ(m.taxes.count, 2);
  EXPECT_EQ(m.taxes.decimals, 3);
  EXPECT_TRUE(m.status.mode.taxes_added);
  EXPECT_EQ(Exec(m, "1C 50 01 10 02"), FromHex("DC 05"));
  EXPECT_EQ(Exec(m, "1C 52 01 10 03"), FromHex("F4 01 13"));
  Exec(m, "2C", result::kCommandForbidden);

  PrinterModel six(k0801);
  Exec(six, "19 00 00 06 01 00 02 00 03 00 04 00 05 00 10 27 00");
  EXPECT_EQ(GroupRate(six.taxes, six.traits(), 5), 10000);
  EXPECT_EQ(Exec(six, "1C 5A 01 10 02"), FromHex("10 27"));
}

TEST(TaxTableTest, RefusalsLeaveTheTableAsItWas) {
  constexpr Byte kBad = result::kBadParameter0502;
  constexpr Byte kNo = result::kCommandForbidden;
  const struct {
    const char* name;
    Variant v;
    const char* command;
    Byte result;
  } cases[] = {
      {"no type byte", k0503, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00", kBad},
      {"no type byte where 16 means it", kEp02, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00", kNo},
      {"mixed without its rates", kEp05, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00 20", kNo},
      {"no rates", k0502, "19 00 00 00 D0 07 00 00 00 00 00 00 00 00 00", kBad},
      {"six rates", k0503, "19 00 00 06 D0 07 00 00 00 00 00 00 00 00 00", result::kTooManyTaxes},
      {"100.00 %", k0503, "19 00 00 01 10 27 00 00 00 00 00 00 00 00 00", kBad},
      {"a sum above 99.99 %", k0503,
       "19 00 00 01 28 23 00 00 00 00 00 00 00 00 20 E8 03 00 00 00 00 00 00 00 00", kBad},
      {"an unknown type bit", k0503, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00 40", kBad},
      {"a wrong password", k0503, "19 01 00 01 D0 07 00 00 00 00 00 00 00 00 00", result::kBadPassword},
      {"EP-01 six rates", kEp01, "19 00 00 06 01 00 02 00 03 00 04 00 05 00 06 00 02", result::kTooManyTaxes},
      {"08-01 seven rates", k0801, "19 00 00 07", result::kTooManyTaxes},
      {"older 100.01 %", kEp01, "19 00 00 01 11 27 02", kNo},
      {"nine decimals", k0801, "19 00 00 01 D0 07 09", kNo},
      {"a byte too many", kEp01, "19 00 00 01 D0 07 02 00", kNo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterModel m(c.v);
    std::vector<std::string> tape;
    m.printing.tape = [&tape](std::string_view line) { tape.emplace_back(line); };
    const TaxTable before = m.taxes;
    Exec(m, c.command, c.result);
    EXPECT_EQ(m.taxes.rates, before.rates);
    EXPECT_EQ(m.taxes.count, before.count);
    EXPECT_FALSE(m.status.mode.taxes_changed);
    EXPECT_TRUE(tape.empty());
  }

  PrinterModel open_day(k0503);
  open_day.status.mode.day_open = true;
  Exec(open_day, "19 00 00 01 D0 07 00 00 00 00 00 00 00 00 00", result::kZReportNeeded);
}

TEST(TaxTableTest, StateShowsTheWholeTable) {
  PrinterModel m(k0502);
  Exec(m, "19 00 00 02 D0 07 BC 02 00 00 00 00 00 00 20 64 00 32 00 00 00 00 00 00 00");
  Json j;
  WriteTaxesJson(m, j);
  const Json& t = j["taxes"];
  EXPECT_EQ(t["count"], 2);
  EXPECT_EQ(t["rates"]["B"], 700);
  EXPECT_EQ(t["extra"]["B"], 50);
  EXPECT_TRUE(t["mixed"].get<bool>());
  const CivilTime now = m.clock.NowCivil();
  char date[16];
  std::snprintf(date, sizeof date, "%04d-%02d-%02d", now.year, now.month, now.day);
  EXPECT_EQ(t["programmed"], date);
}

}  // namespace
}  // namespace zorfp::sim
