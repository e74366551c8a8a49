// The modem status: the unframed request, every property from crafted records of both layouts,
// the records that cannot be used, and the diagnostic report printed on the simulator's tape.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "errors/codepage.h"
#include "sim/cp866.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::Reply;

void Le(Bytes& r, std::size_t at, std::uint32_t v, int width) {
  for (int i = 0; i < width; ++i) r[at + i] = static_cast<Byte>(v >> (8 * i));
}
void Put(Bytes& r, std::size_t at, std::initializer_list<Byte> bytes) {
  std::copy(bytes.begin(), bytes.end(), r.begin() + static_cast<std::ptrdiff_t>(at));
}

// A record in which every field holds a value of its own.
Bytes Record(std::size_t size) {
  Bytes r(189, 0);
  Le(r, 0, 3600, 4);
  Le(r, 4, 60, 4);
  Le(r, 8, 120, 4);
  Le(r, 12, 758624400, 4);  // 15.01.2024 09:00:00
  for (std::uint32_t i = 0; i < 5; ++i) Le(r, 16 + 4 * i, 11 + i, 4);
  Le(r, 36, 0x01020304, 4);
  Le(r, 40, 7, 4);
  Put(r, 44, {0x00, 0x00, 0x00, 0x05});
  Put(r, 48, {0x00, 0x00, 0x01, 0x00});
  Put(r, 52, {0x01, 0x02});
  Put(r, 54, {0x21, 0x7F});
  Le(r, 56, 12345, 2);
  Le(r, 58, 0xFFFF, 2);
  Le(r, 60, 150, 2);
  Le(r, 62, 30, 2);
  Put(r, 64, {17, 9, 8, 9, 0x83, 0xFB, 0xF3, 0x55});
  Le(r, 72, 3, 2);
  Put(r, 74, {99, 2});
  Put(r, 76, {'*', '1', '0', '0', '#', 'O', 'K'});
  Put(r, 156, {0x05, 0x02});
  Le(r, 158, 20, 2);
  Le(r, 160, 758626200, 4);  // 15.01.2024 09:30:00
  Put(r, 164, {0xC0, 0xA8, 0x00, 0x01, 0xC0, 0xA8, 0x00, 0xFE, 0xFF, 0xFF, 0xFF,
               0x00, 0x0A, 0x00, 0x00, 0x02, 0x5B, 0x64, 0x01, 0x02, 0x01, 0xBB});
  r.resize(size);
  return r;
}

Bytes WithLength(Byte length, const Bytes& record) {
  Bytes out{length};
  out.insert(out.end(), record.begin(), record.end());
  return out;
}

// The raw answer ends with the first read that brings nothing, so the port's read time-out is
// what each update costs: the shortest keeps the tests quick.
class ModemTest : public testing::PtyDriverTest {
 protected:
  void OpenQuick(VariantId id) { Open(id, 0, 0); }
  // The modem answers every request with `answer` in one write, nothing for an empty one.
  void Modem(const Bytes& answer) {
    peer_.SetRawScript([this, answer](const Bytes& chunk) {
      std::lock_guard lock(mu_);
      heard_.insert(heard_.end(), chunk.begin(), chunk.end());
      return answer.empty() ? std::vector<Reply>{} : std::vector<Reply>{{answer}};
    });
  }
  std::string Heard() {
    std::lock_guard lock(mu_);
    return std::string(heard_.begin(), heard_.end());
  }
  std::int32_t Int(const char* name) { return Call<std::int32_t>(*driver_, name); }
  Byte U8(const char* name) { return Call<Byte>(*driver_, name); }
  AnsiString Text(const char* name) { return Call<AnsiString>(*driver_, name); }

  std::mutex mu_;
  Bytes heard_;
};

