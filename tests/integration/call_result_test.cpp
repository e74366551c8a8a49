// Call results, settings shared across objects and classes, and the line-speed change, as a
// client sees them after each call.
#include <gtest/gtest.h>

#include "errors/codepage.h"
#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using testing::Reply;

class CallResultTest : public testing::PtyDriverTest {};

TEST_F(CallResultTest, SuccessLeavesNothingToReport) {
  Open(VariantId::k05_03);
  Answer({});
  module().last_call.ErrorText = "old";
  EXPECT_TRUE(FPChangeBaudRate(*driver_, 1, true));
  EXPECT_EQ(SentHex(), std::vector<std::string>{"10 02 01 26 21 B8 10 03"});
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(GetTextErrorMessage(*driver_), "");
}

TEST_F(CallResultTest, BaudRateCommandPerClass) {
  const struct {
    VariantId id;
    bool usb;
    const char* frame;
  } cases[] = {
      {VariantId::kEP_02, false, "10 02 01 26 02 D7 10 03"},
      {VariantId::kEP_05, false, "10 02 02 26 02 D6 10 03"},
      {VariantId::kEP_06, false, "10 02 03 26 02 D5 10 03"},
      {VariantId::k05_02, true, "10 02 04 26 22 B4 10 03"},
      {VariantId::k05_03, false, "10 02 05 26 02 D3 10 03"},
  };
  Answer({});
  for (const auto& c : cases) {
    Driver d(Traits(c.id));
    ASSERT_TRUE(FPInitEx(d, peer_.path(), 9600, 1, 1));
    EXPECT_TRUE(FPChangeBaudRate(d, 2, c.usb));
    EXPECT_EQ(SentHex().back(), c.frame);
  }
}

TEST_F(CallResultTest, BadSpeedIndexSendsNothing) {
  Open(VariantId::kEP_02);
  PutLang(*driver_, 0);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 3));
  EXPECT_EQ(GetByteResult(*driver_), 111);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Incorrect baud rate!");
  PutLang(*driver_, 2);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 200));
  EXPECT_EQ(Text(*driver_), "Невірно задана швидкість зв'язку!");
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(CallResultTest, NoAnswer) {
  ExpectSilence();
  Open(VariantId::kEP_02);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 0));
  EXPECT_EQ(GetByteResult(*driver_), 101);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "ЭККР не отвечает!");
}

TEST_F(CallResultTest, OlderClassReportsNoAnswerByTextAlone) {
  ExpectSilence();
  Open(VariantId::kEP_01);
  PutLang(*driver_, 0);
  Call(*driver_, "FPChangeRate", 1);
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(*driver_)), "Fiscal printer does not answer!");
  EXPECT_EQ(SentHex().front(), "10 02 01 26 01 D8 10 03");

  const std::size_t sent = peer_.FrameCount();
  Call(*driver_, "FPChangeRate", 3);
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(*driver_)), "Incorrect baud rate!");
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(peer_.FrameCount(), sent);
}

TEST_F(CallResultTest, PrinterRefusalComesBackAsCodeAndText) {
  Open(VariantId::kEP_02);
  PutLang(*driver_, 0);
  Answer({}, 0x00, 21);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 1));
  EXPECT_EQ(GetByteResult(*driver_), 21);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(Text(*driver_), "Incorrect password");

  Answer({}, 0x80, 0, 0x02);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 1));
  EXPECT_EQ(GetByteStatus(*driver_), 0x80);
  EXPECT_EQ(GetByteReserv(*driver_), 0x02);
  EXPECT_EQ(Text(*driver_), "<THE COMMAND UNSUCCESSFUL>\r\n");
}

TEST_F(CallResultTest, LanguageIsPerClassAndTheEvaluationResolvesOne) {
  Open(VariantId::k05_03);
  Driver ep02(Traits(VariantId::kEP_02));
  Driver other_ep02(Traits(VariantId::kEP_02));
  PutLang(ep02, 0);
  EXPECT_EQ(Lang(other_ep02), 0);
  EXPECT_EQ(Lang(*driver_), 1);

  // Texts the 05-03 class picks itself stay Russian...
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 9, false));
  EXPECT_EQ(Text(*driver_), "Неверно задана скорость связи!");
  // ...while the printer's refusals follow the one language resolved from all classes.
  Answer({}, 0, 22);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 1, false));
  EXPECT_EQ(Text(*driver_), "Password or line number does not exist");
  PutLang(*driver_, 2);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 1, false));
  EXPECT_EQ(Text(*driver_), "Неіснуючий номер (пароля, рядка)");
}

TEST_F(CallResultTest, LanguageOutsideTheThreeLeavesTheTextAlone) {
  Open(VariantId::kEP_02);
  PutLang(*driver_, 7);
  module().last_call.ErrorText = "kept";
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 5));
  EXPECT_EQ(GetByteResult(*driver_), 111);
  EXPECT_EQ(GetTextErrorMessage(*driver_), "kept");
}

TEST_F(CallResultTest, SettingsAreSharedByEveryClass) {
  Open(VariantId::k05_03);
  Driver ep02(Traits(VariantId::kEP_02));
  PutRepeatCount(ep02, 0);
  PutAnswerWaiting(ep02, 3);
  PutCP866(ep02, true);
  PutLogRecord(ep02, true);
  EXPECT_EQ(RepeatCount(*driver_), 0);
  EXPECT_EQ(AnswerWaiting(*driver_), 3);
  EXPECT_TRUE(CP866(*driver_));
  EXPECT_TRUE(LogRecord(*driver_));

  // RepeatCount 0 through another class's object: one attempt for a NAK.
  PutAnswerWaiting(ep02, 1);  // the NAK is never followed by a frame: keep the wait short
  PutLogRecord(ep02, false);
  peer_.SetScript([](const Bytes&, std::size_t) { return std::vector<Reply>{{{0x15}}}; });
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 1, false));
  EXPECT_EQ(peer_.FrameCount(), 1u);
}

TEST_F(CallResultTest, ErrorTextInCodePage866) {
  Open(VariantId::kEP_02);
  EXPECT_FALSE(FPChangeBaudRate(*driver_, 4));
  PutCP866(*driver_, true);
  // "Неверно..." in code page 866 bytes, read back as Windows-1251 characters.
  const AnsiString text = GetTextErrorMessage(*driver_);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 0x8D);  // Н in 866
  EXPECT_EQ(OemToAnsi(text), module().last_call.ErrorText);
}

}  // namespace
}  // namespace zorfp
