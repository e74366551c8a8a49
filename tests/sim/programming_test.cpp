// The printer's side of programming: which variants know each command, the refusals with their
// result codes (each leaving the registers as they were), and the article memory's answer.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/model.h"
#include "sim/result_codes.h"
#include "sim/variant.h"

namespace zorfp::sim {
namespace {

constexpr Byte kNo = result::kCommandForbidden;
constexpr Byte kBad = result::kBadParameter0502;

Bytes Cmd(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<Byte>(b));
  return out;
}

// A newer header: three one-letter lines and the tax number 000000000001.
Bytes NewerHeader(int password_low = 0) {
  Bytes b = Cmd({0x16, password_low, 0x00, 0x01, 'A', 0x41, 'B', 0x81, 'C', 0x0C});
  for (int i = 0; i < 11; ++i) b.push_back('0');
  b.push_back('1');
  return b;
}

TEST(ProgrammingCommandsTest, ResultPerVariant) {
  const struct {
    std::string name;
    Bytes command;
    std::array<Byte, kVariantCount> results;  // EP-01, 08-01, EP-02, EP-05, EP-06, 05-02, 05-03
  } cases[] = {
      {"password with a name", Cmd({0x05, 0, 0, 1, 7, 0, 1, 'X'}), {0, kNo, 0, 0, 0, 0, 0}},
      {"password without a name", Cmd({0x05, 0, 0, 1, 7, 0}), {kNo, 0, kNo, kNo, kNo, kBad, kBad}},
      {"cashier keeping the name", Cmd({0x06, 0, 0, 1, 0xFF}), {0, 0, 0, 0, 0, 0, 0}},
      {"cashier 9 is the reports password", Cmd({0x06, 0, 0, 9, 0xFF}), {22, 22, 22, 22, 22, 22, 22}},
      {"text line 6", Cmd({0x17, 6, 1, 'X'}), {22, 22, 22, 22, 0, 22, 22}},
      {"advertising line of 21 with double height", [] {
         Bytes b = Cmd({0x17, 0, 0x80 | 21});
         b.resize(b.size() + 21, 'x');
         return b;
       }(),
       {20, 20, 20, 20, 20, 20, 20}},
      {"line spacing 63", Cmd({0x27, 63}), {0, kNo, 0, 0, 0, 0, 0}},
      {"contrast 200", Cmd({0x27, 200}), {kNo, kNo, kNo, 0, 0, kBad, kBad}},
      {"logo on", Cmd({0x2D, 0, 0, 1, 0, 0, 0, 0}), {kNo, kNo, 0, 0, 0, 0, 0}},
      {"logo with a stray byte", Cmd({0x2D, 0, 0, 1, 0, 0, 0, 1}), {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"EAN-13", Cmd({0x31, '5', '9', '0', '1', '2', '3', '4', '1', '2', '3', '4', '5', '7'}),
       {kNo, kNo, kNo, 0, 0, 0, 0}},
      {"EAN-13 with a wrong check digit", Cmd({0x31, '5', '9', '0', '1', '2', '3', '4', '1', '2', '3', '4', '5', '8'}),
       {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"payment name of form 5", Cmd({0x32, 0, 0, 4, 1, 'B'}), {kNo, kNo, kNo, kNo, 0, kBad, kBad}},
      {"squeeze", Cmd({0x3A}), {kNo, kNo, kNo, kNo, kNo, 0, 0}},
      {"items format 11137", Cmd({0x3C, 0, 0, 0x81, 0x2B}), {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"article query of an unknown code", Cmd({0x29, 1, 0, 0, 0, 0, 0}), {kNo, kNo, 28, 28, 28, 28, 28}},
  };
  for (const auto& c : cases) {
    for (Variant v : AllVariants()) {
      SCOPED_TRACE(c.name + " on " + std::string(Tag(v)));
      PrinterModel m(v);
      EXPECT_EQ(Execute(m, c.command).answer.result, c.results[static_cast<std::size_t>(v)]);
    }
  }
}

TEST(ProgrammingCommandsTest, RefusalsLeaveTheRegistersAlone) {
  using Setup = std::function<void(PrinterModel&)>;
  const Setup none = [](PrinterModel&) {};
  const Setup day_open = [](PrinterModel& m) { m.status.mode.day_open = true; };
  const Setup prog_password_5 = [](PrinterModel& m) { m.programming.settings.passwords[0] = 5; };
  const struct {
    const char* what;
    Variant v;
    Setup setup;
    Bytes command;
    Byte result;
  } cases[] = {
      {"header with the wrong password", Variant::k0503, prog_password_5, NewerHeader(), 21},
      {"header while the day is open", Variant::k0503, day_open, NewerHeader(), 41},
      {"header line of 25", Variant::kEp02, none,
       [] {
         Bytes b = NewerHeader();
         b[3] = 25;
         b.insert(b.begin() + 5, 24, 'x');
         return b;
       }(),
       20},
      {"fiscal number once fiscalized", Variant::kEp05, none, Cmd({0x15, 0, 0, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'}),
       16},
      {"fiscal number with a hyphen", Variant::kEp05,
       [](PrinterModel& m) { m.status.fiscalization.done = false; },
       Cmd({0x15, 0, 0, '1', '2', '-', '4', '5', '6', '7', '8', '9', '0'}), 25},
      {"old password wrong", Variant::kEp02, none, Cmd({0x05, 1, 0, 1, 7, 0, 0}), 21},
      {"cashier password wrong", Variant::kEp02, none, Cmd({0x06, 1, 0, 1, 0xFF}), 21},
      {"cashier name of 16", Variant::kEp02, none,
       [] {
         Bytes b = Cmd({0x06, 0, 0, 1, 16});
         b.resize(b.size() + 16, 'n');
         return b;
       }(),
       20},
      {"article in group D, not programmed", Variant::k0503, none, Cmd({0x22, 0, 0, 0, 1, 0, 0, 0, 0x83, 0, 1, 0, 0, 0, 0, 0}),
       23},
      {"article with the wrong password", Variant::k0503, prog_password_5,
       Cmd({0x22, 0, 0, 0, 1, 0, 0, 0, 0x80, 0, 1, 0, 0, 0, 0, 0}), 21},
      {"payment name of cash", Variant::kEp06, none, Cmd({0x32, 0, 0, 3, 1, 'B'}), 24},
      {"payment name while the day is open", Variant::kEp06, day_open, Cmd({0x32, 0, 0, 0, 1, 'B'}), 41},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PrinterModel m(c.v);
    c.setup(m);
    const auto header = m.programming.header;
    const auto fiscal = m.status.identity.fiscal_number;
    EXPECT_EQ(Execute(m, c.command).answer.result, c.result);
    EXPECT_EQ(m.programming.header[0].text, header[0].text);
    EXPECT_EQ(m.status.identity.fiscal_number, fiscal);
    EXPECT_TRUE(m.programming.articles.empty());
    EXPECT_EQ(m.programming.settings.names[1], "");
    EXPECT_EQ(m.programming.settings.payment_names[0], "");
  }
}

TEST(ProgrammingCommandsTest, HeaderInTheStatusBlockWithItsAttributes) {
  PrinterModel m(Variant::k0503);
  ASSERT_EQ(Execute(m, NewerHeader()).answer.result, 0);
  EXPECT_FALSE(m.programming.header[0].double_width);
  EXPECT_TRUE(m.programming.header[1].double_width);
  EXPECT_TRUE(m.programming.header[2].double_height);
  EXPECT_EQ(StatusBlock(m)[2 + 10 + 9 + 5 + 10 + 2], 0x41) << "the attributes in the length byte";
  EXPECT_EQ(m.programming.header[3].text, "\x8F\x8D 000000000001");
}

TEST(ArticleMemoryTest, AnswerOfTheQuery) {
  PrinterModel m(Variant::kEp02);
  // Group B, price -2.00, status 3 (three decimals), name "AB", code 0x0102.
  ASSERT_EQ(Execute(m, Cmd({0x22, 0, 0, 3, 200, 0, 0, 0x80, 0x81, 2, 'A', 'B', 2, 1, 0, 0, 0, 0})).answer.result, 0);
  m.programming.articles[0x0102].day = {{1500, 300}, {2, 4}};
  const Execution e = Execute(m, Cmd({0x29, 2, 1, 0, 0, 0, 0}));
  EXPECT_EQ(e.answer.result, 0);
  EXPECT_EQ(e.answer.data, Cmd({0x02, 'A', 'B', 0xDC, 0x05, 0, 3, 0x38, 0xFF, 0xFF, 0xFF, 0x81, 0x2C, 0x01, 0, 0, 0,
                                0x02, 0, 0, 3, 4, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zorfp::sim