TEST_F(ModemTest, ExtendedRecordFillsEveryProperty) {
  Modem(WithLength(189, Record(189)));
  OpenQuick(VariantId::k05_03);
  ASSERT_TRUE(Call<bool>(*driver_, "ModemStatusUpdate", false));
  EXPECT_EQ(Heard(), "~~#01#");
  const struct {
    const char* name;
    std::int32_t value;
  } ints[] = {
      {"ModemSecondCnt", 3600},  {"ModemRROXchgTime", 60},   {"ModemACQXchgTime", 120},
      {"ModemPID_Unused", 11},   {"ModemPID_CurPers", 12},   {"ModemPID_LastWrite", 13},
      {"ModemPID_LastSign", 14}, {"ModemPID_LastSend", 15},  {"ModemSN", 0x01020304},
      {"ModemID_DEV", 7},        {"ModemID_SAM", 5},         {"ModemNT_SAM", 256},
      {"ModemNT_SESSION", 258},  {"ModemBatVoltage", 12345}, {"ModemDCVoltage", 65535},
      {"ModemBatCurrent", 150},  {"ModemTemperature", 30},   {"ModemRROXchgErrorCnt", 3},
      {"ModemOSVer", 205},       {"ModemOSRev", 20},         {"ModemACQPort", 443},
  };
  for (const auto& f : ints) EXPECT_EQ(Int(f.name), f.value) << f.name;
  const struct {
    const char* name;
    Byte value;
  } bytes[] = {
      {"ModemFailCode", 0x21},
      {"ModemRes1", 0x7F},
      {"ModemState1", 17},
      {"ModemState2", 9},
      {"ModemState3", 8},
      {"ModemLanState1", 9},
      {"ModemLanState2", 0x83},
      {"ModemRROXchgResult", 0xFB},
      {"ModemACQXchgResult", 0xF3},
      {"ModemRes2", 0x55},
      {"ModemRSSI", 99},
      {"ModemRSSI_BER", 2},
  };
  for (const auto& f : bytes) EXPECT_EQ(U8(f.name), f.value) << f.name;
  const struct {
    const char* name;
    const char* value;
  } texts[] = {
      {"ModemFirstUnsendPIDDateTime", "15.01.24 09:00:00"},
      {"ModemUSSDResult", "*100#OK"},
      {"ModemSysTime", "15.01.24 09:30:00"},
      {"ModemNETIPAddr", "192.168.0.1"},
      {"ModemNETGate", "192.168.0.254"},
      {"ModemNETMask", "255.255.255.0"},
      {"ModemMODIPAddr", "10.0.0.2"},
      {"ModemACQIPAddr", "91.100.1.2"},
  };
  for (const auto& f : texts) EXPECT_EQ(Text(f.name), f.value) << f.name;
  EXPECT_EQ(peer_.FrameCount(), 0u) << "no framed traffic";

  OpenQuick(VariantId::kEP_06);
  EXPECT_EQ(Int("ModemSN"), 0x01020304) << "one record for every class that has a modem";
}

TEST_F(ModemTest, BaseRecordEmptiesTheExtendedValues) {
  OpenQuick(VariantId::kEP_06);
  Modem(WithLength(189, Record(189)));
  ASSERT_TRUE(Call<bool>(*driver_, "ModemStatusUpdate", false));
  Bytes base = Record(76);
  Le(base, 0, 7200, 4);
  Modem(WithLength(76, base));
  ASSERT_TRUE(Call<bool>(*driver_, "ModemStatusUpdate", false));
  EXPECT_EQ(Int("ModemSecondCnt"), 7200);
  EXPECT_EQ(Int("ModemID_SAM"), 5);
  EXPECT_EQ(Text("ModemUSSDResult"), "");
  EXPECT_EQ(Int("ModemOSVer"), 0);
  EXPECT_EQ(Int("ModemOSRev"), 0);
  EXPECT_EQ(Text("ModemSysTime"), "");
  for (const char* a :
       {"ModemNETIPAddr", "ModemNETGate", "ModemNETMask", "ModemMODIPAddr", "ModemACQIPAddr"}) {
    EXPECT_EQ(Text(a), "0.0.0.0") << a;
  }
  EXPECT_EQ(Int("ModemACQPort"), 0);
}

// A record whose length is below its layout or past the bytes that came is not read at all.
TEST_F(ModemTest, UnusableRecordsDecodeNothing) {
  const struct {
    const char* name;
    Bytes answer;
    Byte code;
    const char* text;
  } cases[] = {
      {"empty", {0x00}, 103, "Data format error!"},
      {"below the layout", WithLength(50, Record(50)), 103, "Data format error!"},
      {"past the bytes received", WithLength(76, Record(40)), 103, "Data format error!"},
      {"extended, cut short", WithLength(189, Record(120)), 103, "Data format error!"},
      {"silent", {}, 101, "Modem does not answer!"},
  };
  OpenQuick(VariantId::k05_03);
  PutLang(*driver_, 0);
  Modem(WithLength(189, Record(189)));
  ASSERT_TRUE(Call<bool>(*driver_, "ModemStatusUpdate", false));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.answer.empty()) ExpectSilence();
    Modem(c.answer);
    EXPECT_FALSE(Call<bool>(*driver_, "ModemStatusUpdate", false));
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(testing::PtyDriverTest::Text(*driver_), c.text);
    EXPECT_EQ(Int("ModemSN"), 0x01020304) << "the record held stays whole";
    EXPECT_EQ(Text("ModemNETIPAddr"), "192.168.0.1");
  }
}

TEST_F(ModemTest, ASuccessfulUpdateLeavesNoEarlierError) {
  OpenQuick(VariantId::k05_03);
  EXPECT_FALSE(Call<bool>(*driver_, "FPSendCustomer", Byte{5}, "A"));
  ASSERT_EQ(GetByteResult(*driver_), 111);
  Modem(WithLength(76, Record(76)));
  ASSERT_TRUE(Call<bool>(*driver_, "ModemStatusUpdate", false));
  EXPECT_EQ(GetByteResult(*driver_), 0);
  EXPECT_EQ(GetByteStatus(*driver_), 0);
  EXPECT_EQ(testing::PtyDriverTest::Text(*driver_), "");
}

