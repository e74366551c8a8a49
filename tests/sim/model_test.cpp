// The printer model as a whole: which area's table serves which command on which variant, what
// every answer carries, and the state dump the areas write together. Driven in-process.
#include "sim/model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using ::testing::ElementsAre;

// Which variant executes what, and with what result byte.
struct CommandCase {
  std::string name;
  Bytes command;
  std::vector<Byte> results;  // per variant, in the order EP-01, 08-01, EP-02, EP-05, EP-06, 05-02, 05-03
};

TEST(CommandTableTest, ResultPerVariant) {
  constexpr Byte kNo = result::kCommandForbidden;
  constexpr Byte kBad = result::kBadParameter0502;
  const std::vector<CommandCase> cases = {
      {"status request", {0x00}, {0, 0, 0, 0, 0, 0, 0}},
      {"status request with a stray parameter", {0x00, 0x01}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"printer state", {0x30}, {kNo, kNo, kNo, 0, 0, 0, 0}},
      {"line feed", {0x0E}, {0, 0, 0, 0, 0, 0, 0}},
      {"baud rate index 1", {0x26, 0x01}, {0, kNo, 0, 0, 0, 0, 0}},
      {"baud rate index 2", {0x26, 0x02}, {0, kNo, 0, 0, 0, 0, 0}},
      {"baud rate index 3", {0x26, 0x03}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"baud rate over USB", {0x26, 0x21}, {kNo, kNo, kNo, kNo, kNo, 0, 0}},
      {"baud rate without index", {0x26}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read", {0x1C, 0x1A, 0x30, 0x10, 0x01}, {0, 0, 0, 0, 0, 0, 0}},
      {"memory read of nothing", {0x1C, 0x1A, 0x30, 0x10, 0x00}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read past the end", {0x1C, 0xFF, 0xFF, 0x10, 0x02}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read of an unknown page",
       {0x1C, 0x00, 0x00, 0x05, 0x01},
       {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"customer display, first line", {0x1B, 0x00, 0x01, 'A'}, {0, 0, 0, 0, 0, 0, 0}},
      {"customer display, fourth line", {0x1B, 0x03, 0x01, 'A'}, {kNo, kNo, kNo, kNo, kNo, 0, 0}},
      {"customer display, 21 characters", {0x1B, 0x00, 21, 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A',
                                           'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A', 'A'},
       {20, 20, 20, 20, 20, 20, 20}},
      {"open drawer", {0x1D}, {0, 0, 0, 0, 0, 0, 0}},
      {"copy before any receipt", {0x1E}, {42, 42, 42, 42, 42, 42, 42}},
      {"print version", {0x20}, {0, 0, 0, 0, 0, 0, 0}},
      {"on-line print switch", {0x24}, {0, kNo, 0, 0, 0, 0, 0}},
      {"display switch", {0x25}, {0, kNo, 0, 0, 0, 0, 0}},
      {"non-fiscal line", {0x28, 0x01, 'A'}, {kNo, kNo, 0, 0, 0, 0, 0}},
      {"non-fiscal line, station 1", {0x28, 0x41, 'A'}, {kNo, kNo, kNo, kNo, 0, kBad, kBad}},
      {"end of a non-fiscal document", {0x28, 0xFF}, {kNo, kNo, 0, 0, 0, 0, 0}},
      {"receipt-only switch", {0x28, 0xFE}, {kNo, kNo, kNo, 0, 0, kBad, kBad}},
      {"cutter switch", {0x2E}, {kNo, kNo, 0, 0, 0, 0, 0}},
      {"barcode 12 99", {0x2F, 0x02, 0x0C, 0x63}, {kNo, kNo, kNo, 0, 0, 0, 0}},
      {"barcode symbol 100", {0x2F, 0x01, 0x64}, {kNo, kNo, kNo, 0, 0, 25, 25}},
      {"barcode symbol 128", {0x2F, 0x01, 0x80}, {kNo, kNo, kNo, 25, 25, 25, 25}},
      {"tax query", {0x2C}, {kNo, kNo, 0, 0, 0, 0, 0}},
      {"article report", {0x07, 0x00, 0x00}, {0, 0, kNo, kNo, kNo, kNo, kNo}},
      {"X report", {0x09, 0x00, 0x00}, {0, 0, 0, 0, 0, 0, 0}},
      {"article X report", {0x0A, 0x00, 0x00}, {0, kNo, 0, 0, 0, 0, 0}},
      {"Z report", {0x0D, 0x00, 0x00}, {0, 0, 0, 0, 0, 0, 0}},
      {"journal state or print from the card", {0x33}, {kNo, kNo, kNo, kNo, 0, kBad, kBad}},
      {"fiscal memory record not written", {0x36, 0x01, 0x00}, {kNo, kNo, kNo, kNo, kNo, 22, 22}},
      {"capacity", {0x41}, {kNo, kNo, kNo, kNo, kNo, kNo, 0}},
      {"journal state", {0x42}, {kNo, kNo, kNo, kNo, kNo, kNo, 0}},
      {"unknown command", {0xEE}, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
  };
  for (const CommandCase& c : cases) {
    for (Variant v : AllVariants()) {
      SCOPED_TRACE(c.name + " on " + std::string(Tag(v)));
      PrinterModel m(v);
      const Execution e = Execute(m, c.command);
      EXPECT_EQ(e.answer.result, c.results[static_cast<std::size_t>(v)]);
      if (e.answer.result != 0) {
        EXPECT_TRUE(e.answer.data.empty());
      }
    }
  }
}

TEST(CommandTableTest, EveryRowIsReachableAndCodesAreSorted) {
  for (const CommandArea& area : CommandAreas()) {
    SCOPED_TRACE(std::string(area.name));
    const auto table = area.commands();
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (i > 0) {
        EXPECT_LT(table[i - 1].code, table[i].code);
      }
      bool reachable = false;
      for (Variant v : AllVariants()) reachable = reachable || FindCommand(v, table[i].code) == &table[i];
      EXPECT_TRUE(reachable) << table[i].name;
    }
  }
}

// Two areas claiming one code for one variant would leave one of them silently unused.
TEST(CommandTableTest, NoVariantHasACodeInTwoRows) {
  for (Variant v : AllVariants()) {
    for (int code = 0; code < 256; ++code) {
      std::vector<std::string> rows;
      for (const CommandArea& area : CommandAreas()) {
        for (const CommandEntry& e : area.commands()) {
          if (e.code == code && e.variants.Contains(v))
            rows.push_back(std::string(area.name) + ": " + std::string(e.name));
        }
      }
      EXPECT_LE(rows.size(), 1u) << Tag(v) << " code " << code << ": " << ::testing::PrintToString(rows);
    }
  }
}

TEST(ExecuteTest, LastCommandFailedFollowsCommandsButNotQueries) {
  PrinterModel m(Variant::kEp02);
  Execute(m, Bytes{0xEE});
  EXPECT_TRUE(m.status.last_command_failed);
  Execute(m, Bytes{0x00});  // the host reads the flag with this very request
  EXPECT_TRUE(m.status.last_command_failed);
  EXPECT_EQ(Execute(m, Bytes{0x00}).answer.data[1] & 0x20, 0x20);
  Execute(m, Bytes{0x0E});
  EXPECT_FALSE(m.status.last_command_failed);
}

TEST(ExecuteTest, EveryAnswerCarriesTheConditions) {
  PrinterModel m(Variant::kEp02);
  m.status.conditions.clock_failure = true;
  m.status.mode.service_report_open = true;
  for (const Bytes& command : {Bytes{0x00}, Bytes{0x0E}, Bytes{0xEE}}) {
    const Answer a = Execute(m, command).answer;
    EXPECT_EQ(a.status, 0x08);
    EXPECT_EQ(a.reserve, 0x01);
  }
}

// The dump's keys keep their order (readers compare parts of it as text) now that each area writes
// its own part, and the text stays JSON whatever the registers hold.
TEST(StateDumpTest, PrinterKeysInTheirOrderAndAlwaysJson) {
  PrinterModel m(Variant::k0503);
  m.status.identity.serial_number = "ZR\xFF";  // not UTF-8
  m.programming.header[0].text = "\x01\x1F\"";
  Json j;
  WriteJson(m, j);
  std::vector<std::string> keys;
  for (const auto& item : j.items()) keys.push_back(item.key());
  EXPECT_THAT(keys, ElementsAre("variant", "serial_number", "model_name", "fiscal_number", "version_tag",
                                "fiscalized", "fiscalized_at", "clock", "clock_offset_s", "flags", "mode",
                                "day_opened_at", "header", "programming", "articles", "paper", "conditions",
                                "line", "taxes", "receipt", "day", "drawer", "cutter_enabled", "printing",
                                "modem", "reports", "fiscal_memory", "journal", "memory_card",
                                "last_command_failed", "status_byte", "reserve_byte", "status_block"));
  const Json back = Json::parse(JsonText(j));
  EXPECT_EQ(back["serial_number"], "ZR\uFFFD");
  EXPECT_EQ(back["header"][0]["text"], "\x01\x1F\"");
}

}  // namespace
}  // namespace zorfp::sim
