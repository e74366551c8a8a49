// Programming the printer: cashiers and passwords, the fiscal number, the header and the lines
// around a receipt, payment names and the service settings. The command bytes per class, the
// refusals that send nothing, crafted memory answers, and the same members on the simulator.
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "errors/codepage.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::FromHex;
using testing::Put;

// The command inside a frame the driver sent: DLE STX, sequence number, command, checksum, DLE ETX.
std::string CommandHex(const Bytes& frame) {
  Bytes content;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    content.push_back(frame[i]);
    if (frame[i] == 0x10) ++i;  // a doubled DLE
  }
  return testing::Hex(Bytes(content.begin() + 1, content.end() - 1));
}

std::string U(const char* utf8) {
  return Utf8ToAnsi(utf8);
}

using Step = std::function<void(Driver&)>;

struct WireCase {
  const char* what;
  VariantId id;
  Step call;
  std::string command;
};

class ProgrammingTest : public testing::PtyDriverTest {
 protected:
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) out.push_back(CommandHex(f));
    return out;
  }
};

TEST_F(ProgrammingTest, CommandsOnTheWire) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  const WireCase cases[] = {
      {"password with a name", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetPassword", std::uint16_t{0x1234}, std::uint16_t{0x5678}, Byte{3}, "Ann"); },
       "05 34 12 03 78 56 03 41 6E 6E"},
      {"EP-01 password", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPSetPassword", std::uint16_t{1}, std::uint16_t{2}, Byte{9}, ""); },
       "05 01 00 09 02 00 00"},
      {"08-01 password has no name", VariantId::k08_01,
       [](Driver& d) { Call(d, "FPSetPassword", std::uint16_t{1}, std::uint16_t{2}, Byte{3}); }, "05 01 00 03 02 00"},
      {"cashier with a name", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetCashier", Byte{2}, "Bob", std::uint16_t{0x0102}, false); },
       "06 02 01 02 03 42 6F 62"},
      {"cashier keeping the name", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPSetCashier", Byte{2}, "Bob", std::uint16_t{0x0102}, true); },
       "06 02 01 02 FF"},
      {"08-01 cashier", VariantId::k08_01,
       [](Driver& d) { Call(d, "FPSetCashier", Byte{2}, U("Іра"), std::uint16_t{7}); }, "06 07 00 02 03 49 E0 A0"},
      {"fiscal number padded with zeros", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPSetFiscalNumber", std::uint16_t{1}, "123"); },
       "15 01 00 30 30 30 30 30 30 30 31 32 33"},
      {"older fiscalization padded with blanks", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPFiscalization", std::uint16_t{1}, "AB12"); },
       "15 01 00 41 42 31 32 20 20 20 20 20 20"},
      {"header with attributes", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, "A", true, false, "BB", false, true, "C", true, true, "12345",
                    false);
       },
       "16 00 00 41 41 82 42 42 C1 43 0C 30 30 30 30 30 30 30 31 32 33 34 35"},
      {"identification number, plain line of 21", VariantId::kEP_02,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, std::string(21, 'x'), false, false, "", false, false, "",
                    false, false, "123456789012", true);
       },
       "16 00 00 15 " + [] {
         std::string s;
         for (int i = 0; i < 21; ++i) s += "78 ";
         return s;
       }() + "00 00 8C 31 32 33 34 35 36 37 38 39 30 31 32"},
      {"older header", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPSetHeadLine", std::uint16_t{5}, "A", "B", "C", "D"); },
       "16 05 00 01 41 01 42 01 43 01 44"},
      {"advertising line 2", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPSetInitialLines", Byte{1}, "Hi", false, false); }, "17 02 02 48 69"},
      {"final line 3, double width", VariantId::k05_02,
       [](Driver& d) { Call<bool>(d, "FPSetFinalLines", Byte{2}, "X", true, false); }, "17 05 41 58"},
      {"second extra header line", VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPSetHeaderLineAdd2", "Y", false, true); }, "17 07 81 59"},
      {"logo on", VariantId::kEP_02, [](Driver& d) { Call<bool>(d, "FPEnableLogo", std::uint16_t{0x0A0B}); },
       "2D 0B 0A 01 00 00 00 00"},
      {"logo off", VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPDisableLogo", std::uint16_t{0x0A0B}); },
       "2D 0B 0A 00 00 00 00 00"},
      {"line spacing", VariantId::kEP_02, [](Driver& d) { Call<bool>(d, "FPLineSP", Byte{63}); }, "27 3F"},
      {"EP-01 line spacing", VariantId::kEP_01, [](Driver& d) { Call(d, "FPLineSP", Byte{5}); }, "27 05"},
      {"contrast", VariantId::kEP_05, [](Driver& d) { Call<bool>(d, "FPSetContrast", Byte{200}); }, "27 C8"},
      {"items format", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetFormat", std::uint16_t{1}, std::uint16_t{11136}); }, "3C 01 00 80 2B"},
      {"squeeze", VariantId::k05_02, [](Driver& d) { Call<bool>(d, "FPSqueeze"); }, "3A"},
      {"EAN-13", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "5901234123457"); },
       "31 35 39 30 31 32 33 34 31 32 33 34 35 37"},
      {"EAN-13 of ten digits", VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "1234567895"); },
       "31 30 30 30 31 32 33 34 35 36 37 38 39 35"},
      {"payment name, converted whatever CP866 says", VariantId::kEP_06,
       [](Driver& d) {
         PutCP866(d, true);
         Call<bool>(d, "FPSetPayName", std::uint16_t{1}, Byte{5}, U("Бонус"));
       },
       "32 01 00 04 05 81 AE AD E3 E1"},
      {"payment name read", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPGetPayName", Byte{10}); },
       "1C 90 2D 10 10"},
      {"password table read", VariantId::kEP_02, [](Driver& d) { Call<std::int32_t>(d, "GetPasswordProg"); },
       "1C 03 30 10 14"},
  };
  for (const WireCase& c : cases) {
    Answer({});
    Open(c.id);
    const std::size_t before = peer_.FrameCount();
    c.call(*driver_);
    ASSERT_EQ(peer_.FrameCount(), before + 1) << c.what;
    EXPECT_EQ(Commands().back(), c.command) << c.what;
  }
}

