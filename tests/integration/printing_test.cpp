// Non-fiscal printing: the bytes each class sends for text lines, text lists, barcodes, the display
// and the device actions; the checks that send nothing; the receipt-only switch following the
// printer; the display and drawer flags; and, at the end, the same members on the simulator.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "errors/codepage.h"
#include "sim/cp866.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::AnswerFrame;
using testing::Call;
using testing::FrameCodeOf;
using testing::FrameSeqOf;
using testing::Hex;
using testing::Reply;

// A status block: the two flag bytes, blank texts, no header lines, no version tag.
Bytes StatusBlock(Byte a, Byte b) {
  Bytes s = {a, b};
  s.insert(s.end(), 19, ' ');
  s.insert(s.end(), 5, 0);
  s.insert(s.end(), 10, ' ');
  s.insert(s.end(), 4, 0);
  return s;
}

class PrintingTest : public testing::PtyDriverTest {
 protected:
  // The commands the driver sent, without frame, sequence number and checksum.
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) {
      Bytes body;
      for (std::size_t i = 2; i + 2 < f.size(); ++i) {
        body.push_back(f[i]);
        if (f[i] == 0x10) ++i;  // a doubled DLE
      }
      out.push_back(Hex(Bytes(body.begin() + 1, body.end() - 1)));
    }
    return out;
  }
};

TEST_F(PrintingTest, CommandsOnTheWire) {
  const struct {
    VariantId id;
    std::function<void(Driver&)> call;
    std::vector<std::string> sent;
  } cases[] = {
      {VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetString", true, "AB", false, false); },
       {"17 01 02 41 42"}},
      {VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetString", false, "AB", true, true); },
       {"17 00 C2 41 42"}},
      {VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPSetString", false, std::string(36, 'A').c_str(), false, false); },
       {"17 00 24 " + Hex(Bytes(36, 'A'))}},
      {VariantId::kEP_01, [](Driver& d) { Call(d, "FPSetString", true, "AB"); }, {"17 01 02 41 42"}},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPSendCustomer", Byte{1}, "A"); }, {"1B 00 01 41"}},
      {VariantId::k05_02, [](Driver& d) { Call<bool>(d, "FPSendCustomer", Byte{0}, "A"); }, {"1B 00 01 41"}},
      {VariantId::k05_02, [](Driver& d) { Call<bool>(d, "FPSendCustomer", Byte{4}, "A"); }, {"1B 03 01 41"}},
      {VariantId::kEP_02, [](Driver& d) { Call<bool>(d, "FPSendCustomer", true, "A"); }, {"1B 01 01 41"}},
      {VariantId::k08_01, [](Driver& d) { Call(d, "FPSendCustomer", false, "A"); }, {"1B 00 01 41"}},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPPrintCODE128C", "\x0C\x63"); }, {"2F 02 0C 63"}},
      {VariantId::kEP_05, [](Driver& d) { Call<bool>(d, "FPPrintCODE128", "A1"); }, {"2F 02 41 31"}},
      {VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPTransPrintNew", "A\r\nB", true, Byte{2}); },
       {"28 81 41", "28 81 42", "28 FF"}},
      {VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPTransPrintNew", "A", false, Byte{1}); },
       {"28 41 41"}},
      {VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPTransPrintNew", "A", false, Byte{3}); },
       {"28 01 41"}},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPLineFeed"); }, {"0E"}},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPOpenBox"); }, {"1D"}},
      {VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPCopyLastCheck"); }, {"1E"}},
      {VariantId::kEP_01, [](Driver& d) { Call(d, "FPPrintCopy"); }, {"1E"}},
      {VariantId::kEP_02, [](Driver& d) { Call<bool>(d, "FPPrintVersion"); }, {"20"}},
      {VariantId::k08_01, [](Driver& d) { Call(d, "FPPrintVer"); }, {"20"}},
      {VariantId::kEP_01, [](Driver& d) { Call(d, "FPCplOnLine"); }, {"24"}},
      {VariantId::kEP_05, [](Driver& d) { Call<bool>(d, "FPCplInd"); }, {"25"}},
      {VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPCplCutter"); }, {"2E"}},
  };
  Answer({});
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    Open(c.id);
    c.call(*driver_);
    expected.insert(expected.end(), c.sent.begin(), c.sent.end());
  }
  EXPECT_EQ(Commands(), expected);
  EXPECT_EQ(SentHex().at(4), "10 02 05 1B 00 01 41 9E 10 03") << "one whole frame, as written";
}

