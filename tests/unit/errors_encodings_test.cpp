#include "errors/encodings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "errors/codepage.h"

namespace zorfp {
namespace {

TEST(UIntLE, WritesLeastSignificantByteFirstAndReadsBack) {
  struct Case {
    std::uint64_t value;
    int n;
    Bytes bytes;
  };
  const Case cases[] = {
      {4294967295u, 4, {0xFF, 0xFF, 0xFF, 0xFF}},
      {16777216u, 4, {0x00, 0x00, 0x00, 0x01}},
      {16777215u, 3, {0xFF, 0xFF, 0xFF}},
      {0x0102030405ull, 5, {0x05, 0x04, 0x03, 0x02, 0x01}},
      {0xFFFFFFFFFFFFull, 6, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {0x8000000000000001ull, 8, {0x01, 0, 0, 0, 0, 0, 0, 0x80}},
      {0, 2, {0x00, 0x00}},
  };
  for (const Case& c : cases) {
    Bytes out = {0xAA};  // appends after what is there
    PutUIntLE(out, c.value, c.n);
    EXPECT_EQ(Bytes(out.begin() + 1, out.end()), c.bytes) << c.value;
    EXPECT_EQ(UIntLE(c.bytes), c.value) << c.value;
  }
}

TEST(UIntLE, WritingKeepsOnlyTheLowBytes) {
  Bytes out;
  PutUIntLE(out, 0x1FF, 1);
  EXPECT_EQ(out, Bytes{0xFF});
}

TEST(SignMagnitude32, SignBitIsSeparateFromMagnitude) {
  EXPECT_EQ(SignMagnitude32(Bytes{0x10, 0x00, 0x00, 0x80}), -16);
  EXPECT_EQ(SignMagnitude32(Bytes{0x10, 0x00, 0x00, 0x00}), 16);
  EXPECT_EQ(SignMagnitude32(Bytes{0xFF, 0xFF, 0xFF, 0xFF}), -2147483647);
  EXPECT_EQ(SignMagnitude32(Bytes{0xFF, 0xFF, 0xFF, 0x7F}), 2147483647);
  EXPECT_EQ(SignMagnitude32(Bytes{0x00, 0x00, 0x00, 0x80}), 0);
}

TEST(Money40, ReadsFortyBitsAsDecimalText) {
  EXPECT_EQ(Money40Text(Bytes{0x00, 0x00, 0x00, 0x00, 0x01}), "4294967296");
  EXPECT_EQ(Money40Text(Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), "1099511627775");
  EXPECT_EQ(Money40Text(Bytes{0x00, 0x00, 0x00, 0x00, 0x00}), "0");
  EXPECT_EQ(Money40(Bytes{0x39, 0x30, 0x00, 0x00, 0x00}), 12345u);
}

TEST(ShortFields, MissingBytesReadAsZero) {
  EXPECT_EQ(SignMagnitude32(Bytes{0x10}), 16);
  EXPECT_EQ(Money40(Bytes{0x01, 0x02}), 0x0201u);
  EXPECT_EQ(Money40(Bytes{0, 0, 0, 0, 1, 0xFF}), 4294967296u);  // a sixth byte is not part of it
  EXPECT_EQ(UIntLE(Bytes{}), 0u);
}

TEST(Bcd, Writing) {
  EXPECT_EQ(BcdByte(7), 0x07);
  EXPECT_EQ(BcdByte(31), 0x31);
  EXPECT_EQ(BcdByte(0), 0x00);
  EXPECT_EQ(BcdByte(99), 0x99);
  EXPECT_EQ(BcdYear("2009"), 0x09);
  EXPECT_EQ(BcdYear("2024"), 0x24);
  EXPECT_EQ(BcdYear("24"), 0x24);
  EXPECT_EQ(BcdYear("7"), 0x07);
  EXPECT_EQ(BcdYear(""), 0x00);
}

TEST(Bcd, ReadingDoesNotCheckNibbles) {
  struct Case {
    Byte b;
    const char* text;
  };
  const Case cases[] = {{0x09, "9"}, {0x31, "31"}, {0x05, "5"}, {0x00, "0"}, {0x1A, "20"}, {0xFF, "165"}};
  for (const Case& c : cases) {
    EXPECT_EQ(BcdText(c.b), c.text) << int{c.b};
    EXPECT_EQ(BcdValue(c.b), std::stoul(c.text)) << int{c.b};
  }
}

// Windows-1251 bytes of a few letters and signs used below.
constexpr const char* kNumeroOneIi =
    "\xB9"
    "1 \xB2\xB3";                           // №1 Іі
constexpr const char* kGhe = "\xA5";        // Ґ
constexpr const char* kYoZhe = "\xA8\xC6";  // ЁЖ
constexpr const char* kYoZheOem = "\xF0\x86";

TEST(TextConversions, AnsiToOemLatinisesUkrainianIAndNumeroSign) {
  EXPECT_EQ(AnsiToOemText(kNumeroOneIi), "N1 Ii");
  EXPECT_EQ(AnsiToOemText(kYoZhe), kYoZheOem);
  EXPECT_EQ(OemToAnsiText(kYoZheOem), kYoZhe);
  // The other way there is nothing to substitute: 866's № comes back as №.
  EXPECT_EQ(OemToAnsiText("\xFC"), "\xB9");
}

TEST(TextConversions, FollowTheCp866Setting) {
  EXPECT_EQ(PrinterTextOut(kGhe, true), kGhe);
  EXPECT_EQ(PrinterTextOut(kGhe, false), "?");
  EXPECT_EQ(PrinterTextOut(kNumeroOneIi, false), "N1 Ii");
  EXPECT_EQ(ClientTextIn(kYoZheOem, true), kYoZhe);
  EXPECT_EQ(ClientTextIn(kYoZheOem, false), kYoZheOem);
  EXPECT_EQ(ClientTextOut(kYoZhe, true), kYoZheOem);
  EXPECT_EQ(ClientTextOut(kNumeroOneIi, true), "N1 Ii");
  EXPECT_EQ(ClientTextOut(kYoZhe, false), kYoZhe);
  for (bool cp866 : {false, true}) {
    EXPECT_EQ(PrinterTextOut("", cp866), "");
    EXPECT_EQ(ClientTextIn("", cp866), "");
    EXPECT_EQ(ClientTextOut("", cp866), "");
  }
}

}  // namespace
}  // namespace zorfp