TEST_F(ProgrammingTest, HeldHeaderIsSentByFPSetHeader) {
  Open(VariantId::k05_02);
  Answer({});
  Put(*driver_, "HeadLine1", U("Київ"));
  Put(*driver_, "HeadLine3", "Z");
  Put(*driver_, "RegCode", "77");
  Put(*driver_, "DWHeadLine1", true);
  Put(*driver_, "DHHeadLine3", true);
  EXPECT_EQ(Call<AnsiString>(*driver_, "HeadLine1"), U("Київ")) << "shown back as it was set";
  ASSERT_TRUE(Call<bool>(*driver_, "FPSetHeader", std::uint16_t{2}, true));
  EXPECT_EQ(Commands(), std::vector<std::string>{
                            "16 02 00 44 8A A8 F5 A2 00 81 5A 8C 30 30 30 30 30 30 30 30 30 30 37 37"});
  EXPECT_TRUE(module().values[Index(VariantId::k05_03)].programming.header.HeadLine[0].empty())
      << "each class holds its own header";
}

struct Refusal {
  const char* what;
  VariantId id;
  Step call;
  Byte code;
  const char* text;
};

TEST_F(ProgrammingTest, RefusalsSendNothing) {
  const std::string n21(21, 'n');
  const Refusal cases[] = {
      {"password number 10", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetPassword", std::uint16_t{0}, std::uint16_t{0}, Byte{10}, ""); }, 20,
       "User ID impossible!"},
      {"cashier number 10", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetCashier", Byte{10}, "", std::uint16_t{0}, false); }, 22,
       "User ID impossible!"},
      {"cashier name of 16, even when kept", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPSetCashier", Byte{1}, std::string(16, 'c'), std::uint16_t{0}, true); }, 20,
       "User name exceeds 15 characters!"},
      {"password name of 16", VariantId::kEP_06,
       [](Driver& d) {
         Call<bool>(d, "FPSetPassword", std::uint16_t{0}, std::uint16_t{0}, Byte{1}, std::string(16, 'c'));
       },
       20, "User name exceeds 15 characters!"},
      {"second line of 21 with double height", VariantId::k05_03,
       [n21](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, "", false, false, n21, false, true, "", false, false, "",
                    false);
       },
       20, "Length of second line of headline is too long!"},
      {"plain first line of 25", VariantId::kEP_05,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, std::string(25, 'x'), false, false, "", false, false, "",
                    false, false, "", false);
       },
       20, "Length of first line of headline is too long!"},
      {"EP-06 plain third line of 31", VariantId::kEP_06,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, "", false, false, "", false, false, std::string(31, 'x'),
                    false, false, "", false);
       },
       20, "Length of third line of headline is too long!"},
      {"identification number of 13", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, "", false, false, "", false, false, "", false, false,
                    std::string(13, '1'), true);
       },
       20, "Incorrect identification number!"},
      {"registration number of 13", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPSetHeadLine", std::uint16_t{0}, "", false, false, "", false, false, "", false, false,
                    std::string(13, '1'), false);
       },
       20, "Incorrect registration number!"},
      {"advertising line 4", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPSetInitialLines", Byte{3}, "", false, false); }, 22, "Line number error!"},
      {"advertising line of 21 with double height alone", VariantId::kEP_05,
       [n21](Driver& d) { Call<bool>(d, "FPSetInitialLines", Byte{0}, n21, false, true); }, 20,
       "Length error of publicity line!"},
      {"final line of 21 with double height alone", VariantId::k05_03,
       [n21](Driver& d) { Call<bool>(d, "FPSetFinalLines", Byte{0}, n21, false, true); }, 20,
       "Bad line length of final message!"},
      {"plain final line of 37", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetFinalLines", Byte{0}, std::string(37, 'f'), false, false); }, 20,
       "Bad line length of final message!"},
      {"extra header line of 21 with double width", VariantId::kEP_06,
       [n21](Driver& d) { Call<bool>(d, "FPSetHeaderLineAdd1", n21, true, false); }, 20,
       "Length error of first additional header line!"},
      {"fiscal number with a hyphen", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPSetFiscalNumber", std::uint16_t{0}, "12-3"); }, 25,
       "Fiscal number can be only from digits!"},
      {"fiscal number of 11", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPSetFiscalNumber", std::uint16_t{0}, "12345678901"); }, 20,
       "Length of fiscal number exceeds 10 digits!"},
      {"line spacing 64", VariantId::k05_02, [](Driver& d) { Call<bool>(d, "FPLineSP", Byte{64}); }, 111,
       "Incorrect interval between lines!"},
      {"contrast 49", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPSetContrast", Byte{49}); }, 111,
       "Value error of print contrast!"},
      {"contrast 201", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPSetContrast", Byte{201}); }, 111,
       "Value error of print contrast!"},
      {"items format 11137", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPSetFormat", std::uint16_t{0}, std::uint16_t{11137}); }, 111,
       "Incorrect quantity of items!"},
      {"EAN-13 of 14 digits", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "12345678901234"); }, 20,
       "Barcode length can be only 13 digits!"},
      {"EAN-13 with a letter", VariantId::kEP_05, [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "12a"); }, 111,
       "Found illegal character!"},
      {"EAN-13 with a wrong check digit", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "5901234123458"); }, 111, "Error of check sum EAN13!"},
      {"ten digits whose padded check digit is wrong", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPPrintEAN13", "1234567890"); }, 111, "Error of check sum EAN13!"},
      {"payment index 4 (cash)", VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPSetPayName", std::uint16_t{0}, Byte{4}, "X"); }, 111,
       "Invalid index of payment!"},
      {"payment index 11", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPGetPayName", Byte{11}); }, 111,
       "Invalid index of payment!"},
      {"empty payment name", VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPSetPayName", std::uint16_t{0}, Byte{1}, ""); }, 111,
       "Invalid name of payment form!"},
      {"payment name of 16", VariantId::kEP_06,
       [](Driver& d) { Call<bool>(d, "FPSetPayName", std::uint16_t{0}, Byte{1}, std::string(16, 'p')); }, 111,
       "Invalid name of payment form!"},
  };
  for (const Refusal& c : cases) {
    Open(c.id);
    PutLang(*driver_, 0);
    c.call(*driver_);
    EXPECT_EQ(GetByteResult(*driver_), c.code) << c.what;
    EXPECT_EQ(GetByteStatus(*driver_), 255) << c.what;
    EXPECT_EQ(Text(*driver_), c.text) << c.what;
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(ProgrammingTest, OlderHeaderChecksSetTheTextAlone) {
  const Refusal cases[] = {
      {"EP-01 line of 25", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPSetHeadLine", std::uint16_t{0}, std::string(25, 'x'), "", "", ""); }, 0,
       "Lines length of headline is too long!"},
      {"EP-01 fourth line of 13", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPSetHeadLine", std::uint16_t{0}, "", "", "", std::string(13, '1')); }, 0,
       "Length of fourth line of headline more than 12 characters!"},
      {"EP-01 cashier number 10", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPSetPassword", std::uint16_t{0}, std::uint16_t{0}, Byte{10}, ""); }, 0,
       "User ID impossible!"},
      {"08-01 cashier number 10", VariantId::k08_01,
       [](Driver& d) { Call(d, "FPSetPassword", std::uint16_t{0}, std::uint16_t{0}, Byte{10}); }, 0,
       "User ID impossible!"},
  };
  for (const Refusal& c : cases) {
    Open(c.id);
    PutLang(*driver_, 0);
    c.call(*driver_);
    EXPECT_EQ(GetByteResult(*driver_), c.code) << c.what;
    EXPECT_EQ(OlderText(*driver_), c.text) << c.what;
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);
  Answer({});
  Open(VariantId::k08_01);
  Call(*driver_, "FPSetHeadLine", std::uint16_t{0}, "", "", "", std::string(13, '1'));
  EXPECT_EQ(peer_.FrameCount(), 1u) << "08-01's fourth line may have 24 characters";
}

TEST_F(ProgrammingTest, PasswordTableWords) {
  Open(VariantId::k05_03);
  Bytes table;
  for (std::uint32_t w = 1; w <= 10; ++w) PutUIntLE(table, w == 10 ? 0xF123 : w * 1000, 2);
  Answer(table);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPasswordCashier1"), 1000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPasswordCashier8"), 8000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPasswordProg"), 9000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPasswordReports"), 0xF123) << "unsigned words";
  Answer(Bytes(19, 0));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetPasswordCashier2"), 0);
  EXPECT_EQ(GetByteResult(*driver_), 103);
}