TEST_F(PrintingTest, RefusedArgumentsSendNothing) {
  const std::string a37(37, 'A'), a21(21, 'A');
  const struct {
    const char* name;
    VariantId id;
    std::function<bool(Driver&)> call;
    Byte code;
    const char* text;
  } cases[] = {
      {"text of 37", VariantId::k05_03,
       [&](Driver& d) { return Call<bool>(d, "FPSetString", true, a37.c_str(), false, false); }, 20,
       "Bad line length!"},
      {"double width, 21", VariantId::kEP_02,
       [&](Driver& d) { return Call<bool>(d, "FPSetString", true, a21.c_str(), true, false); }, 20,
       "Bad line length!"},
      {"double height, 21", VariantId::kEP_06,
       [&](Driver& d) { return Call<bool>(d, "FPSetString", true, a21.c_str(), false, true); }, 20,
       "Bad line length!"},
      {"display line 5", VariantId::k05_03,
       [](Driver& d) { return Call<bool>(d, "FPSendCustomer", Byte{5}, "A"); }, 111,
       "Incorrect line of customer display!"},
      {"display text of 21", VariantId::kEP_05,
       [&](Driver& d) { return Call<bool>(d, "FPSendCustomer", false, a21.c_str()); }, 20,
       "Bad line length!"},
      {"set C of 21", VariantId::k05_02,
       [&](Driver& d) { return Call<bool>(d, "FPPrintCODE128C", a21.c_str()); }, 20, "Barcode length error!"},
      {"set C symbol 100", VariantId::k05_03,
       [](Driver& d) {
         return Call<bool>(d, "FPPrintCODE128C",
                           "\x0C"
                           "d");
       },
       111, "Found illegal character!"},
      {"Code 128 of 17", VariantId::kEP_06,
       [](Driver& d) { return Call<bool>(d, "FPPrintCODE128", "AAAAAAAAAAAAAAAAA"); }, 20,
       "Barcode length error!"},
      {"Code 128 symbol 128", VariantId::kEP_05,
       [](Driver& d) { return Call<bool>(d, "FPPrintCODE128", "\xC0"); }, 111, "Found illegal character!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    PutLang(*driver_, 0);
    EXPECT_FALSE(c.call(*driver_));
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(GetByteStatus(*driver_), 255);
    EXPECT_EQ(Text(*driver_), c.text);
  }
  Open(VariantId::kEP_01);
  PutLang(*driver_, 1);
  Call(*driver_, "FPSetString", true, a37.c_str());
  EXPECT_EQ(OlderText(*driver_), "Ошибка длины строки!");
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(PrintingTest, TextListsLineByLine) {
  const std::string a40(40, 'A');
  const std::string a37 = Hex(Bytes(37, 'A'));
  Answer({});
  Open(VariantId::k05_03);
  EXPECT_TRUE(Call<bool>(*driver_, "FPTransPrint", "AB\r\nC", true));
  EXPECT_TRUE(Call<bool>(*driver_, "FPTransPrint", "", false));
  EXPECT_TRUE(Call<bool>(*driver_, "FPTransPrint", a40.c_str(), false)) << "05-03 cuts a long line";
  EXPECT_TRUE(Call<bool>(*driver_, "FPTransPrint", "A\nB\r\n\r\nC\r\n", false));
  EXPECT_EQ(Commands(), (std::vector<std::string>{"28 02 41 42", "28 01 43", "28 FF", "28 25 " + a37,
                                                  "28 01 41", "28 01 42", "28 00", "28 01 43"}));
}

TEST_F(PrintingTest, LongLineStopsTheListWithItsNumberWhereItIsNotCut) {
  const std::string second_long = "A\r\n" + std::string(38, 'B') + "\r\nC";
  Answer({});
  Open(VariantId::kEP_02);
  PutLang(*driver_, 0);
  EXPECT_FALSE(Call<bool>(*driver_, "FPTransPrint", second_long.c_str(), true));
  EXPECT_EQ(GetByteResult(*driver_), 20);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Line №2\r\nLength of not fiscal text line exceeds 37 characters!");
  EXPECT_EQ(Commands(), std::vector<std::string>{"28 01 41"}) << "the line before it stays printed";
  Open(VariantId::k05_02);
  PutLang(*driver_, 2);
  EXPECT_FALSE(Call<bool>(*driver_, "FPTransPrint", std::string(38, 'B').c_str(), false));
  EXPECT_EQ(Text(*driver_), "Рядок №1\r\nДовжина рядка не фіскального тексту перевищує 37 символів!");
  EXPECT_EQ(peer_.FrameCount(), 1u);
}

TEST_F(PrintingTest, ARefusedLineEndsTheList) {
  peer_.SetScript([](const Bytes& f, std::size_t index) {
    const Byte result = index == 1 ? 2 : 0;  // the second line: out of paper
    return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, result, 0)}};
  });
  Open(VariantId::k05_03);
  EXPECT_FALSE(Call<bool>(*driver_, "FPTransPrint", "A\r\nB\r\nC", true));
  EXPECT_EQ(GetByteResult(*driver_), 2);
  EXPECT_EQ(Commands(), (std::vector<std::string>{"28 01 41", "28 01 42"}));
}

