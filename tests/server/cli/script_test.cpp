// The zorfp script language, line by line.
#include "tools/script.h"

#include <gtest/gtest.h>

#include "dates/date_time.h"
#include "tools/json.h"

namespace zorfp::tools {
namespace {

Argument Int(std::int64_t x) {
  Argument a;
  a.kind = Argument::kInt, a.i = x;
  return a;
}
Argument UInt(std::uint64_t x) {
  Argument a;
  a.kind = Argument::kUInt, a.u = x;
  return a;
}
Argument Bool(bool x) {
  Argument a;
  a.kind = Argument::kBool, a.b = x;
  return a;
}
Argument Str(std::string s) {
  Argument a;
  a.s = std::move(s);
  return a;
}
Argument Date(const char* text) {
  Argument a;
  a.kind = Argument::kDate, a.date = *ParseDateText(text);
  return a;
}

// Arguments parsed from text keep their spelling in `s`; compare what matters per kind.
void ExpectSame(const Argument& got, const Argument& want, const char* line) {
  EXPECT_EQ(got.kind, want.kind) << line;
  switch (want.kind) {
    case Argument::kInt:
      EXPECT_EQ(got.i, want.i) << line;
      break;
    case Argument::kUInt:
      EXPECT_EQ(got.u, want.u) << line;
      break;
    case Argument::kBool:
      EXPECT_EQ(got.b, want.b) << line;
      break;
    case Argument::kString:
      EXPECT_EQ(got.s, want.s) << line;
      break;
    case Argument::kDate:
      EXPECT_EQ(got.date, want.date) << line;
      break;
  }
}

TEST(Script, LinesThatParse) {
  const struct {
    const char* text;
    ScriptLine::Kind kind;
    const char* name;
    std::vector<Argument> args;
  } kCases[] = {
      {"", ScriptLine::kNothing, "", {}},
      {"   # a comment", ScriptLine::kNothing, "", {}},
      {"FPClose", ScriptLine::kCall, "FPClose", {}},
      {"FPInitEx \"/dev/ttyS0\" 19200 10 10",
       ScriptLine::kCall,
       "FPInitEx",
       {Str("/dev/ttyS0"), Int(19200), Int(10), Int(10)}},
      {"FPChangeBaudRate 1 true", ScriptLine::kCall, "FPChangeBaudRate", {Int(1), Bool(true)}},
      {"X -5 18446744073709551615", ScriptLine::kCall, "X", {Int(-5), UInt(18446744073709551615ull)}},
      {"X \"say \\\"hi\\\" \\\\o/\"", ScriptLine::kCall, "X", {Str("say \"hi\" \\o/")}},
      {"X \"\" \"Чек №1\"", ScriptLine::kCall, "X", {Str(""), Str("Чек №1")}},
      {"X 2024-02-29 2024-02-29T18:30:00",
       ScriptLine::kCall,
       "X",
       {Date("2024-02-29"), Date("2024-02-29T18:30:00")}},
      {"X word True 1.5 +3 2024-1-1",
       ScriptLine::kCall,
       "X",
       {Str("word"), Str("True"), Str("1.5"), Str("+3"), Str("2024-1-1")}},
      {"Lang = 0", ScriptLine::kWrite, "Lang", {Int(0)}},
      {"MMCReportFolder = \"/tmp/reports\"", ScriptLine::kWrite, "MMCReportFolder", {Str("/tmp/reports")}},
      {"use ZOR_EP_02", ScriptLine::kUse, "ZOR_EP_02", {}},
      {"\tGetArticleName\t12345\r", ScriptLine::kCall, "GetArticleName", {Int(12345)}},
  };
  for (const auto& c : kCases) {
    ScriptLine line;
    std::string error;
    ASSERT_TRUE(ParseScriptLine(c.text, line, error)) << c.text << ": " << error;
    EXPECT_EQ(line.kind, c.kind) << c.text;
    EXPECT_EQ(line.name, c.name) << c.text;
    ASSERT_EQ(line.args.size(), c.args.size()) << c.text;
    for (std::size_t i = 0; i < c.args.size(); ++i) ExpectSame(line.args[i], c.args[i], c.text);
  }
}

TEST(Script, LinesThatDoNot) {
  const struct {
    const char* text;
    const char* error;
  } kCases[] = {
      {"FPInitEx \"/dev/ttyS0", "unterminated string"},
      {"X \"a\\nb\"", "unknown escape"},
      {"X \"a\"b", "no blank after a string"},
      {"X a\"b", "a quote inside a word"},
      {"\"FPClose\"", "starts with a member name"},
      {"1abc", "starts with a member name"},
      {"Lang = 0 1", "one value"},
      {"Lang =", "one value"},
      {"use", "one class name"},
      {"use A B", "one class name"},
      {"X 99999999999999999999", "integer out of range"},
      {"X -9223372036854775809", "integer out of range"},
      {"X 2023-02-29", "no such date"},
      {"X 2024-01-01T25:00:00", "no such date"},
  };
  for (const auto& c : kCases) {
    ScriptLine line;
    std::string error;
    EXPECT_FALSE(ParseScriptLine(c.text, line, error)) << c.text;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
  }
}

TEST(Json, StringsEscapeWhatJsonRequires) {
  EXPECT_EQ(JsonText("ЭККР не отвечает!"), "\"ЭККР не отвечает!\"");
  EXPECT_EQ(JsonText("a\"b\\c\r\n\x01"), "\"a\\\"b\\\\c\\r\\n\\u0001\"");
}

}  // namespace
}  // namespace zorfp::tools
