// Status and identity as the client reads them: one status request per read, the block decoded
// per class (length bytes, version tag, serial number), the held CurrentStatus of 05-02 and 05-03,
// and blocks too short for their layout.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/status.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"

namespace zorfp {
namespace {

using testing::FromHex;

// A status block as a printer sends it; tests change the fields they are about.
struct Block {
  Byte a = 0;
  Byte b = 0;
  std::string text1 = "  12345678ABCDEFGHI";  // 19: two blanks, eight digits, nine letters
  Bytes fiscalized_at = FromHex("15 03 24 10 30");
  std::string text2 = "FN12345678";
  std::vector<Bytes> headers = {ToBytes("\x03SHP"), ToBytes("\x04ROAD"), Bytes{0x00}, ToBytes("\x02ID")};
  Bytes tag = ToBytes("05-03");

  Bytes Build() const {
    Bytes out{a, b};
    out.insert(out.end(), text1.begin(), text1.end());
    out.insert(out.end(), fiscalized_at.begin(), fiscalized_at.end());
    out.insert(out.end(), text2.begin(), text2.end());
    for (const Bytes& h : headers) out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), tag.begin(), tag.end());
    return out;
  }
};

class StatusTest : public testing::PtyDriverTest {
 protected:
  static std::string Utf8(const AnsiString& s) { return AnsiToUtf8(s); }
};

using Flag = bool (*)(Driver&);

TEST_F(StatusTest, EachFlagReadsItsOwnBitFromAFreshRequest) {
  const struct {
    const char* name;
    Flag member;
    VariantId id;
    bool in_b;
    Byte mask;
  } cases[] = {
      {"GetBoxStatus", GetBoxStatus, VariantId::kEP_02, false, 0x04},
      {"GetCheckType", GetCheckType, VariantId::kEP_02, false, 0x08},
      {"GetSmenaOpened", GetSmenaOpened, VariantId::kEP_02, false, 0x20},
      {"GetCheckOpened", GetCheckOpened, VariantId::kEP_02, false, 0x40},
      {"GetWorkMode", GetWorkMode, VariantId::k05_03, true, 0x10},
      {"GetLastCommandStatus", GetLastCommandStatus, VariantId::kEP_06, true, 0x20},
      {"GetPrintMode", GetPrintMode, VariantId::kEP_05, true, 0x40},
      {"GetBoxStatus (EP-01)", GetBoxStatus, VariantId::kEP_01, false, 0x04},
      {"GetCheckStatus", GetCheckStatus, VariantId::kEP_01, false, 0x08},
      {"GetSmenaStatus", GetSmenaStatus, VariantId::k08_01, false, 0x20},
      {"GetCheckOpenedStatus", GetCheckOpenedStatus, VariantId::k08_01, false, 0x40},
      {"GetFiscalizationStatus", GetFiscalizationStatus, VariantId::kEP_01, true, 0x10},
      {"GetErrorCommandStatus", GetErrorCommandStatus, VariantId::k08_01, true, 0x20},
      {"GetRegistrationRegim", GetRegistrationRegim, VariantId::kEP_01, true, 0x40},
  };
  for (const auto& c : cases) {
    Open(c.id);
    Block only, all_but;
    (c.in_b ? only.b : only.a) = c.mask;
    only.text1 = all_but.text1 = std::string(19, ' ');
    all_but.a = static_cast<Byte>(c.in_b ? 0xFF : ~c.mask);
    all_but.b = static_cast<Byte>(c.in_b ? ~c.mask : 0xFF);
    Answer(only.Build());
    EXPECT_TRUE(c.member(*driver_)) << c.name;
    Answer(all_but.Build());
    EXPECT_FALSE(c.member(*driver_)) << c.name;
  }
  // Every read is one request of the single byte 00.
  const auto frames = SentHex();
  ASSERT_EQ(frames.size(), 28u);
  EXPECT_EQ(frames[0], "10 02 01 00 FF 10 03");
  EXPECT_EQ(frames[27], "10 02 1C 00 E4 10 03");
}

TEST_F(StatusTest, PrinterErrorBytesDoNotStopTheDecode) {
  Open(VariantId::k05_03);
  Block block;
  block.a = 0x40;
  Answer(block.Build(), /*status=*/0x81, /*result=*/39);
  EXPECT_TRUE(GetCheckOpened(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(Text(*driver_), "");
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 00 FF 10 03"});
}

TEST_F(StatusTest, SerialAndFiscalNumbersPerFamily) {
  Block block;
  block.text2 = std::string("FN123\0\0\0\0\0", 10);  // a text ends at its first NUL
  Answer(block.Build());
  for (VariantId id : {VariantId::kEP_02, VariantId::k05_02}) {
    Open(id);
    EXPECT_EQ(GetSerialNumber(*driver_), "12345678");
    EXPECT_EQ(GetFiscalNumber(*driver_), "FN123");
  }
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01}) {
    Open(id);
    EXPECT_EQ(GetSerialNumber(*driver_), "  12345678ABCDEFGHI");
    EXPECT_EQ(GetFiscalNumber(*driver_), "FN123");
  }
}