TEST_F(ProgrammingTest, PaymentNameRecords) {
  Open(VariantId::kEP_06);
  PutLang(*driver_, 0);
  auto record = [](Byte length, const char* oem) {
    Bytes r(16, 0);
    r[0] = length;
    for (std::size_t i = 0; oem[i] != 0; ++i) r[1 + i] = static_cast<Byte>(oem[i]);
    return r;
  };
  Answer(record(5, "\x81\xAE\xAD\xE3\xE1"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetPayName", Byte{1}));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetPayName"), U("Бонус"));

  Answer(record(16, "ABCDEFGHIJKLMNO"));
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetPayName", Byte{2}));
  EXPECT_EQ(GetByteResult(*driver_), 103) << "a length past the record";
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetPayName"), U("Бонус"));

  Answer(record(0, "OLD"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetPayName", Byte{3}));
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetPayName"), "") << "a length of 0 is an empty name";

  Driver other(driver_->traits());
  EXPECT_EQ(Call<AnsiString>(other, "GetPayName"), "") << "each object keeps its own name";
}

class ProgrammingOnSimulatorTest : public testing::SimDriverTest {
 protected:
  // Collects what the printer prints from now on, as UTF-8.
  void WatchTape() {
    sim_->WithModel([this](sim::PrinterModel& m) {
      m.printing.tape = [this](std::string_view line) {
        std::lock_guard lock(tape_mutex_);
        tape_.push_back(AnsiToUtf8(OemToAnsi(line)));
      };
    });
  }
  bool OnTape(const std::string& utf8) {
    std::lock_guard lock(tape_mutex_);
    for (const std::string& line : tape_) {
      if (line.find(utf8) != std::string::npos) return true;
    }
    return false;
  }
  std::mutex tape_mutex_;
  std::vector<std::string> tape_;
};

TEST_F(ProgrammingOnSimulatorTest, HeaderOnTheNextReceiptAndRefusedWhileTheDayIsOpen) {
  Start(VariantId::k05_03);
  WatchTape();
  ASSERT_TRUE(Call<bool>(d(), "FPSetHeadLine", std::uint16_t{0}, U("ТОВ \"ХЛІБ\""), true, false, U("Львів"), false,
                         false, "", false, false, "12345", false));
  EXPECT_EQ(Call<AnsiString>(d(), "GetHeadString1"), U("ТОВ \"ХЛIБ\"")) << "the printer has no І";
  EXPECT_EQ(Call<AnsiString>(d(), "GetHeadString4"), U("ПН 000000012345"));
  ASSERT_TRUE(Call<bool>(d(), "FPSetInitialLines", Byte{0}, U("Ласкаво просимо"), false, false));
  ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 500, 0, false, "A", std::uint64_t{1}));
  EXPECT_TRUE(OnTape("ТОВ \"ХЛIБ\""));
  EXPECT_TRUE(OnTape("Львiв"));
  EXPECT_TRUE(OnTape("Ласкаво просимо"));

  PutLang(d(), 0);
  EXPECT_FALSE(Call<bool>(d(), "FPSetHeadLine", std::uint16_t{0}, "X", false, false, "", false, false, "", false,
                          false, "", false));
  EXPECT_EQ(GetByteResult(d()), 41) << "a Z report first";
  EXPECT_FALSE(Call<bool>(d(), "FPSetHeadLine", std::uint16_t{9}, "X", false, false, "", false, false, "", false,
                          false, "", false));
  EXPECT_EQ(GetByteResult(d()), 21);
}

