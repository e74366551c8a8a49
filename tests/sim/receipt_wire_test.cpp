// A whole receipt through the pty on every variant: the exact answer frames, the state dump and the
// paper tape; and a sale whose answer is lost, resent and registered once.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "sim/cp866.h"

namespace zorfp::sim::testing {
namespace {

using enum Variant;
using ::testing::Contains;
using ::testing::ElementsAreArray;

Bytes Le(std::uint64_t v, int width) {
  Bytes out;
  for (int i = 0; i < width; ++i, v >>= 8) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Text(std::string_view utf8) {
  const std::string cp866 = Utf8ToCp866(utf8);
  return Bytes(cp866.begin(), cp866.end());
}

// ACK and the answer frame of an executed command.
Bytes Accepted(std::uint8_t seq, std::uint8_t code, const Bytes& data = {}) {
  return Concat({0x06}, HostFrame(seq, Join({{code, 0x00, 0x00, 0x00}, data})));
}

bool Older(Variant v) {
  return v == kEp01 || v == k0801;
}

Bytes Sale(Variant v, std::uint32_t quantity, std::uint8_t status, std::uint32_t price, std::uint8_t tax,
           std::string_view name, std::uint64_t code) {
  const Bytes text = Text(name);
  const int code_width = v == kEp01 ? 4 : v == k0801 ? 2 : 6;
  return Join({{0x12},
               Le(quantity, 3),
               {status},
               Le(price, 4),
               {tax, static_cast<std::uint8_t>(text.size())},
               text,
               Le(code, code_width)});
}

Bytes Payment(Variant v, std::uint8_t form, std::uint32_t amount) {
  Bytes c = Join({{0x14, form}, Le(amount, 4)});
  if (Older(v)) c.push_back(0x00);
  return c;
}

// JSON without the blanks between tokens, so a fragment can be compared as one string.
std::string Compact(const std::string& json) {
  std::string out;
  bool in_string = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (in_string && c == '\\') {
      out += c;
      out += json[++i];
      continue;
    }
    if (c == '"') in_string = !in_string;
    if (in_string || (c != ' ' && c != '\n')) out += c;
  }
  return out;
}

// The value of `"key":` (an object) in compact JSON.
std::string Member(const std::string& compact, const std::string& key) {
  const std::size_t start = compact.find("\"" + key + "\":{");
  if (start == std::string::npos) return {};
  const std::size_t open = start + key.size() + 3;
  int depth = 0;
  for (std::size_t i = open; i < compact.size(); ++i) {
    depth += compact[i] == '{' ? 1 : compact[i] == '}' ? -1 : 0;
    if (depth == 0) return compact.substr(open, i + 1 - open);
  }
  return {};
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class WholeReceiptTest : public ::testing::TestWithParam<Variant> {};

// Two items, 10 % off the second (not on 08-01, which has no discounts), a comment, card 50.00 and
// cash to close with change.
TEST_P(WholeReceiptTest, ItemsDiscountCommentTwoPaymentsAndChange) {
  const Variant v = GetParam();
  const bool discount = v != k0801;
  const bool unsigned_discount = v == k0502 || v == k0503;
  SimulatorOptions o;
  o.variant = v;
  TempDir tape_dir;
  o.tape_path = tape_dir.File("tape.txt");
  RunningSim s(o);
  Host host(s.sim->path());

  EXPECT_THAT(host.Exchange(HostFrame(1, Sale(v, 2, 0x00, 1250, 0x80, "Хлеб", 1))),
              ElementsAreArray(Accepted(1, 0x12, {0xC4, 0x09, 0x00, 0x00, 0xC4, 0x09, 0x00, 0x00})));
  EXPECT_THAT(host.Exchange(HostFrame(2, Sale(v, 1500, 0x03, 3000, 0x81, "Молоко", 2))),
              ElementsAreArray(Accepted(2, 0x12, {0x94, 0x11, 0x00, 0x00, 0x58, 0x1B, 0x00, 0x00})));
  std::int64_t total = 7000;
  if (discount) {
    const std::uint32_t percent_bit = v == kEp01 ? 0x02000000 : 0x04000000;
    EXPECT_THAT(
        host.Exchange(HostFrame(3, Join({{0x23, 0x00}, Le(0x80000000 | percent_bit | 1000, 4), {0x00}}))),
        ElementsAreArray(Accepted(3, 0x23,
                                  {0xC2, 0x01, 0x00, static_cast<std::uint8_t>(unsigned_discount ? 0 : 0x80),
                                   0x96, 0x19, 0x00, 0x00})));
    total = 6550;
  }
  const Bytes thanks = Text("ДЯКУЄМО ЗА ПОКУПКУ");
  EXPECT_THAT(host.Exchange(HostFrame(4, Join({{0x0B, static_cast<std::uint8_t>(thanks.size())}, thanks}))),
              ElementsAreArray(Accepted(4, 0x0B)));
  EXPECT_THAT(host.Exchange(HostFrame(5, Payment(v, 0, 5000))),
              ElementsAreArray(Accepted(5, 0x14, Le(static_cast<std::uint64_t>(total - 5000), 4))));
  const std::int64_t change = 7200 - total;
  EXPECT_THAT(host.Exchange(HostFrame(6, Payment(v, 3, 0x80000000 | 2200))),
              ElementsAreArray(Accepted(6, 0x14, Le(0x80000000 | static_cast<std::uint64_t>(change), 4))));
  const std::int64_t cash = 2200 - change;
  EXPECT_THAT(host.Exchange(HostFrame(7, {0x21})), ElementsAreArray(Accepted(7, 0x21, Le(cash, 5))));

  // The state dump: the closed receipt and the day.
  const std::string json = Compact(s.sim->StateJson());
  const std::string forms = v == kEp06 ? ",0,0,0,0,0,0" : "";
  const std::string adjustment =
      discount ? R"({"kind":"discount","relative":true,"value":1000,"amount":-450,"comment":""})" : "null";
  const std::int64_t milk = discount ? 4050 : 4500;
  EXPECT_EQ(
      Member(json, "receipt"),
      R"({"open":false,"state":"closed","kind":"sale","number":1,"items":[)"
      R"({"name":"Хлеб","name_from_memory":false,"quantity":2,"decimals":0,"price":1250,"tax":"A",)"
      R"("code":1,"cost":2500,"adjustment":null,"net":2500},)"
      R"({"name":"Молоко","name_from_memory":false,"quantity":1500,"decimals":3,"price":3000,"tax":"B",)"
      R"("code":2,"cost":4500,"adjustment":)" +
          adjustment + R"(,"net":)" + std::to_string(milk) + R"(}],"adjustments":[],"total":)" +
          std::to_string(total) + R"(,"taxes":{"A":417,"B":)" + (discount ? "265" : "294") +
          R"(,"C":0,"D":0,"E":0,"F":0},"payments":[)"
          R"({"form":0,"amount":5000,"fiscal":true,"info":""},)"
          R"({"form":3,"amount":2200,"fiscal":true,"info":""}],"paid":7200,"change":)" +
          std::to_string(change) + "}");
  EXPECT_EQ(Member(json, "sales"),
            R"({"receipts":1,"turnover_by_tax":{"A":2500,"B":)" + std::to_string(milk) +
                R"(,"C":0,"D":0,"E":0,"F":0},"by_payment_form":[5000,0,0,)" + std::to_string(cash) + forms +
                R"(],"markups":0,"discounts":)" + (discount ? "450" : "0") +
                R"(,"cancelled_receipts":{"count":0,"sum":0},"cancelled_items":{"count":0,"sum":0}})");
  EXPECT_NE(json.find(R"("drawer":)" + std::to_string(cash) + ","), std::string::npos);
  EXPECT_NE(
      json.find(
          R"("mode":{"day_open":true,"receipt_open":false,"refund_receipt":false,"payment_begun":false)"),
      std::string::npos);

  // The tape: the receipt as printed.
  const std::vector<std::string> tape = Lines(o.tape_path);
  EXPECT_THAT(tape, Contains("2 x 12.50 =                  25.00 А"));
  EXPECT_THAT(tape, Contains("1.500 x 30.00 =              45.00 Б"));
  if (discount) {
    EXPECT_THAT(tape, Contains("ЗНИЖКА 10.00%                  -4.50"));
  }
  EXPECT_THAT(tape, Contains("ДЯКУЄМО ЗА ПОКУПКУ"));
  EXPECT_THAT(tape, Contains("КАРТКА                         50.00"));
  EXPECT_THAT(tape, Contains("ГОТIВКА                        22.00"));
  EXPECT_THAT(tape, Contains(::testing::StartsWith("ЧЕК N 1 ")));
  const std::string serial = s.sim->WithModel([](PrinterModel& m) {
    return "ЗН " + m.status.identity.serial_number + " ФН " + Cp866ToUtf8(m.status.identity.fiscal_number);
  });
  EXPECT_THAT(tape, Contains(::testing::EndsWith(serial)));
  EXPECT_EQ(s.sim->counters().commands_refused, 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryVariant, WholeReceiptTest, ::testing::ValuesIn(AllVariants()),
                         [](const auto& param_info) {
                           std::string name(Tag(param_info.param));
                           std::erase(name, '-');
                           return "V" + name;
                         });

TEST(ReceiptResendTest, LostAnswerOfASaleRegistersTheItemOnce) {
  SimulatorOptions o;
  o.variant = k0503;
  o.faults[FaultKind::kLoseAnswer] = FaultRule::Times(1);
  RunningSim s(o);
  Host host(s.sim->path());

  const Bytes sale = HostFrame(0x21, Sale(k0503, 1, 0x00, 1000, 0x80, "Tea", 5));
  host.Write(sale);
  ASSERT_TRUE(s.sim->WaitFor([](const Counters& c) { return c.answers_lost == 1; }));
  // The host's resend: same number, same bytes. Answered from memory, total still 10.00.
  const Bytes answer = Accepted(0x21, 0x12, {0xE8, 0x03, 0x00, 0x00, 0xE8, 0x03, 0x00, 0x00});
  EXPECT_THAT(host.Exchange(sale), ElementsAreArray(answer));
  // The same item again as a new command is a second item.
  EXPECT_THAT(host.Exchange(HostFrame(0x22, Sale(k0503, 1, 0x00, 1000, 0x80, "Tea", 5))),
              ElementsAreArray(Accepted(0x22, 0x12, {0xE8, 0x03, 0x00, 0x00, 0xD0, 0x07, 0x00, 0x00})));

  const Counters c = s.sim->counters();
  EXPECT_EQ(c.commands_executed, 2u);
  EXPECT_EQ(c.repeats_answered, 1u);
  EXPECT_EQ(s.sim->WithModel([](PrinterModel& m) { return m.receipt.items.size(); }), 2u);
}

}  // namespace
}  // namespace zorfp::sim::testing