TEST_F(StatusTest, TextsComeFromCodePage866AndGoOutByTheClientsPage) {
  Open(VariantId::kEP_05);
  Block block;
  block.text2 = "\x8A\x8E\x84 12345 ";  // КОД in code page 866
  Answer(block.Build());
  EXPECT_EQ(Utf8(GetFiscalNumber(*driver_)), "КОД 12345 ");
  PutCP866(*driver_, true);
  EXPECT_EQ(GetFiscalNumber(*driver_), block.text2);
}

TEST_F(StatusTest, HeaderLengthBytePerFamily) {
  // 0x45: five characters in the newer classes (upper bits ignored), 69 in the older ones.
  Block block;
  block.headers = {ToBytes("\x45HELLO"), Bytes{0x00}, Bytes{0x00}, Bytes{0x00}};
  block.tag = {0x85, 0x8F, 0x2D, 0x30, 0x35};
  Answer(block.Build());
  Open(VariantId::kEP_05);
  EXPECT_EQ(Utf8(GetHardwareVersion(*driver_)), "ЕП-05");

  Open(VariantId::kEP_01);
  PutLang(*driver_, 0);
  EXPECT_EQ(GetHardwareVersion(*driver_), "");
  EXPECT_EQ(AnsiToUtf8(FPErrorMessage(*driver_)), "Data format error!");
  EXPECT_EQ(GetByteResult(*driver_), 0) << "the older classes report by text alone";

  block.headers[0] = Bytes{0x45};
  block.headers[0].resize(70, 'x');
  Answer(block.Build());
  EXPECT_EQ(Utf8(GetHardwareVersion(*driver_)), "ЕП-05") << "EP-01 reads its tag as text";
}

TEST_F(StatusTest, VersionTagPerClass) {
  const struct {
    VariantId id;
    Bytes tag;
    const char* expected;
  } cases[] = {
      {VariantId::kEP_02, {0x85, 0x8F, '-', '0', '2'}, "ЕП-02"},
      {VariantId::k05_02, {0x8E, 0x8F, '-', '1', '1'}, "ОП-11"},
      {VariantId::k05_03, ToBytes("05-03"), "05-03"},
      {VariantId::kEP_02, ToBytes("05-03"), ""},
      {VariantId::k05_02, ToBytes("05-03"), ""},
      {VariantId::k05_02, ToBytes("05-02"), "05-02"},
      {VariantId::kEP_05, ToBytes("05-02"), "05-02"},
      {VariantId::kEP_06, {0xC5, 0xCF, '-', '0', '6'}, "ЕП-06"},
      {VariantId::kEP_06, ToBytes("EP-06"), ""},
      {VariantId::k05_03, {0x85, 0x8F, '-', '0', 0x00}, "ЕП-0"},
      {VariantId::kEP_01, ToBytes("AB123"), "AB123"},
  };
  for (const auto& c : cases) {
    Open(c.id);
    Block block;
    block.tag = c.tag;
    Answer(block.Build());
    EXPECT_EQ(Utf8(GetHardwareVersion(*driver_)), c.expected)
        << Traits(c.id).tag << " " << testing::Hex(c.tag);
  }
}

TEST_F(StatusTest, BlockWithoutVersionTagStillServesItsFlags) {
  Block block;
  block.a = 0x20;
  block.tag.clear();  // 08-01 never sends one
  Answer(block.Build());
  Open(VariantId::k08_01);
  EXPECT_TRUE(GetSmenaStatus(*driver_));
  EXPECT_EQ(GetSerialNumber(*driver_), "  12345678ABCDEFGHI");

  block.tag = ToBytes("05-");  // a tag cut short counts as none
  Answer(block.Build());
  Open(VariantId::k05_03);
  EXPECT_TRUE(GetSmenaOpened(*driver_));
  EXPECT_EQ(GetHardwareVersion(*driver_), "");
  EXPECT_EQ(GetByteResult(*driver_), 0);
}

