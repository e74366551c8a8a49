// The small pieces under the simulator: code page 866, the JSON text, the tape, line pacing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "sim/cp866.h"
#include "sim/json.h"
#include "sim/pacer.h"
#include "sim/tape.h"

namespace zorfp::sim {
namespace {

TEST(Cp866Test, MapsTheUpperHalf) {
  struct Case {
    unsigned char byte;
    std::string utf8;
  };
  const std::vector<Case> cases = {{0x80, "А"}, {0x9F, "Я"}, {0xA0, "а"}, {0xAF, "п"}, {0xB0, "░"},
                                   {0xC4, "─"}, {0xDB, "█"}, {0xE0, "р"}, {0xEF, "я"}, {0xF0, "Ё"},
                                   {0xF1, "ё"}, {0xF2, "Є"}, {0xF4, "Ї"}, {0xFC, "№"}, {0xFF, "\u00A0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.byte));
    const std::string one(1, static_cast<char>(c.byte));
    EXPECT_EQ(Cp866ToUtf8(one), c.utf8);
    EXPECT_EQ(Utf8ToCp866(c.utf8), one);
  }
}

TEST(Cp866Test, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp866(Cp866ToUtf8(all)), all);
}

TEST(Cp866Test, WhatItLacksBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp866("Ґі€"), "???");
  EXPECT_EQ(Utf8ToCp866("a\xC3"), "a?");  // cut short
  EXPECT_EQ(Utf8ToCp866("\xFF"
                        "b"),
            "?b");
}

TEST(JsonTest, WritesNestedValuesWithEscapes) {
  Json j;
  j["text"] = "a\"b\\c\nd\x01";
  j["n"] = std::int64_t{-5};
  j["list"] = Json::array({true, nullptr, Json::object()});
  EXPECT_EQ(JsonText(j),
            "{\n"
            "  \"text\": \"a\\\"b\\\\c\\nd\\u0001\",\n"
            "  \"n\": -5,\n"
            "  \"list\": [\n"
            "    true,\n"
            "    null,\n"
            "    {}\n"
            "  ]\n"
            "}\n");
}

// Whatever a register holds, the dump stays JSON: control characters escaped, UTF-8 as it stands,
// and a byte that is not UTF-8 replaced instead of passed on.
TEST(JsonTest, ControlCharactersUtf8AndStrayBytes) {
  std::string controls;
  for (int c = 0; c < 0x20; ++c) controls.push_back(static_cast<char>(c));
  controls.push_back('\x7F');
  Json j;
  j["controls"] = controls;
  j["text"] = "ЧЕК № 1 ░ Ї";
  j["stray"] =
      "A\xFF"
      "B\xC3";
  const std::string text = JsonText(j);
  for (char c : text) EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << static_cast<int>(c);
  EXPECT_NE(text.find("\"ЧЕК № 1 ░ Ї\""), std::string::npos);
  const Json back = Json::parse(text);
  EXPECT_EQ(back["controls"], controls);
  EXPECT_EQ(back["text"], "ЧЕК № 1 ░ Ї");
  EXPECT_EQ(back["stray"], "A\uFFFDB\uFFFD");
}

TEST(TapeTest, AppendsUtf8Lines) {
  testing::TempDir dir;
  const std::string path = dir.File("tape.txt");
  std::ofstream(path) << "earlier\n";
  {
    Tape tape(path);
    tape.Line(Utf8ToCp866("ЧЕК N 1"));
    tape.Line("");
  }
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  EXPECT_EQ(s.str(), "earlier\nЧЕК N 1\n\n");
}

TEST(TapeTest, FailsLoudlyOnAPathItCannotWrite) {
  EXPECT_THROW(Tape("/nonexistent-dir/tape.txt"), std::system_error);
}

TEST(LinePacerTest, TenBitsAByteBackToBack) {
  using std::chrono::microseconds;
  LinePacer pacer(9600);
  EXPECT_EQ(std::chrono::duration_cast<microseconds>(pacer.byte_time()).count(), 1041);
  const auto t0 = LinePacer::Clock::time_point{} + std::chrono::seconds(100);
  // Three bytes handed over at once arrive one byte time apart.
  const auto a = pacer.Book(t0), b = pacer.Book(t0), c = pacer.Book(t0);
  EXPECT_EQ(a - t0, pacer.byte_time());
  EXPECT_EQ(b - a, pacer.byte_time());
  EXPECT_EQ(c - b, pacer.byte_time());
  // After a pause the line is free again: no credit for idle time.
  const auto later = c + std::chrono::seconds(1);
  EXPECT_EQ(pacer.Book(later) - later, pacer.byte_time());
  pacer.set_baud(115200);
  EXPECT_EQ(std::chrono::duration_cast<microseconds>(pacer.Duration(1152)).count(), 100000);
}

}  // namespace
}  // namespace zorfp::sim