// The switch toggles, so the driver asks the printer which mode it is in before switching.
TEST_F(PrintingTest, ReceiptOnlySwitchFollowsThePrintersBit) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  const struct {
    const char* name;
    bool remembered;
    std::optional<Byte> flags_b;  // none: the status request gets no usable block
    bool wanted;
    bool switched;
  } cases[] = {
      {"printer already receipt-only", false, Byte{0x00}, true, false},
      {"printer not receipt-only", true, Byte{0x01}, true, true},
      {"printer in the mode asked", false, Byte{0x01}, false, false},
      {"status unreadable: the memory decides", false, std::nullopt, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<Byte> flags = c.flags_b;
    peer_.SetScript([flags](const Bytes& f, std::size_t) {
      const bool status = FrameCodeOf(f) == 0x00;
      const Bytes data = status && flags ? StatusBlock(0, *flags) : Bytes{};
      return std::vector<Reply>{{AnswerFrame(FrameSeqOf(f), FrameCodeOf(f), 0, 0, 0, data)}};
    });
    Open(VariantId::kEP_05);
    const std::size_t before = peer_.FrameCount();
    module().values[Index(VariantId::kEP_05)].printing.ReceiptOnly = c.remembered;
    EXPECT_TRUE(Call<bool>(*driver_, "FPTransPrint", "X", false, c.wanted));
    std::vector<std::string> sent = Commands();
    sent.erase(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(before));
    std::vector<std::string> expected = {"00"};
    if (c.switched) expected.push_back("28 FE");
    expected.push_back("28 01 58");
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(module().values[Index(VariantId::kEP_05)].printing.ReceiptOnly, c.wanted);
  }
}

TEST_F(PrintingTest, DisplayAndDrawerFlags) {
  Answer(StatusBlock(0x80, 0x00));
  Open(VariantId::kEP_02);
  EXPECT_TRUE(Call<bool>(*driver_, "GetControlDisplay"));
  Open(VariantId::kEP_01);
  EXPECT_TRUE(Call<bool>(*driver_, "GetDisplayStatus"));
  Open(VariantId::k05_02);
  EXPECT_FALSE(Call<bool>(*driver_, "DisplayMode")) << "false before the first FPGetCurrentStatus";
  EXPECT_FALSE(Call<bool>(*driver_, "CashDrawerOpened"));
  const std::size_t sent = peer_.FrameCount();
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetCurrentStatus"));
  EXPECT_TRUE(Call<bool>(*driver_, "DisplayMode"));
  EXPECT_TRUE(Call<bool>(*driver_, "CashDrawerOpened")) << "bit 2 clear";
  Answer(StatusBlock(0x04, 0x00));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetCurrentStatus"));
  EXPECT_FALSE(Call<bool>(*driver_, "DisplayMode"));
  EXPECT_FALSE(Call<bool>(*driver_, "CashDrawerOpened"));
  EXPECT_EQ(peer_.FrameCount(), sent + 2) << "the held flags send nothing";
  Answer({});
  EXPECT_FALSE(Call<bool>(*driver_, "GetControlDisplay")) << "a failed query reads false";
}

