// The printing reports on the wire, their refusals before anything is sent, the last Z report's
// number and date, the Z report behind the waiting window, and whole days on the simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dates/date_time.h"
#include "driver/long_job.h"
#include "errors/codepage.h"
#include "errors/texts.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::FromHex;
using testing::Hex;
using testing::Put;

double Ole(int y, int m, int d) {
  return *ToOleDate(*DateTime::From(y, m, d));
}

// The command bytes of a frame as the driver wrote it: unstuffed, without number and checksum.
std::string CommandOf(const Bytes& frame) {
  Bytes content;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    content.push_back(frame[i]);
    if (frame[i] == 0x10) ++i;
  }
  return Hex(Bytes(content.begin() + 1, content.end() - 1));
}

class ReportsTest : public testing::PtyDriverTest {
 protected:
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) out.push_back(CommandOf(f));
    return out;
  }
};

TEST_F(ReportsTest, CommandsOnTheWire) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  const struct {
    const char* name;
    VariantId id;
    std::function<void(Driver&)> call;
    const char* command;
  } cases[] = {
      {"X report", VariantId::kEP_02, [](Driver& d) { Call<bool>(d, "FPDayReport", std::uint16_t{65534}); },
       "09 FE FF"},
      {"Z report", VariantId::kEP_06, [](Driver& d) { Call<bool>(d, "FPDayClrReport", std::uint16_t{1}); },
       "0D 01 00"},
      {"older article report", VariantId::kEP_01, [](Driver& d) { Call(d, "FPArtReport", std::uint16_t{2}); },
       "07 02 00"},
      {"older Z report", VariantId::k08_01, [](Driver& d) { Call(d, "FPDayClrReport", std::uint16_t{0}); },
       "0D 00 00"},
      {"all articles", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPXArtReportExt", std::uint16_t{0}, std::uint64_t{0}, std::uint64_t{0}); },
       "0A 00 00"},
      {"article range, smaller first", VariantId::kEP_05,
       [](Driver& d) { Call<bool>(d, "FPXArtReportExt", std::uint16_t{0}, std::uint64_t{200}, std::uint64_t{100}); },
       "0A 00 00 64 00 00 00 00 00 C8 00 00 00 00 00"},
      {"article range as text", VariantId::k05_02,
       [](Driver& d) { Call<bool>(d, "FPXArtReportExtEx", std::uint16_t{0}, "281474976710655", "7"); },
       "0A 00 00 07 00 00 00 00 00 FF FF FF FF FF FF"},
      {"periodic report", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPPeriodicReport", std::uint16_t{0x1234}, Ole(2021, 3, 5), Ole(2021, 3, 31));
       },
       "11 34 12 05 03 21 31 03 21"},
      {"short periodic report, reversed dates go as given", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPPeriodicReportShort", std::uint16_t{0}, Ole(2024, 12, 9), Ole(2009, 1, 1)); },
       "1A 00 00 09 12 24 01 01 09"},
      {"periodic report of equal numbers", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPPeriodicNumberReport", std::uint16_t{0}, std::uint16_t{300}, std::uint16_t{300});
       },
       "1F 00 00 2C 01 2C 01"},
      {"lock report", VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPPrintLockReport", std::uint16_t{9}); },
       "4A 09 00"},
      {"last Z number", VariantId::kEP_02, [](Driver& d) { Call<AnsiString>(d, "GetNumZReport"); },
       "1C 37 00 10 02"},
      {"last Z date", VariantId::kEP_02, [](Driver& d) { Call<AnsiString>(d, "GetLastDateZReport"); },
       "1C 69 01 10 03"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    Answer({});
    const std::size_t before = peer_.FrameCount();
    c.call(*driver_);
    ASSERT_EQ(peer_.FrameCount(), before + 1);
    EXPECT_EQ(Commands().back(), c.command);
  }
  EXPECT_EQ(Hex(peer_.Frames().front()), "10 02 01 09 FE FF F9 10 03");
}