TEST_F(ProgrammingOnSimulatorTest, CashiersAndPasswords) {
  Start(VariantId::kEP_02);
  ASSERT_TRUE(Call<bool>(d(), "FPSetPassword", std::uint16_t{0}, std::uint16_t{1234}, Byte{1}, U("Іра")));
  ASSERT_TRUE(Call<bool>(d(), "FPSetPassword", std::uint16_t{0}, std::uint16_t{777}, Byte{0}, ""));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetPasswordCashier1"), 1234);
  EXPECT_EQ(Call<std::int32_t>(d(), "GetPasswordProg"), 777);
  EXPECT_EQ(Call<std::int32_t>(d(), "GetPasswordReports"), 0);
  EXPECT_FALSE(Call<bool>(d(), "FPSetCashier", Byte{1}, "", std::uint16_t{1}, true));
  EXPECT_EQ(GetByteResult(d()), 21);
  ASSERT_TRUE(Call<bool>(d(), "FPSetCashier", Byte{1}, "", std::uint16_t{1234}, true));
  const auto settings = sim_->WithModel([](sim::PrinterModel& m) { return m.programming.settings; });
  EXPECT_EQ(settings.cashier, 1);
  EXPECT_EQ(settings.names[1], "I\xE0\xA0") << "the name kept";
  EXPECT_FALSE(Call<bool>(d(), "FPEnableLogo", std::uint16_t{0}));
  EXPECT_EQ(GetByteResult(d()), 21) << "the programming password is 777 now";
  EXPECT_TRUE(Call<bool>(d(), "FPEnableLogo", std::uint16_t{777}));
  EXPECT_TRUE(sim_->WithModel([](sim::PrinterModel& m) { return m.programming.settings.logo; }));
}

