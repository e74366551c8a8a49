#include "errors/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace zorfp {
namespace {

std::string AllBytes() {
  std::string s(256, '\0');
  for (int i = 0; i < 256; ++i) s[i] = static_cast<char>(i);
  return s;
}

TEST(CodePage, EveryByteOfBothPagesSurvivesUnicode) {
  for (int i = 0; i < 256; ++i) {
    const Byte b = static_cast<Byte>(i);
    EXPECT_EQ(UnicodeToCp1251(Cp1251ToUnicode(b)), b) << "1251 byte " << i;
    EXPECT_EQ(UnicodeToCp866(Cp866ToUnicode(b)), b) << "866 byte " << i;
  }
}

TEST(CodePage, KnownCharacters) {
  struct Case {
    Byte b;
    char16_t cp1251;
    char16_t cp866;
  };
  const Case cases[] = {
      {0x41, u'A', u'A'},      {0x80, u'\u0402', u'А'}, {0x98, u'\u0098', u'Ш'}, {0xA0, u'\u00A0', u'а'},
      {0xA5, u'Ґ', u'е'},      {0xA8, u'Ё', u'и'},      {0xB2, u'І', u'\u2593'}, {0xB9, u'№', u'\u2563'},
      {0xC0, u'А', u'\u2514'}, {0xDF, u'Я', u'\u2580'}, {0xE0, u'а', u'р'},      {0xF0, u'р', u'Ё'},
      {0xF2, u'т', u'Є'},      {0xFC, u'ь', u'№'},      {0xFF, u'я', u'\u00A0'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1251ToUnicode(c.b), c.cp1251) << int{c.b};
    EXPECT_EQ(Cp866ToUnicode(c.b), c.cp866) << int{c.b};
  }
}

TEST(CodePage, CharactersAPageLacksBecomeQuestionMarks) {
  EXPECT_EQ(UnicodeToCp866(u'Ґ'), '?');
  EXPECT_EQ(UnicodeToCp866(u'І'), '?');
  EXPECT_EQ(UnicodeToCp1251(u'\u2591'), '?');
  EXPECT_EQ(UnicodeToCp1251(u'\u4E00'), '?');
  EXPECT_EQ(UnicodeToCp866(u'\uFFFF'), '?');
}

TEST(CodePage, AnsiOemConversionKeepsLengthAndLetters) {
  const std::string all = AllBytes();
  EXPECT_EQ(AnsiToOem(all).size(), 256u);
  EXPECT_EQ(OemToAnsi(all).size(), 256u);
  // Every Russian letter, Ё and ё go there and back unchanged.
  for (int i = 0xC0; i <= 0xFF; ++i) {
    const std::string letter(1, static_cast<char>(i));
    EXPECT_EQ(OemToAnsi(AnsiToOem(letter)), letter) << i;
  }
  EXPECT_EQ(AnsiToOem("\xA8\xB8"), "\xF0\xF1");
  EXPECT_EQ(AnsiToOem("\xCF\xF0\xE8\xE2\xE5\xF2"), "\x8F\xE0\xA8\xA2\xA5\xE2");  // Привет
  EXPECT_EQ(OemToAnsi("\xB0\xC4"), "??");                                        // shade, box line
}

TEST(CodePage, ClientBoundaryRoundTripsEveryByte) {
  const std::string all = AllBytes();
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(Utf16ToAnsi(AnsiToUtf16(all)), all);
  EXPECT_EQ(AnsiToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 \xB9"), "Привет №");
  EXPECT_EQ(AnsiToUtf16("\xAA\xB2"), u"ЄІ");
}

TEST(CodePage, IllFormedUtf8BecomesQuestionMarks) {
  struct Case {
    const char* utf8;
    const char* ansi;
  };
  const Case cases[] = {
      {"\x80", "?"},                // stray continuation byte
      {"a\xD0", "a?"},              // cut short at the end
      {"\xD0\x41", "?A"},           // cut short before a letter, which survives
      {"\xC0\xAF", "??"},           // overlong lead
      {"\xE0\x80\x80", "?"},        // overlong three bytes
      {"\xED\xA0\x80", "?"},        // surrogate
      {"\xF0\x9F\x98\x80x", "?x"},  // beyond the plane both pages live in
      {"\xF5\x80", "??"},           // past U+10FFFF
      {"\xFF\xFE", "??"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToAnsi(c.utf8), c.ansi) << c.utf8;
}

TEST(CodePage, SurrogatesInUtf16BecomeOneQuestionMarkEach) {
  EXPECT_EQ(Utf16ToAnsi(u"\U0001F600!"), "?!");
  EXPECT_EQ(Utf16ToAnsi(std::u16string{u'\xDC00', u'x', u'\xD800'}), "?x?");
}

}  // namespace
}  // namespace zorfp