class ModemReportTest : public testing::SimDriverTest {
 protected:
  void Start(VariantId id) {
    SimDriverTest::Start(id);
    ASSERT_TRUE(FPInitEx(d(), sim_->path(), 9600, 0, 0));
  }
  void KeepTape() {
    sim_->WithModel([this](sim::PrinterModel& m) {
      m.printing.tape = [this](std::string_view line) { tape_.push_back(sim::Cp866ToUtf8(line)); };
    });
  }
  std::vector<std::string> Tape() {
    return sim_->WithModel([this](sim::PrinterModel&) { return tape_; });
  }
  bool Printed(const std::string& line) {
    const auto tape = Tape();
    return std::find(tape.begin(), tape.end(), line) != tape.end();
  }
  std::vector<std::string> tape_;
};

TEST_F(ModemReportTest, ReportOnTheTapeOfBothClasses) {
  for (VariantId id : {VariantId::k05_03, VariantId::kEP_06}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    KeepTape();
    ASSERT_TRUE(Call<bool>(d(), "ModemStatusUpdate", true));
    EXPECT_EQ(Call<std::int32_t>(d(), "ModemSN"), 5300079);
    EXPECT_TRUE(Printed(" SN: 5300079,  0x0050DF6F"));
    EXPECT_TRUE(Printed(" OSVer: 2.05"));
    EXPECT_TRUE(Printed(" NETIPAddr: 192.168.0.10"));
    EXPECT_TRUE(Printed(" BatVoltage: 4.100 В."));
    EXPECT_TRUE(Printed(" Temperature: 31 ° C."));
    EXPECT_TRUE(Printed("  Хороший (21)"));
    EXPECT_TRUE(Printed("  DLS_PPP (17)"));
    EXPECT_TRUE(Printed("  DHCP_CHECK_LEASTIME (0x06)"));
    EXPECT_FALSE(Printed(" Res3: 1,  0x01")) << "only without an OS revision";
    EXPECT_TRUE(Printed(std::string(37, '*')));
    EXPECT_FALSE(sim_->WithModel([](sim::PrinterModel& m) { return m.status.mode.service_report_open; }))
        << "the last line ends the document";
    EXPECT_EQ(GetByteResult(d()), 0);
  }
}

TEST_F(ModemReportTest, WithoutAnOsRevisionTheFirmwareLinesAreSkipped) {
  Start(VariantId::k05_03);
  KeepTape();
  sim_->WithModel([](sim::PrinterModel& m) {
    Le(m.modem.record, 158, 0, 2);
    Le(m.modem.record, 56, 12345, 2);
  });
  ASSERT_TRUE(Call<bool>(d(), "ModemStatusUpdate", true));
  EXPECT_FALSE(Printed(" OSVer: 2.05"));
  EXPECT_FALSE(Printed(" NETIPAddr: 192.168.0.10"));
  EXPECT_FALSE(Printed(" RSSI_BER: "));
  EXPECT_TRUE(Printed(" Res3: 1,  0x01"));
  EXPECT_TRUE(Printed(" BatVoltage: 12.345 В."));
  EXPECT_TRUE(Printed(" RSSI: "));
}

// The report of held values may still print, but the update that failed stays the answer.
TEST_F(ModemReportTest, AFailedUpdateIsNotTurnedIntoSuccessByThePrint) {
  Start(VariantId::kEP_06);
  KeepTape();
  ASSERT_TRUE(Call<bool>(d(), "ModemStatusUpdate", false));
  for (auto reply : {sim::ModemState::Reply::kEmpty, sim::ModemState::Reply::kShort}) {
    sim_->WithModel([reply](sim::PrinterModel& m) { m.modem.reply = reply; });
    EXPECT_FALSE(Call<bool>(d(), "ModemStatusUpdate", true));
    EXPECT_EQ(GetByteResult(d()), 103);
    EXPECT_TRUE(Printed(" SN: 5300079,  0x0050DF6F")) << "printed from the values held";
  }
}

TEST_F(ModemReportTest, APrintingFailureStopsTheReport) {
  Start(VariantId::k05_03);
  KeepTape();
  sim_->WithModel([](sim::PrinterModel& m) { m.status.paper.receipt_out = true; });
  const auto before = sim_->counters().commands_executed;
  EXPECT_FALSE(Call<bool>(d(), "ModemStatusUpdate", true));
  EXPECT_EQ(sim_->counters().commands_executed, before + 1) << "nothing after the refused line";
  EXPECT_NE(GetByteResult(d()), 0);
  EXPECT_TRUE(Tape().empty());
  EXPECT_EQ(Call<std::int32_t>(d(), "ModemSN"), 5300079) << "the record itself was decoded";
}

TEST_F(ModemReportTest, ASilentModem) {
  Start(VariantId::k05_03);
  sim_->WithModel([](sim::PrinterModel& m) { m.modem.reply = sim::ModemState::Reply::kSilent; });
  module().settings.AnswerWaiting = 1;
  PutLang(d(), 2);
  EXPECT_FALSE(Call<bool>(d(), "ModemStatusUpdate", true));
  EXPECT_EQ(GetByteResult(d()), 101);
  EXPECT_EQ(GetByteStatus(d()), 255);
  EXPECT_EQ(AnsiToUtf8(GetTextErrorMessage(d())), "Модем не відповідає!");
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.modem.requests; }), 3u) << "three tries";
}

}  // namespace
}  // namespace zorfp
