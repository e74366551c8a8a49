// Status and identity as the client reads them: one status request per read, the block decoded
// per class (length bytes, version tag, serial number), the held CurrentStatus of 05-02 and 05-03,
// blocks too short for their layout; the one-byte printer state and the cutter byte.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/status.h"
#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

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

TEST_F(StatusTest, EachFlagReadsItsOwnBitFromAFreshRequest) {
  const struct {
    const char* name;
    VariantId id;
    bool in_b;
    Byte mask;
  } cases[] = {
      {"GetBoxStatus", VariantId::kEP_02, false, 0x04},
      {"GetCheckType", VariantId::kEP_02, false, 0x08},
      {"GetSmenaOpened", VariantId::kEP_02, false, 0x20},
      {"GetCheckOpened", VariantId::kEP_02, false, 0x40},
      {"GetWorkMode", VariantId::k05_03, true, 0x10},
      {"GetLastCommandStatus", VariantId::kEP_06, true, 0x20},
      {"GetPrintMode", VariantId::kEP_05, true, 0x40},
      {"GetBoxStatus", VariantId::kEP_01, false, 0x04},
      {"GetCheckStatus", VariantId::kEP_01, false, 0x08},
      {"GetSmenaStatus", VariantId::k08_01, false, 0x20},
      {"GetCheckOpenedStatus", VariantId::k08_01, false, 0x40},
      {"GetFiscalizationStatus", VariantId::kEP_01, true, 0x10},
      {"GetErrorCommandStatus", VariantId::k08_01, true, 0x20},
      {"GetRegistrationRegim", VariantId::kEP_01, true, 0x40},
  };
  for (const auto& c : cases) {
    Open(c.id);
    Block only, all_but;
    (c.in_b ? only.b : only.a) = c.mask;
    only.text1 = all_but.text1 = std::string(19, ' ');
    all_but.a = static_cast<Byte>(c.in_b ? 0xFF : ~c.mask);
    all_but.b = static_cast<Byte>(c.in_b ? ~c.mask : 0xFF);
    Answer(only.Build());
    EXPECT_TRUE(Call<bool>(*driver_, c.name)) << c.name << " " << Traits(c.id).tag;
    Answer(all_but.Build());
    EXPECT_FALSE(Call<bool>(*driver_, c.name)) << c.name << " " << Traits(c.id).tag;
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
  EXPECT_TRUE(Call<bool>(*driver_, "GetCheckOpened"));
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
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetSerialNumber"), "12345678");
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetFiscalNumber"), "FN123");
  }
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01}) {
    Open(id);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetSerialNumber"), "  12345678ABCDEFGHI");
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetFiscalNumber"), "FN123");
  }
}

TEST_F(StatusTest, TextsComeFromCodePage866AndGoOutByTheClientsPage) {
  Open(VariantId::kEP_05);
  Block block;
  block.text2 = "\x8A\x8E\x84 12345 ";  // КОД in code page 866
  Answer(block.Build());
  EXPECT_EQ(Utf8(Call<AnsiString>(*driver_, "GetFiscalNumber")), "КОД 12345 ");
  PutCP866(*driver_, true);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetFiscalNumber"), block.text2);
}

TEST_F(StatusTest, HeaderLengthBytePerFamily) {
  // 0x45: five characters in the newer classes (upper bits ignored), 69 in the older ones.
  Block block;
  block.headers = {ToBytes("\x45HELLO"), Bytes{0x00}, Bytes{0x00}, Bytes{0x00}};
  block.tag = {0x85, 0x8F, 0x2D, 0x30, 0x35};
  Answer(block.Build());
  Open(VariantId::kEP_05);
  EXPECT_EQ(Utf8(Call<AnsiString>(*driver_, "GetHardwareVersion")), "ЕП-05");

  Open(VariantId::kEP_01);
  PutLang(*driver_, 0);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetHardwareVersion"), "");
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(*driver_)), "Data format error!");
  EXPECT_EQ(GetByteResult(*driver_), 0) << "the older classes report by text alone";

  block.headers[0] = Bytes{0x45};
  block.headers[0].resize(70, 'x');
  Answer(block.Build());
  EXPECT_EQ(Utf8(Call<AnsiString>(*driver_, "GetHardwareVersion")), "ЕП-05") << "EP-01 reads its tag as text";
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
    EXPECT_EQ(Utf8(Call<AnsiString>(*driver_, "GetHardwareVersion")), c.expected)
        << Traits(c.id).tag << " " << testing::Hex(c.tag);
  }
}

