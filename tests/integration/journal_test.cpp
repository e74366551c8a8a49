// The printer's memory read by address: the dump as decimal text, a read of zero bytes, and an
// answer shorter than asked.
#include <gtest/gtest.h>

#include "commands/journal.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"

namespace zorfp {
namespace {

using testing::FromHex;

class JournalTest : public testing::PtyDriverTest {};

TEST_F(JournalTest, MemoryDumpAsDecimalText) {
  Open(VariantId::kEP_02);
  Answer(FromHex("05 00"));
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "5;0;");
  Answer(FromHex("0C 00 FF 77"));  // more than asked: the rest is not read
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x1010, 0x10, 3), "12;0;255;");
  EXPECT_EQ(SentHex(), (std::vector<std::string>{"10 02 01 1C 37 00 10 10 02 9A 10 03",
                                                 "10 02 02 1C 10 10 10 10 10 10 03 AF 10 03"}));
}

TEST_F(JournalTest, MemoryReadOfZeroBytesIsSentAndThenRefused) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 2);
  Answer({});
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 0), "");
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 1C 37 00 10 10 00 9C 10 03"});
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(Text(*driver_), "Довжина блоку даних не може дорівнювати нулю!!");
}

TEST_F(JournalTest, MemoryAnswerShorterThanAskedIsNotReadPastItsEnd) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  Answer(FromHex("05"));
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "");
  EXPECT_EQ(GetByteResult(*driver_), 103);
  Answer({}, /*status=*/0x80, /*result=*/16);
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "");
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_EQ(Text(*driver_), "Data from fiscal printer didn't receive!");
}

}  // namespace
}  // namespace zorfp
