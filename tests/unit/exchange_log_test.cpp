#include "link/exchange_log.h"

#include <gtest/gtest.h>

#include "support/pty_peer.h"

namespace zorfp {
namespace {

using testing::FromHex;

const LocaleFormats kDots{"dd.MM.yy", ".", ":", "HH:mm:ss"};
const DateTime kMorning = *DateTime::From(2026, 12, 8, 3, 46, 35, 123);

TEST(LogRecord, SendAndReceiveLinesAsWritten) {
  const std::string stamp = LogStamp(kMorning, kDots);
  EXPECT_EQ(stamp, "08.12.26 03:46:35.123 ");
  EXPECT_EQ(FormatLogRecord(LogKind::kSend, stamp, "EP-02", FromHex("10 02 01 0E F1 10 03")),
            "\r\n08.12.26 03:46:35.123  [EP-02] Snd ---> (func ID = 14) Data:  0x10 0x02 0x01 0x0E 0xF1 0x10 0x03\r\n");
  EXPECT_EQ(FormatLogRecord(LogKind::kReceive, stamp, "EP-02", FromHex("06 10 02 01 0E 00 00 00 F1 10 03")),
            "08.12.26 03:46:35.123  [EP-02] Rcv <--- (receive data) Data:  0x06 0x10 0x02 0x01 0x0E 0x00 0x00 "
            "0x00 0xF1 0x10 0x03\r\n");
}

TEST(LogRecord, OtherKinds) {
  const std::string stamp = LogStamp(kMorning, kDots);
  EXPECT_EQ(FormatLogRecord(LogKind::kReceive, stamp, "05-03", {}),
            "08.12.26 03:46:35.123  [05-03] Rcv <--- (receive data) Data: \r\n");
  EXPECT_EQ(FormatLogRecord(LogKind::kWait, stamp, "05-03", ToBytes("300 ms")),
            "08.12.26 03:46:35.123  [05-03] WAITING 300 ms\r\n");
  EXPECT_EQ(FormatLogRecord(LogKind::kClose, stamp, "08-01", {}),
            "08.12.26 03:46:35.123  [08-01] PORT CLOSED\r\n");
  EXPECT_EQ(FormatLogRecord(LogKind::kOpen, stamp, "EP-01", ToBytes("line 1\r\nline 2")),
            "\r\n08.12.26 03:46:35.123  [EP-01] OPEN PORT:\r\nline 1\r\nline 2\r\n");
}

TEST(LogRecord, FuncIdIsTheFourthFrameByte) {
  const std::string stamp = LogStamp(kMorning, kDots);
  // A stuffed sequence number shifts the command code out of the fourth byte.
  EXPECT_NE(FormatLogRecord(LogKind::kSend, stamp, "EP-02", FromHex("10 02 10 10 26 01 C9 10 03"))
                .find("(func ID = 16)"),
            std::string::npos);
}

TEST(LogRecord, LongFrameIsDumpedWhole) {
  Bytes frame(300, 0xAB);
  const std::string line = FormatLogRecord(LogKind::kSend, LogStamp(kMorning, kDots), "EP-02", frame);
  std::size_t items = 0;
  for (std::size_t at = line.find(" 0xAB"); at != std::string::npos; at = line.find(" 0xAB", at + 1)) ++items;
  EXPECT_EQ(items, 300u);
}

TEST(LogStamp, UsesTheLocaleSeparatorsAndPadsTo22) {
  const LocaleFormats odd{"yyyy-MM-dd", "-", ".", "HH.mm.ss"};
  EXPECT_EQ(LogStamp(*DateTime::From(2009, 1, 2, 13, 4, 5, 6), odd), "02-01-09 13.04.05.006 ");
}

TEST(LogFileName, FollowsTheShortDateFormat) {
  EXPECT_EQ(LogFileName(kMorning, LocaleFormats{"dd.MM.yyyy", ".", ":", "HH:mm:ss"}), "ZORFP(08.12.2026).log");
  EXPECT_EQ(LogFileName(kMorning, LocaleFormats{"yyyy-MM-dd", "-", ":", "HH:mm:ss"}), "ZORFP(2026-12-08).log");
}

TEST(LogFileName, CharactersAFileNameCannotHoldAreReplaced) {
  EXPECT_EQ(LogFileName(kMorning, LocaleFormats{"M/d/yyyy", "/", ":", "h:mm:ss tt"}), "ZORFP(12-8-2026).log");
  EXPECT_EQ(LogFileName(kMorning, LocaleFormats{"dd\\MM:yy", ".", ":", "HH:mm:ss"}), "ZORFP(08-12-26).log");
}

}  // namespace
}  // namespace zorfp