TEST_F(StatusTest, BlockWithoutVersionTagStillServesItsFlags) {
  Block block;
  block.a = 0x20;
  block.tag.clear();  // 08-01 never sends one
  Answer(block.Build());
  Open(VariantId::k08_01);
  EXPECT_TRUE(Call<bool>(*driver_, "GetSmenaStatus"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetSerialNumber"), "  12345678ABCDEFGHI");

  block.tag = ToBytes("05-");  // a tag cut short counts as none
  Answer(block.Build());
  Open(VariantId::k05_03);
  EXPECT_TRUE(Call<bool>(*driver_, "GetSmenaOpened"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetHardwareVersion"), "");
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
    EXPECT_FALSE(Call<bool>(*driver_, "GetSmenaOpened")) << c.what;
    EXPECT_EQ(GetByteResult(*driver_), c.code) << c.what;
    EXPECT_EQ(GetByteStatus(*driver_), 0) << c.what;
    EXPECT_EQ(Text(*driver_), c.text) << c.what;
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetSerialNumber"), "") << c.what;
  }
}

TEST_F(StatusTest, NoAnswer) {
  ExpectSilence();
  Open(VariantId::kEP_02);
  EXPECT_FALSE(Call<bool>(*driver_, "GetCheckOpened"));
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
  const StatusBlock& held = module().values[Index(VariantId::k05_03)].status.current;
  // Nothing held yet: every flag false, every text empty.
  EXPECT_FALSE(held.CashDrawerOpened);
  EXPECT_EQ(Call<AnsiString>(*driver_, "SerialNumber"), "");
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 00 FF 10 03"});

  EXPECT_TRUE(Call<bool>(*driver_, "BeginingPayments"));
  EXPECT_FALSE(Call<bool>(*driver_, "RefundReceiptType"));
  EXPECT_TRUE(Call<bool>(*driver_, "DayOpened"));
  EXPECT_FALSE(Call<bool>(*driver_, "ReceiptOpened"));
  EXPECT_TRUE(Call<bool>(*driver_, "FiscalMode"));
  EXPECT_FALSE(Call<bool>(*driver_, "Failure"));
  EXPECT_TRUE(Call<bool>(*driver_, "OnlinePrintMode"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "SerialNumber"), "12345678");
  EXPECT_EQ(Call<AnsiString>(*driver_, "FiscalNumber"), "FN12345678");
  EXPECT_EQ(Call<AnsiString>(*driver_, "FirmwareVersion"), "05-03");
  EXPECT_EQ(held.HeadLine1, "SHP");
  EXPECT_EQ(held.HeadLine3, "");
  EXPECT_EQ(held.RegCode, "ID");
  // 2024-03-15 10:30.
  EXPECT_DOUBLE_EQ(held.FiscalizationDateTime, 45366.0 + 10.5 / 24);
  EXPECT_EQ(peer_.FrameCount(), 1u) << "the properties never talk to the printer";

  // The drawer reads inverted here and as it stands through GetBoxStatus.
  EXPECT_FALSE(held.CashDrawerOpened);
  EXPECT_TRUE(Call<bool>(*driver_, "GetBoxStatus"));

  // 05-02 keeps a set of its own.
  Open(VariantId::k05_02);
  EXPECT_FALSE(Call<bool>(*driver_, "DayOpened"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "FiscalNumber"), "");
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
  EXPECT_TRUE(Call<bool>(*driver_, "ReceiptOpened"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "FiscalNumber"), "FN12345678");
}

TEST_F(StatusTest, FiscalizationMomentOfAPrinterNotFiscalized) {
  Open(VariantId::k05_03);
  Block block;
  block.fiscalized_at = FromHex("99 99 99 99 99");  // ignored while bit 4 of byte B is clear
  Answer(block.Build());
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_DOUBLE_EQ(module().values[Index(VariantId::k05_03)].status.current.FiscalizationDateTime, 37622.0);
  block.b = 0x10;
  block.fiscalized_at = FromHex("31 02 24 00 00");  // no 31 February
  Answer(block.Build());
  ASSERT_TRUE(FPGetCurrentStatus(*driver_));
  EXPECT_EQ(module().values[Index(VariantId::k05_03)].status.current.FiscalizationDateTime, 0.0);
}

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