class PrintingOnSimulatorTest : public testing::SimDriverTest {
 protected:
  std::vector<std::string> Tape() {
    return sim_->WithModel([this](sim::PrinterModel&) { return tape_; });
  }
  void KeepTape() {
    sim_->WithModel([this](sim::PrinterModel& m) {
      m.printing.tape = [this](std::string_view line) { tape_.push_back(sim::Cp866ToUtf8(line)); };
    });
  }
  std::vector<std::string> tape_;
};

TEST_F(PrintingOnSimulatorTest, ANonFiscalDocumentHoldsOffReceiptsUntilItEnds) {
  Start(VariantId::k05_03);
  KeepTape();
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", Utf8ToAnsi("Дякуємо!\r\nЗнижка 5%"), false));
  EXPECT_TRUE(sim_->WithModel([](sim::PrinterModel& m) { return m.status.mode.service_report_open; }));
  EXPECT_FALSE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 100, 0, false, "A", std::uint64_t{1}));
  EXPECT_EQ(GetByteResult(d()), 16);
  ASSERT_TRUE(Call<bool>(d(), "FPPrintCODE128C", "\x0C\x22\x38"));
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", "", true));
  EXPECT_FALSE(sim_->WithModel([](sim::PrinterModel& m) { return m.status.mode.service_report_open; }));
  const std::vector<std::string> tape = Tape();
  ASSERT_GE(tape.size(), 3u);
  EXPECT_EQ(tape[0], "Дякуємо!");
  EXPECT_EQ(tape[1], "Знижка 5%");
  EXPECT_EQ(tape[2], "CODE128C 123456");
  ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 100, 0, false, "A", std::uint64_t{1}));
}

TEST_F(PrintingOnSimulatorTest, DisplayCopySwitchesAndDrawer) {
  Start(VariantId::k05_02);
  KeepTape();
  ASSERT_TRUE(Call<bool>(d(), "FPSendCustomer", Byte{2}, Utf8ToAnsi("Разом 1.00")));
  ASSERT_TRUE(Call<bool>(d(), "FPOpenBox"));
  EXPECT_FALSE(Call<bool>(d(), "FPCopyLastCheck")) << "no receipt yet";
  ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 100, 0, false, "A", std::uint64_t{1}));
  ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 100u, true, true));
  const std::size_t receipt = Tape().size();
  ASSERT_TRUE(Call<bool>(d(), "FPCopyLastCheck"));
  EXPECT_EQ(Tape().size(), 2 * receipt + 1) << "a title and the receipt again";
  EXPECT_TRUE(Call<bool>(d(), "GetCutterStatus"));
  ASSERT_TRUE(Call<bool>(d(), "FPCplCutter"));
  EXPECT_FALSE(Call<bool>(d(), "GetCutterStatus"));
  EXPECT_FALSE(Call<bool>(d(), "GetControlDisplay"));
  ASSERT_TRUE(Call<bool>(d(), "FPCplInd"));
  EXPECT_TRUE(Call<bool>(d(), "GetControlDisplay"));
  ASSERT_TRUE(Call<bool>(d(), "FPCplOnLine"));
  ASSERT_TRUE(Call<bool>(d(), "FPPrintVersion"));
  ASSERT_TRUE(Call<bool>(d(), "FPLineFeed"));
  const auto regs = sim_->WithModel([](sim::PrinterModel& m) { return m.printing.registers; });
  EXPECT_EQ(sim::Cp866ToUtf8(regs.display[1]), "Разом 1.00");
  EXPECT_EQ(regs.drawer_openings, 1u);
  EXPECT_TRUE(sim_->WithModel([](sim::PrinterModel& m) { return m.status.mode.online_print; }));
}

// The printer restarted in the other mode: the driver's memory is stale, the status bit is not.
TEST_F(PrintingOnSimulatorTest, ReceiptOnlyModeEndsAsAsked) {
  Start(VariantId::kEP_06);
  const auto mode = [this] {
    return sim_->WithModel([](sim::PrinterModel& m) { return m.status.mode.service_report_only_receipt; });
  };
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", "A", true, true));
  EXPECT_TRUE(mode());
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", "B", true, true));
  EXPECT_TRUE(mode());
  sim_->WithModel([](sim::PrinterModel& m) { m.status.mode.service_report_only_receipt = false; });
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", "C", true, true));
  EXPECT_TRUE(mode());
  ASSERT_TRUE(Call<bool>(d(), "FPTransPrint", "D", true, false));
  EXPECT_FALSE(mode());
}

}  // namespace
}  // namespace zorfp