TEST_F(StatusTest, BlockTooShortForItsLayoutIsNeverReadPastItsEnd) {
  const Bytes whole = Block{}.Build();
  Bytes cut_in_header = whole;
  cut_in_header.resize(36 + 4 + 2);  // inside header line 2
  const struct {
    const char* what;
    Bytes data;
    Byte code;
    const char* text;
  } cases[] = {
      {"no data", {}, 102, "Data from fiscal printer didn't receive!"},
      {"flags only", FromHex("60 10"), 103, "Data format error!"},
      {"up to the first length byte", Bytes(whole.begin(), whole.begin() + 36), 103, "Data format error!"},
      {"inside a header line", cut_in_header, 103, "Data format error!"},
  };
  Open(VariantId::kEP_06);
  PutLang(*driver_, 0);
  for (const auto& c : cases) {
    Answer(c.data);
    EXPECT_FALSE(GetSmenaOpened(*driver_)) << c.what;
    EXPECT_EQ(GetByteResult(*driver_), c.code) << c.what;
    EXPECT_EQ(GetByteStatus(*driver_), 0) << c.what;
    EXPECT_EQ(Text(*driver_), c.text) << c.what;
    EXPECT_EQ(GetSerialNumber(*driver_), "") << c.what;
  }
}

TEST_F(StatusTest, NoAnswer) {
  ExpectSilence();
  Open(VariantId::kEP_02);
  EXPECT_FALSE(GetCheckOpened(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 101);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "ЭККР не отвечает!");
}

TEST_F(StatusTest, CurrentStatusIsHeldPerVariant) {
  Open(VariantId::k05_03);
  Block block;
  block.a = 0x02 | 0x04 | 0x20;
  block.b = 0x10 | 0x40;
  Answer(block.Build());
  const CurrentStatus& held = module().values[Index(VariantId::k05_03)].current_status;
  // Nothing held yet: every flag false, every text empty.
  EXPECT_FALSE(held.CashDrawerOpened);
  EXPECT_EQ(SerialNumber(*driver_), "");
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 00 FF 10 03"});

  EXPECT_TRUE(BeginingPayments(*driver_));
  EXPECT_FALSE(RefundReceiptType(*driver_));
  EXPECT_TRUE(DayOpened(*driver_));
  EXPECT_FALSE(ReceiptOpened(*driver_));
  EXPECT_TRUE(FiscalMode(*driver_));
  EXPECT_FALSE(Failure(*driver_));
  EXPECT_TRUE(OnlinePrintMode(*driver_));
  EXPECT_EQ(SerialNumber(*driver_), "12345678");
  EXPECT_EQ(FiscalNumber(*driver_), "FN12345678");
  EXPECT_EQ(FirmwareVersion(*driver_), "05-03");
  EXPECT_EQ(held.HeadLine1, "SHP");
  EXPECT_EQ(held.HeadLine3, "");
  EXPECT_EQ(held.RegCode, "ID");
  // 2024-03-15 10:30.
  EXPECT_DOUBLE_EQ(held.FiscalizationDateTime, 45366.0 + 10.5 / 24);
  EXPECT_EQ(peer_.FrameCount(), 1u) << "the properties never talk to the printer";

  // The drawer reads inverted here and as it stands through GetBoxStatus.
  EXPECT_FALSE(held.CashDrawerOpened);
  EXPECT_TRUE(GetBoxStatus(*driver_));

  // 05-02 keeps a set of its own.
  Open(VariantId::k05_02);
  EXPECT_FALSE(DayOpened(*driver_));
  EXPECT_EQ(FiscalNumber(*driver_), "");
}

TEST_F(StatusTest, FailedCurrentStatusKeepsTheHeldValues) {
  Open(VariantId::k05_02);
  Block block;
  block.a = 0x40;
  Answer(block.Build());
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  Bytes cut = Block{}.Build();
  cut.resize(37);
  Answer(cut);
  EXPECT_FALSE(FPGetCurrentStatus(*driver_));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_TRUE(ReceiptOpened(*driver_));
  EXPECT_EQ(FiscalNumber(*driver_), "FN12345678");
}

TEST_F(StatusTest, FiscalizationMomentOfAPrinterNotFiscalized) {
  Open(VariantId::k05_03);
  Block block;
  block.fiscalized_at = FromHex("99 99 99 99 99");  // ignored while bit 4 of byte B is clear
  Answer(block.Build());
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_DOUBLE_EQ(module().values[Index(VariantId::k05_03)].current_status.FiscalizationDateTime, 37622.0);
  block.b = 0x10;
  block.fiscalized_at = FromHex("31 02 24 00 00");  // no 31 February
  Answer(block.Build());
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_EQ(module().values[Index(VariantId::k05_03)].current_status.FiscalizationDateTime, 0.0);
}

}  // namespace
}  // namespace zorfp
