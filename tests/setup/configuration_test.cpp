#include "setup/configuration.h"

#include <gtest/gtest.h>

#include "setup/text.h"

namespace zorfp::setup {
namespace {

TEST(Profile, ValuesAsThePrivateProfileReaderGivesThem) {
  const std::string long258(258, 'v'), long259(259, 'v');
  const Profile p = Profile::Parse(
      "\xEF\xBB\xBF; a comment\r\n"
      "[General]\r\n"
      "  Plain  =  some value  \r\n"
      "Quoted=\"  kept blanks  \"\n"
      "Single='x'\n"
      "HalfQuoted=\"x\n"
      "Empty=\n"
      "Default=NOT FOUND\n"
      "Long258=" + long258 + "\n"
      "Long259=" + long259 + "\n"
      "Twice=first\n"
      "twice=second\n"
      "no equals sign\n"
      "[general]\n"
      "Later=merged into the first section of the name\n"
      "[Other]\n"
      "Plain=other\n");
  const struct {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  } cases[] = {
      {"General", "Plain", "some value"},
      {"GENERAL", "plain", "some value"},
      {"General", "Quoted", "  kept blanks  "},
      {"General", "Single", "x"},
      {"General", "HalfQuoted", "\"x"},
      {"General", "Empty", std::nullopt},
      {"General", "Default", std::nullopt},
      {"General", "Long258", long258},
      {"General", "Long259", std::nullopt},  // fills the buffer: cut, so absent
      {"General", "Twice", "first"},
      {"General", "Later", "merged into the first section of the name"},
      {"General", "no equals sign", std::nullopt},
      {"Other", "Plain", "other"},
      {"Missing", "Plain", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(p.Value(c.section, c.key), c.value) << c.section << "/" << c.key;
}

TEST(Profile, LeadingDigits) {
  const struct {
    const char* text;
    std::uint64_t value;
  } cases[] = {{"0", 0}, {"12", 12}, {"12abc", 12}, {"abc", 0}, {"-1", 0}, {"3.5", 3}, {"", 0},
               {"99999999999999999999999", UINT64_MAX}, {"18446744073709551615", UINT64_MAX}, {"007", 7}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

const char* kConfiguration =
    "[GeneralOptions]\n"
    "MainAppCmdLine=/qb\n"
    "Options=Q\n"
    "[PREREQUISITES]\n"
    "App1=Runtime\n"
    "App2=No source\n"
    "App3=Web only\n"
    "App5=After the gap\n"
    "[Runtime]\n"
    "SetupFile=runtime.exe\n"
    "Url=http://example.invalid/runtime.exe\n"
    "TargetOS=1 (NT)\n"
    "ExactSize=1234x\n"
    "SearchType=0\n"
    "SearchString=[SystemFolder]runtime.dll\n"
    "VerMin=1.2\n"
    "Options=m\n"
    "CommandLine=/quiet\n"
    "[No source]\n"
    "SearchType=0\n"
    "[Web only]\n"
    "OpenSite=http://example.invalid/\n"
    "TargetOS=zero\n"
    "SearchType=7\n"
    "[After the gap]\n"
    "SetupFile=never.exe\n";

TEST(Configuration, Reading) {
  const Configuration c = ReadConfiguration(Profile::Parse(kConfiguration));
  EXPECT_EQ(c.main_command_line, "/qb");
  EXPECT_TRUE(c.Quiet());
  ASSERT_EQ(c.prerequisites.size(), 2u);  // no source: left out; App4 missing: reading stops

  const Prerequisite& r = c.prerequisites[0];
  EXPECT_EQ(r.name, "Runtime");
  EXPECT_EQ(r.setup_file, "runtime.exe");
  EXPECT_EQ(r.target, TargetFamily::kWindowsNt);
  EXPECT_EQ(r.exact_size, 1234u);
  EXPECT_EQ(r.search, SearchType::kFile);
  EXPECT_EQ(r.search_string, "[SystemFolder]runtime.dll");
  EXPECT_EQ(r.version_min, "1.2");
  EXPECT_EQ(r.version_max, "");
  EXPECT_EQ(r.command_line, "/quiet");
  EXPECT_TRUE(r.Mandatory());

  const Prerequisite& w = c.prerequisites[1];
  EXPECT_EQ(w.open_site, "http://example.invalid/");
  EXPECT_EQ(w.target, TargetFamily::kWindows9x);  // no leading digit reads as 0
  EXPECT_FALSE(w.search.has_value());              // no such search type: nothing is searched
  EXPECT_FALSE(w.exact_size.has_value());
  EXPECT_FALSE(w.Mandatory());
}

TEST(Configuration, Defaults) {
  const Configuration c = ReadConfiguration(Profile::Parse("[PREREQUISITES]\nApp1=A\n[A]\nUrl=http://h/a.exe\n"));
  ASSERT_EQ(c.prerequisites.size(), 1u);
  EXPECT_EQ(c.prerequisites[0].target, TargetFamily::kBoth);
  EXPECT_FALSE(c.Quiet());
  EXPECT_EQ(c.main_command_line, "");
}

}  // namespace
}  // namespace zorfp::setup
