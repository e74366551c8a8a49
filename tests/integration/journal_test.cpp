// The printer's memory read by address: the dump as decimal text, a read of zero bytes, and an
// answer of another length than asked.
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
  Answer(FromHex("0C 00 FF"));
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

// An answer of another length is spoiled: asked for again (the same frame), and a layout error
// only when every attempt brought one. A refusal without data is the printer's real answer.
TEST_F(JournalTest, MemoryAnswerOfAnotherLengthIsAskedForAgainThenALayoutError) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  for (const char* spoiled : {"05", "05 00 07"}) {
    Answer(FromHex(spoiled));
    EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "") << spoiled;
    EXPECT_EQ(GetByteResult(*driver_), 103) << spoiled;
  }
  peer_.SetScript([](const Bytes& f, std::size_t i) {
    const Bytes data = i == 6 ? FromHex("05 00 07") : FromHex("05 00");
    return std::vector<testing::Reply>{{testing::AnswerFrame(testing::FrameSeqOf(f), testing::FrameCodeOf(f), 0, 0, 0, data)}};
  });
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "5;0;");
  const auto sent = SentHex();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[6], sent[7]);
  Answer({}, /*status=*/0x80, /*result=*/16);
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "");
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_EQ(Text(*driver_), "Data from fiscal printer didn't receive!");
  EXPECT_EQ(peer_.FrameCount(), 9u);
}

}  // namespace
}  // namespace zorfp