TEST_F(ReportsTest, RefusedBeforeAnythingIsSent) {
  const std::uint16_t kRefused = 65535;
  const struct {
    const char* name;
    VariantId id;
    std::function<bool(Driver&)> call;
    Byte code;
    const char* text;
  } cases[] = {
      {"X report", VariantId::kEP_02, [&](Driver& d) { return Call<bool>(d, "FPDayReport", kRefused); }, 21,
       "Incorrect password of reports!"},
      {"Z report", VariantId::kEP_05, [&](Driver& d) { return Call<bool>(d, "FPDayClrReport", kRefused); }, 21,
       "Incorrect password of reports!"},
      {"Z report behind the window", VariantId::k05_03,
       [&](Driver& d) { return Call<bool>(d, "FPDayClrReport", kRefused); }, 21, "Incorrect password of reports!"},
      {"article report", VariantId::kEP_06, [&](Driver& d) { return Call<bool>(d, "FPXArtReport", kRefused); }, 21,
       "Incorrect password of reports!"},
      {"periodic report", VariantId::k05_02,
       [&](Driver& d) { return Call<bool>(d, "FPPeriodicReport", kRefused, Ole(2021, 1, 1), Ole(2021, 2, 1)); }, 21,
       "Incorrect password of reports!"},
      {"lock report", VariantId::k05_03, [&](Driver& d) { return Call<bool>(d, "FPPrintLockReport", kRefused); },
       21, "Incorrect password of reports!"},
      {"numbers reversed", VariantId::kEP_02,
       [](Driver& d) {
         return Call<bool>(d, "FPPeriodicNumberReport", std::uint16_t{0}, std::uint16_t{5}, std::uint16_t{4});
       },
       111, "Initial number of report more than final!"},
      {"article number of 2^48", VariantId::kEP_05,
       [](Driver& d) {
         return Call<bool>(d, "FPXArtReportExt", std::uint16_t{0}, std::uint64_t{1}, std::uint64_t{1} << 48);
       },
       111, "Incorrect item code (barcode)!"},
      {"negative article number", VariantId::k05_03,
       [](Driver& d) { return Call<bool>(d, "FPXArtReportExtEx", std::uint16_t{0}, "-1", "10"); }, 111,
       "Incorrect item code (barcode)!"},
      {"article number not a number", VariantId::k05_03,
       [](Driver& d) { return Call<bool>(d, "FPXArtReportExtEx", std::uint16_t{0}, "12a", "10"); }, 111,
       "Incorrect item code (barcode)!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.id);
    PutLang(*driver_, 0);
    Answer({});
    EXPECT_FALSE(c.call(*driver_));
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(GetByteStatus(*driver_), 255);
    EXPECT_EQ(Text(*driver_), c.text);
  }
  EXPECT_EQ(peer_.FrameCount(), 0u);

  // The older classes: the text alone, and the article report's own English text.
  Open(VariantId::kEP_01);
  PutLang(*driver_, 0);
  const Byte left = GetByteResult(*driver_);
  Call(*driver_, "FPArtReport", kRefused);
  EXPECT_EQ(OlderText(*driver_), "Incorrect password of reports");
  EXPECT_EQ(GetByteResult(*driver_), left) << "the older classes set the text alone";
  Open(VariantId::k08_01);
  PutLang(*driver_, 2);
  Call(*driver_, "FPDayReport", kRefused);
  EXPECT_EQ(OlderText(*driver_), "Невірний пароль звітів!");
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(ReportsTest, LastZNumberAndDateAsStored) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  const struct {
    const char* stored;
    const char* text;
    std::int32_t number;
  } numbers[] = {{"01 00", "1", 1}, {"05 00", "4", 4}, {"00 00", "65535", 65535}, {"2C 01", "299", 299}};
  for (const auto& n : numbers) {
    SCOPED_TRACE(n.stored);
    Answer(FromHex(n.stored));
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetNumZReport"), n.text);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetNumZReportExt"), n.number);
  }
  const struct {
    const char* stored;
    const char* text;
    double date;
    Byte code;
  } dates[] = {
      {"00 00 00", "01.01.03", Ole(2003, 1, 1), 0},
      {"25 12 23", "25.12.23", Ole(2023, 12, 25), 0},
      {"29 02 24", "29.02.24", Ole(2024, 2, 29), 0},
      {"29 02 23", "", 0, 30},
      {"32 01 23", "", 0, 30},
  };
  for (const auto& t : dates) {
    SCOPED_TRACE(t.stored);
    Answer(FromHex(t.stored));
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetLastDateZReport"), t.text);
    EXPECT_EQ(GetByteResult(*driver_), t.code);
    EXPECT_EQ(Call<double>(*driver_, "GetLastDateZReportExt"), t.date);
  }
  EXPECT_EQ(Text(*driver_), "Transformation error to date format!");

  Answer({}, 0, 16);  // refused: nothing is decoded
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetNumZReport"), "");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetNumZReportExt"), 0);
  EXPECT_EQ(GetByteResult(*driver_), 16);
  Answer(FromHex("05"));  // cut short
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetNumZReportExt"), 0);
  EXPECT_EQ(GetByteResult(*driver_), 103);

  Open(VariantId::kEP_01);
  Answer(FromHex("08 00"));
  EXPECT_EQ(Call<AnsiString>(*driver_, "FPGetNumZReport"), "7");
}

