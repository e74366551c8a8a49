// Opening, configuring and closing the port: names, time-outs per class, failures and the log.
#include <gtest/gtest.h>

#include "support/pty_driver_fixture.h"
#include "support/member_call.h"

namespace zorfp {
namespace {

using testing::Call;

using testing::MemoryPort;

class PortTest : public testing::PtyDriverTest {
 protected:
  // Routes opens to an in-memory port that fails where the test says, and records the name.
  void UseMemoryPort() {
    module().open_port = [this](const std::string& name) -> std::unique_ptr<SerialPort> {
      opened_names_.push_back(name);
      if (refuse_open_) return nullptr;
      return std::make_unique<MemoryPort>(shared_);
    };
  }
  MemoryPort::Shared shared_;
  std::vector<std::string> opened_names_;
  bool refuse_open_ = false;
};

TEST_F(PortTest, PortNames) {
  UseMemoryPort();
  Driver d(Traits(VariantId::kEP_02));
  EXPECT_TRUE(FPInit(d, 3, 9600, 1, 1));
  EXPECT_TRUE(FPInitEx(d, "/dev/ttyUSB7", 9600, 1, 1));
  EXPECT_TRUE(FPInitEx(d, "COM12", 9600, 1, 1));
  EXPECT_EQ(opened_names_, (std::vector<std::string>{"/dev/ttyS2", "/dev/ttyUSB7", "COM12"}));
}

TEST_F(PortTest, TimeoutsPerClass) {
  UseMemoryPort();
  const struct {
    const char* what;
    VariantId id;
    bool by_number;
    std::uint32_t baud;
    Byte read, write;
    PortTimeouts expected;
  } cases[] = {
      {"EP-02 at 9600", VariantId::kEP_02, true, 9600, 1, 1, {1000, 2, 1000, 2, 1000}},
      {"EP-02 above 19200", VariantId::kEP_02, true, 38400, 2, 3, {2000, 0, 2000, 0, 3000}},
      {"EP-02 at 1200", VariantId::kEP_02, false, 1200, 0, 0, {0, 16, 0, 16, 0}},
      {"05-03 FPInit counts tenths", VariantId::k05_03, true, 9600, 5, 7, {500, 2, 500, 2, 700}},
      {"05-03 FPInitEx counts seconds", VariantId::k05_03, false, 9600, 5, 7, {5000, 2, 5000, 2, 7000}},
      {"05-02", VariantId::k05_02, true, 19200, 1, 2, {1000, 1, 1000, 1, 2000}},
      {"EP-01", VariantId::kEP_01, true, 4800, 3, 1, {3000, 4, 3000, 4, 1000}},
      {"08-01 fixed 2 ms", VariantId::k08_01, true, 115200, 1, 1, {1000, 2, 1000, 2, 1000}},
      {"EP-06 max units", VariantId::kEP_06, false, 9600, 255, 255, {255000, 2, 255000, 2, 255000}},
  };
  for (const auto& c : cases) {
    Driver d(Traits(c.id));
    const bool ok = c.by_number ? FPInit(d, 1, c.baud, c.read, c.write) : FPInitEx(d, "X", c.baud, c.read, c.write);
    ASSERT_TRUE(ok) << c.what;
    EXPECT_EQ(shared_.timeouts, c.expected) << c.what;
    EXPECT_EQ(shared_.line.baud_rate, c.id == VariantId::k08_01 ? 9600u : c.baud) << c.what;
    EXPECT_EQ(shared_.line.byte_size, 8) << c.what;
    EXPECT_EQ(shared_.line.parity, 0) << c.what;
    EXPECT_EQ(shared_.line.stop_bits, 0) << c.what;
    EXPECT_EQ(shared_.line.flags, 0u) << c.what;
  }
}

TEST_F(PortTest, OpenRecordOnThePty) {
  module().settings.LogRecord = true;
  Open(VariantId::kEP_05, 2, 3);
  EXPECT_EQ(LogWithoutStamps(),
            "\r\n<stamp> [EP-05] OPEN PORT:\r\n"
            "COM port parameters:\r\n"
            "     BaudRate = 9600\r\n"
            "     Parity   = 0\r\n"
            "     Flags    = 0\r\n"
            "     ByteSize = 8\r\n"
            "     StopBits = 1\r\n"
            "COM port timeouts:\r\n"
            "     ReadIntervalTimeout         = 2000\r\n"
            "     ReadTotalTimeoutMultiplier  = 2\r\n"
            "     ReadTotalTimeoutConstant    = 2000\r\n"
            "     WriteTotalTimeoutMultiplier = 2\r\n"
            "     WriteTotalTimeoutConstant   = 3000\r\n");
  EXPECT_EQ(module().link.ProtocolTag, "EP-05");
}

TEST_F(PortTest, SecondOpenerGetsPortIsBusy) {
  Open(VariantId::kEP_02);
  module().last_call.ReportedResult = 42;
  module().Lang[Index(VariantId::k05_03)] = 0;
  Driver other(Traits(VariantId::k05_03));
  EXPECT_FALSE(FPInitEx(other, peer_.path(), 9600, 1, 1));
  EXPECT_EQ(GetTextErrorMessage(other), "Port is busy!");
  EXPECT_EQ(GetByteResult(other), 42) << "a busy port has no code";
}

TEST_F(PortTest, ReopeningTheSameObjectClosesFirst) {
  Open(VariantId::kEP_02);
  EXPECT_TRUE(FPInitEx(*driver_, peer_.path(), 9600, 1, 1));
  EXPECT_TRUE(FPInitEx(*driver_, peer_.path(), 9600, 1, 1));
}

TEST_F(PortTest, ReleasedObjectDoesNotKeepThePortBusy) {
  Open(VariantId::kEP_02);
  driver_.reset();
  Driver next(Traits(VariantId::kEP_02));
  EXPECT_TRUE(FPInitEx(next, peer_.path(), 9600, 1, 1));
}

TEST_F(PortTest, CloseWithoutPortStillLogs) {
  module().settings.LogRecord = true;
  Driver d(Traits(VariantId::k08_01));
  EXPECT_FALSE(FPClose(d));
  EXPECT_EQ(LogWithoutStamps(), "<stamp> [08-01] PORT CLOSED\r\n");
  Open(VariantId::kEP_02);
  EXPECT_TRUE(FPClose(*driver_));
  EXPECT_FALSE(FPClose(*driver_));
}

TEST_F(PortTest, SetUpFailuresCloseThePortAndReport) {
  UseMemoryPort();
  module().settings.LogRecord = true;
  module().Lang[Index(VariantId::kEP_02)] = 0;
  const std::string settings =
      "COM port parameters:\r\n     BaudRate = 9600\r\n     Parity   = 0\r\n     Flags    = 0\r\n"
      "     ByteSize = 8\r\n     StopBits = 1";
  const struct {
    MemoryPort::FailAt fail_at;
    std::uint32_t baud;
    Byte code;
    const char* text;
    std::string logged;
  } cases[] = {
      {MemoryPort::FailAt::kGetLine, 9600, 105, "Parameters of DCB-structure didn't receive!",
       "Get COM port parameters error"},
      {MemoryPort::FailAt::kSetLine, 9600, 105, "Parameters of DCB-structure didn't write!",
       "Set COM port parameters error"},
      {MemoryPort::FailAt::kNothing, 0, 105, "Parameters of DCB-structure didn't write!",
       "Set COM port parameters error"},
      {MemoryPort::FailAt::kGetTimeouts, 9600, 106, "Timeouts values didn't receive!",
       settings + "\r\nGet COM port timeouts error"},
      {MemoryPort::FailAt::kSetTimeouts, 9600, 106, "Timeouts values didn't write!",
       settings + "\r\nSet COM port timeouts error"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(log_folder());
    shared_ = MemoryPort::Shared{};
    shared_.fail_at = c.fail_at;
    module().last_call.ReportedStatus = 9;
    Driver d(Traits(VariantId::kEP_02));
    EXPECT_FALSE(FPInit(d, 1, c.baud, 1, 1)) << c.text;
    EXPECT_TRUE(shared_.closed) << c.text;
    EXPECT_EQ(d.port(), nullptr) << c.text;
    EXPECT_EQ(GetByteResult(d), c.code) << c.text;
    EXPECT_EQ(GetByteStatus(d), 9) << "the status is never touched by opening";
    EXPECT_EQ(GetTextErrorMessage(d), c.text);
    EXPECT_EQ(LogWithoutStamps(), "\r\n<stamp> [EP-02] OPEN PORT:\r\n" + c.logged + "\r\n") << c.text;
  }
}

TEST_F(PortTest, OlderClassesReportNothingOnFailure) {
  // As a client opens the port: the older classes' call prologue empties the error text first.
  const auto init = [](Driver& d) {
    return d.traits().fixed_baud_9600 ? Call<bool>(d, "FPInit", 1, 1, 1) : Call<bool>(d, "FPInit", 1, 9600, 1, 1);
  };
  UseMemoryPort();
  module().settings.LogRecord = true;
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01}) {
    std::filesystem::remove_all(log_folder());
    shared_ = MemoryPort::Shared{};
    shared_.fail_at = MemoryPort::FailAt::kSetTimeouts;
    module().last_call.ReportedResult = 7;
    module().last_call.ErrorText = "old";
    Driver d(Traits(id));
    EXPECT_FALSE(init(d));
    EXPECT_EQ(GetByteResult(d), 7);
    EXPECT_EQ(GetTextErrorMessage(d), "");
    EXPECT_EQ(LogText().empty(), id == VariantId::k08_01) << "08-01 logs no open record";
  }
  refuse_open_ = true;
  Driver busy(Traits(VariantId::kEP_01));
  module().last_call.ErrorText = "old";
  EXPECT_FALSE(init(busy));
  EXPECT_EQ(GetTextErrorMessage(busy), "");
}

TEST_F(PortTest, OpeningSetsTheTagExceptOn0801) {
  UseMemoryPort();
  module().link.ProtocolTag = "none";
  Driver old(Traits(VariantId::k08_01));
  EXPECT_TRUE(FPInit(old, 1, 1, 1));
  EXPECT_EQ(module().link.ProtocolTag, "none");
  EXPECT_TRUE(FPClose(old));
  EXPECT_EQ(module().link.ProtocolTag, "08-01");
}

TEST_F(PortTest, FailedOpenOfAnUnwritableLogIsRaised) {
  module().settings.LogRecord = true;
  module().env.log_folder = "/proc/zorfp-cannot-be-here";
  driver_ = std::make_unique<Driver>(Traits(VariantId::kEP_02));
  EXPECT_THROW(FPInitEx(*driver_, peer_.path(), 9600, 1, 1), LogError);
}

TEST_F(PortTest, NotATerminalCannotBeConfigured) {
  Driver d(Traits(VariantId::kEP_02));
  module().Lang[Index(VariantId::kEP_02)] = 0;
  EXPECT_FALSE(FPInitEx(d, "/dev/null", 9600, 1, 1));
  EXPECT_EQ(GetByteResult(d), 105);
  EXPECT_EQ(GetTextErrorMessage(d), "Parameters of DCB-structure didn't receive!");
}

}  // namespace
}  // namespace zorfp
