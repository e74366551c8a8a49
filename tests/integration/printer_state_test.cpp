// The one-byte printer state (paper, connection), the cutter byte and raw memory reads, with
// answers of the wrong length.
#include <gtest/gtest.h>

#include "commands/journal.h"
#include "commands/status.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using testing::FromHex;

class PrinterStateTest : public testing::PtyDriverTest {};

TEST_F(PrinterStateTest, EachMemberReadsItsBit) {
  const struct {
    const char* name;
    Byte mask;
  } cases[] = {
      {"GetPrnErrorConnection", 0x01},
      {"GetReceiptLow", 0x08},
      {"GetReceiptEmpty", 0x40},
  };
  Open(VariantId::kEP_05);
  for (const auto& c : cases) {
    Answer({c.mask});
    EXPECT_TRUE(Call<bool>(*driver_, c.name)) << c.name;
    Answer({static_cast<Byte>(~c.mask)});
    EXPECT_FALSE(Call<bool>(*driver_, c.name)) << c.name;
  }
  EXPECT_EQ(SentHex().front(), "10 02 01 30 CF 10 03");
  EXPECT_EQ(SentHex().back(), "10 02 06 30 CA 10 03");
}

TEST_F(PrinterStateTest, PrinterErrorBytesAreNotJudged) {
  Open(VariantId::k05_02);
  Answer({0x40}, /*status=*/0x02, /*result=*/1);
  EXPECT_TRUE(Call<bool>(*driver_, "GetReceiptEmpty"));
  EXPECT_EQ(GetByteResult(*driver_), 0);
}

TEST_F(PrinterStateTest, AnswerOfAnyLengthButOneIsAFormatError) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  for (const Bytes& data : {Bytes{}, FromHex("40 40")}) {
    Answer(data);
    EXPECT_FALSE(Call<bool>(*driver_, "GetReceiptEmpty")) << data.size();
    EXPECT_EQ(GetByteResult(*driver_), 103);
    EXPECT_EQ(GetByteStatus(*driver_), 255);
    EXPECT_EQ(Text(*driver_), "Data format error!");
  }
}

TEST_F(PrinterStateTest, MemoryDumpAsDecimalText) {
  Open(VariantId::kEP_02);
  Answer(FromHex("05 00"));
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 2), "5;0;");
  Answer(FromHex("0C 00 FF 77"));  // more than asked: the rest is not read
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x1010, 0x10, 3), "12;0;255;");
  EXPECT_EQ(SentHex(), (std::vector<std::string>{"10 02 01 1C 37 00 10 10 02 9A 10 03",
                                                 "10 02 02 1C 10 10 10 10 10 10 03 AF 10 03"}));
}

TEST_F(PrinterStateTest, MemoryReadOfZeroBytesIsSentAndThenRefused) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 2);
  Answer({});
  EXPECT_EQ(FPGetMemoryData(*driver_, 0x0037, 0x10, 0), "");
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 1C 37 00 10 10 00 9C 10 03"});
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(Text(*driver_), "Довжина блоку даних не може дорівнювати нулю!!");
}

TEST_F(PrinterStateTest, MemoryAnswerShorterThanAskedIsNotReadPastItsEnd) {
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

TEST_F(PrinterStateTest, CutterEnabledWhileBit3IsClear) {
  const struct {
    Byte memory;
    bool enabled;
  } cases[] = {{0x08, false}, {0x00, true}, {0x07, true}, {0xFF, false}, {0xF7, true}};
  Open(VariantId::kEP_06);
  for (const auto& c : cases) {
    Answer({c.memory});
    EXPECT_EQ(GetCutterStatus(*driver_), c.enabled) << int{c.memory};
  }
  EXPECT_EQ(SentHex().front(), "10 02 01 1C 1A 30 10 10 01 88 10 03");
}

TEST_F(PrinterStateTest, CutterStateThatCannotBeRead) {
  Open(VariantId::kEP_02);
  PutLang(*driver_, 0);
  Answer({});
  EXPECT_FALSE(GetCutterStatus(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_EQ(Text(*driver_), "The state of cutter wasn't  defined!");
}

TEST_F(PrinterStateTest, CutterWithoutAnswer) {
  ExpectSilence();
  Open(VariantId::k05_02);
  EXPECT_FALSE(GetCutterStatus(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 101);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Не удалось определить состояние автообрезчика!");
}

}  // namespace
}  // namespace zorfp