TEST_F(ReportsTest, LongJobAskedForInsideTheWindowIsRefused) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  peer_.SetScript(testing::AnswerAll());
  bool ran = false;
  ASSERT_TRUE(RunLongJob(*driver_, kWaitSavingReport, texts::kWaitSavingReport, [&] {
    ran = true;
    EXPECT_FALSE(Call<bool>(*driver_, "FPDayClrReport", std::uint16_t{0}));
    EXPECT_EQ(GetByteResult(*driver_), 111);
    EXPECT_EQ(Text(*driver_), "Another long operation is running, try again later!");
  }));
  EXPECT_TRUE(ran);
  EXPECT_EQ(peer_.FrameCount(), 0u);
  EXPECT_TRUE(Call<bool>(*driver_, "FPDayClrReport", std::uint16_t{0})) << "after the window, a Z report runs";
}

// A day on the simulated printer: receipts, X report, Z report, then everything the day left read
// back and compared with the printer's own state.
class ReportsOnSimulatorTest : public testing::SimDriverTest {
 protected:
  void SellAndPay() {
    if (d().traits().older_family) {
      Call(d(), "FPSale", 1000, Byte{3}, 1250, Byte{0}, "A", std::uint32_t{1});
      Call(d(), "FPPayment", Byte{3}, 2000u, true, false, "");
    } else {
      ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 1250, 0, false, "A", std::uint64_t{1}));
      ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 2000u, true, true));
    }
    ASSERT_EQ(GetByteResult(d()), 0) << AnsiToUtf8(GetTextErrorMessage(d()));
  }
};