TEST_F(ProgrammingOnSimulatorTest, FiscalNumberOnlyBeforeFiscalization) {
  Start(VariantId::kEP_05);
  EXPECT_FALSE(Call<bool>(d(), "FPSetFiscalNumber", std::uint16_t{0}, "42"));
  EXPECT_EQ(GetByteResult(d()), 16);
  sim_->WithModel([](sim::PrinterModel& m) { m.status.fiscalization.done = false; });
  EXPECT_FALSE(Call<bool>(d(), "GetWorkMode"));
  ASSERT_TRUE(Call<bool>(d(), "FPSetFiscalNumber", std::uint16_t{0}, "42"));
  EXPECT_EQ(Call<AnsiString>(d(), "GetFiscalNumber"), "0000000042");
  EXPECT_TRUE(Call<bool>(d(), "GetWorkMode"));
}

TEST_F(ProgrammingOnSimulatorTest, ServiceSettingsAndPaymentNames) {
  Start(VariantId::kEP_06);
  WatchTape();
  ASSERT_TRUE(Call<bool>(d(), "FPSetPayName", std::uint16_t{0}, Byte{5}, U("Бонус")));
  ASSERT_TRUE(Call<bool>(d(), "FPGetPayName", Byte{5}));
  EXPECT_EQ(Call<AnsiString>(d(), "GetPayName"), U("Бонус"));
  ASSERT_TRUE(Call<bool>(d(), "FPGetPayName", Byte{6}));
  EXPECT_EQ(Call<AnsiString>(d(), "GetPayName"), "") << "a form without a name";
  ASSERT_TRUE(Call<bool>(d(), "FPLineSP", Byte{12}));
  ASSERT_TRUE(Call<bool>(d(), "FPSetContrast", Byte{150}));
  ASSERT_TRUE(Call<bool>(d(), "FPPrintEAN13", "5901234123457"));
  EXPECT_TRUE(OnTape("EAN-13 5901234123457"));
  const auto s = sim_->WithModel([](sim::PrinterModel& m) { return m.programming.settings; });
  EXPECT_EQ(s.line_spacing, 12);
  EXPECT_EQ(s.contrast, 150);
  const std::string state = sim_->StateJson();
  EXPECT_NE(state.find("\"payment_names\""), std::string::npos);
}

}  // namespace
}  // namespace zorfp
