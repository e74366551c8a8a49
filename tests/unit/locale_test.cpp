#include "link/locale.h"

#include <gtest/gtest.h>

namespace zorfp {
namespace {

TEST(FormatDateTime, Patterns) {
  const CivilTime t{2009, 3, 7, 14, 5, 9, 42};
  const LocaleFormats slash{"M/d/yyyy", "/", ":", "h:mm:ss tt"};
  const struct {
    const char* pattern;
    const char* text;
  } cases[] = {
      {"dd.MM.yyyy", "07.03.2009"}, {"d.M.yy", "7.3.09"},   {"M/d/yyyy", "3/7/2009"},
      {"HH:mm:ss", "14:05:09"},     {"h:mm tt", "2:05 PM"}, {"'at' HH", "at 14"},
      {"ss.zzz", "09.042"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.pattern, t, slash), c.text) << c.pattern;
  // "/" and ":" stand for the locale's separators.
  EXPECT_EQ(FormatDateTime("dd/MM/yy HH:mm", t, LocaleFormats{"", "-", ".", ""}), "07-03-09 14.05");
}

}  // namespace
}  // namespace zorfp
