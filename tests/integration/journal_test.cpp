// The printer's memory read by address (the dump as decimal text, a read of zero bytes, an answer
// of another length than asked), the fiscal-memory day record, the electronic journal's state, the
// capacity and the control-tape flags.
#include <gtest/gtest.h>

#include "commands/journal.h"
#include "errors/codepage.h"
#include "dates/date_time.h"
#include "errors/encodings.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::FromHex;

double Ole(int y, int m, int d) {
  return *ToOleDate(*DateTime::From(y, m, d));
}

// A day record: 2 bytes unused, the date, 7 sale and 1 refund receipts, every turnover its own.
Bytes DayRecord(const Bytes& date) {
  Bytes out = {0xAA, 0xBB};
  out.insert(out.end(), date.begin(), date.end());
  out.insert(out.end(), {0x07, 0x00, 0x01, 0x00});
  for (int i = 0; i < 12; ++i) PutUIntLE(out, 100 + static_cast<std::uint64_t>(i), 5);
  return out;
}

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

TEST_F(JournalTest, FiscalDayRecordIsKept) {
  Open(VariantId::k05_02);
  PutLang(*driver_, 0);
  Bytes record = DayRecord(FromHex("05 03 21"));
  record[9 + 4] = 0x01;  // sale turnover A: 2^32 + 100
  Answer(record);
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetFMDay", std::uint16_t{5}));
  EXPECT_EQ(Call<double>(*driver_, "GetRepDate"), Ole(2021, 3, 5));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetRepDateEx"), "05.03.21");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepSaleReceipts"), 7);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepRefundReceipts"), 1);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepTurnSaleOnTax_A"), 100) << "the low 32 bits of 2^32 + 100";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepTurnSaleOnTax_F"), 105);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepTurnRefundOnTax_A"), 106);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepTurnRefundOnTax_F"), 111);
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 36 05 00 C4 10 03"});

  Answer(DayRecord(FromHex("00 00 00")));  // never written: the date of no report yet
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetFMDay", std::uint16_t{1}));
  EXPECT_EQ(Call<double>(*driver_, "GetRepDate"), Ole(2003, 1, 1));

  Answer(Bytes(68, 0));
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetFMDay", std::uint16_t{1}));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Call<double>(*driver_, "GetRepDate"), 0.0) << "the held date is cleared first";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRepSaleReceipts"), 7) << "the rest stays";
  Answer({}, 0, 22);
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetFMDay", std::uint16_t{9}));
  EXPECT_EQ(GetByteResult(*driver_), 22);
}

TEST_F(JournalTest, JournalStateOf0503) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  Answer({});
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetKLEFFreeBytes"), 2147483647) << "no journal state read yet";
  EXPECT_EQ(peer_.FrameCount(), 0u) << "the properties return what the update kept";
  const Bytes state = FromHex("01 00 00 00 40 00 00 00 00 10 00 00");
  const struct {
    const char* name;
    Bytes data;
    Byte status, result;
    bool res;
    std::int32_t last;
    Byte code;
  } cases[] = {
      {"whole", state, 0, 0, true, 0x40, 0},
      {"72-hour warning reported, not a failure", FromHex("01 00 00 00 41 00 00 00 00 10 00 00"), 0x02, 0, true,
       0x41, 0},
      {"refused", state, 0, 16, false, 0x41, 16},
      {"cut short", FromHex("01 00 00 00 42 00 00 00"), 0, 0, false, 0x41, 103},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Answer(c.data, c.status, c.result);
    EXPECT_EQ(Call<bool>(*driver_, "FPUpdateStatusKLEF"), c.res);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetKLEFLastPID"), c.last);
    if (c.code != 0) {
      EXPECT_EQ(GetByteResult(*driver_), c.code);
    }
    if (c.status != 0) {
      EXPECT_EQ(GetByteStatus(*driver_), c.status) << "the warning stays readable";
    }
  }
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetKLEFFirstPID"), 1);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetKLEFFreeBytes"), 0x1000);
  EXPECT_EQ(SentHex().front(), "10 02 01 42 BD 10 03");
}

TEST_F(JournalTest, JournalOfEp06AsksEveryTime) {
  Open(VariantId::kEP_06);
  const struct {
    const char* name;
    Bytes answer;
    std::int32_t value;
  } cases[] = {
      {"GetKLEFFirstPID", FromHex("02 00 00 00 09 00 00 00 34 12"), 2},
      {"GetKLEFLastPID", FromHex("02 00 00 00 09 00 00 00 34 12"), 9},
      {"GetKLEFFreeBytes", FromHex("02 00 00 00 09 00 00 00 34 12"), 0x1234},
      {"GetKLEFFreeBytes", FromHex("00 00 00 00 00 00 00 00 00 00"), 65535},
      {"GetKLEFBeginAdr", FromHex("00 04"), 0x0400},
      {"GetKLEFEndAdr", FromHex("10 05"), 0x0510},
      {"GetKLEFDirectLastPID", FromHex("01 02 03 04"), 0x04030201},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Answer(c.answer);
    EXPECT_EQ(Call<std::int32_t>(*driver_, c.name), c.value);
  }
  Answer({}, 0, 16);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetKLEFLastPID"), 0);
  Answer(FromHex("01"));
  EXPECT_TRUE(Call<bool>(*driver_, "GetKLEFPersonalization"));
  Answer(FromHex("05 03 21 14 07"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetKLEFBlockingDateTime"), "05.03.21 14:07:00");
  Answer(FromHex("00 00 00 00 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetKLEFBlockingDateTime"), "01.01.03");
  const std::vector<std::string> sent = SentHex();
  EXPECT_EQ(sent.front(), "10 02 01 33 CC 10 03");
  EXPECT_EQ(sent[4], "10 02 05 1C 39 00 10 10 02 94 10 03");
  EXPECT_EQ(sent.back(), "10 02 0B 1C 44 00 10 10 05 80 10 03");
}

TEST_F(JournalTest, CapacityAndControlTape) {
  Open(VariantId::k05_03);
  Answer(FromHex("10 27 00 00 FF FF 00 00 05 00 00 00"));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMaxItemsCount"), 10000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMaxRecordsCount"), 65535);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRecordsUsed"), 5);
  Answer({}, 0, 16);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetRecordsUsed"), -1);
  Open(VariantId::kEP_05);
  Answer(FromHex("24"));
  EXPECT_TRUE(Call<bool>(*driver_, "GetJournalLow"));
  EXPECT_TRUE(Call<bool>(*driver_, "GetJournalEmpty"));
  Answer(FromHex("48"));
  EXPECT_FALSE(Call<bool>(*driver_, "GetJournalLow"));
  EXPECT_FALSE(Call<bool>(*driver_, "GetJournalEmpty"));
}

}  // namespace
}  // namespace zorfp