TEST_F(ReportsOnSimulatorTest, AWholeDayOnEveryClass) {
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01, VariantId::kEP_02, VariantId::kEP_05,
                       VariantId::kEP_06, VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    const bool older = d().traits().older_family;
    SellAndPay();
    SellAndPay();
    if (older) {
      Call(d(), "FPDayReport", std::uint16_t{0});
      Call(d(), "FPDayClrReport", std::uint16_t{0});
      ASSERT_EQ(AnsiToUtf8(GetTextErrorMessage(d())), "");
      EXPECT_EQ(Call<AnsiString>(d(), "FPGetNumZReport"), "1");
    } else {
      ASSERT_TRUE(Call<bool>(d(), "FPDayReport", std::uint16_t{0}));
      ASSERT_TRUE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
      EXPECT_EQ(Call<AnsiString>(d(), "GetNumZReport"), "1");
      EXPECT_EQ(Call<std::int32_t>(d(), "GetSaleCheckNumber"), 0) << "the day's registers are cleared";
      EXPECT_EQ(Call<AnsiString>(d(), "GetTurnSaleTax_A"), "0");
    }
    const auto reports = sim_->WithModel([](sim::PrinterModel& m) { return m.reports; });
    ASSERT_EQ(reports.fiscal_memory.size(), 1u);
    const sim::FiscalDayRecord& rec = reports.fiscal_memory[0];
    EXPECT_EQ(rec.sale_receipts, 2u);
    EXPECT_EQ(rec.sale_turnover[0], 2500);
    if (!older) {
      const double z_date = Ole(rec.date.year, rec.date.month, rec.date.day);
      if (Traits(id).has_active_port) EXPECT_EQ(Call<double>(d(), "GetLastDateZReportExt"), z_date);
      char text[16];
      std::snprintf(text, sizeof text, "%02d.%02d.%02d", rec.date.day, rec.date.month, rec.date.year % 100);
      EXPECT_EQ(Call<AnsiString>(d(), "GetLastDateZReport"), text);
    }
    if (Traits(id).has_active_port) {
      EXPECT_NE(std::find(clock_.pauses.begin(), clock_.pauses.end(), std::chrono::milliseconds(1000)),
                clock_.pauses.end())
          << "behind the waiting window";
      EXPECT_EQ(module().ActivePort[Index(id)], nullptr);
      ASSERT_TRUE(Call<bool>(d(), "FPGetFMDay", std::uint16_t{1}));
      EXPECT_EQ(Call<double>(d(), "GetRepDate"), Ole(rec.date.year, rec.date.month, rec.date.day));
      EXPECT_EQ(Call<std::int32_t>(d(), "GetRepSaleReceipts"), 2);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetRepRefundReceipts"), 0);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetRepTurnSaleOnTax_A"), 2500);
      EXPECT_EQ(Call<std::int32_t>(d(), "GetRepTurnSaleOnTax_B"), 0);
      ASSERT_TRUE(Call<bool>(d(), "FPReadDayReport"));
      EXPECT_EQ(Call<std::int32_t>(d(), "GetDaySaleReceipts"), 0);
      EXPECT_FALSE(Call<bool>(d(), "FPGetFMDay", std::uint16_t{2})) << "not written yet";
      EXPECT_EQ(Call<double>(d(), "GetRepDate"), 0.0);
    }
    clock_.pauses.clear();
  }
}

TEST_F(ReportsOnSimulatorTest, SlowZReportBehindTheWindowAndALostAnswerExecutedOnce) {
  sim::SimulatorOptions o;
  o.processing_times[0x0D] = std::chrono::milliseconds(700);
  o.syn_interval = std::chrono::milliseconds(100);
  Start(VariantId::k05_03, o);
  ASSERT_TRUE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
  EXPECT_GT(sim_->counters().keepalive_syns, 0u) << "the printer kept the driver waiting";

  sim_->SetFault(sim::FaultKind::kLoseAnswer, sim::FaultRule::Times(1));
  ASSERT_TRUE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
  EXPECT_EQ(sim_->counters().repeats_answered, 1u) << "the resend was answered from memory";
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.reports.fiscal_memory.size(); }), 2u)
      << "two Z reports asked for, two executed";
  EXPECT_EQ(Call<std::int32_t>(d(), "GetNumZReportExt"), 2);
}

TEST_F(ReportsOnSimulatorTest, ServiceAndNonFiscalReportFlags) {
  for (VariantId id : {VariantId::kEP_02, VariantId::kEP_05, VariantId::k05_02}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    const char* flag = id == VariantId::kEP_02 ? "ServiceReportStatus" : "GetServiceReportStatus";
    EXPECT_FALSE(Call<bool>(d(), flag));
    sim_->WithModel([](sim::PrinterModel& m) { m.status.mode.service_report_open = true; });
    EXPECT_TRUE(Call<bool>(d(), flag));
    if (id == VariantId::kEP_05) {
      sim_->WithModel([](sim::PrinterModel& m) { m.status.mode.service_report_only_receipt = true; });
      EXPECT_TRUE(Call<bool>(d(), "GetServiceReportOnlyReceipt"));
    }
    if (id == VariantId::k05_02) {
      EXPECT_FALSE(Call<bool>(d(), "NonFiscalReportOpened")) << "held, not asked";
      ASSERT_TRUE(Call<bool>(d(), "FPGetCurrentStatus"));
      EXPECT_TRUE(Call<bool>(d(), "NonFiscalReportOpened"));
    }
  }
}

}  // namespace
}  // namespace zorfp
