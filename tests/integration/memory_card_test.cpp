// The memory card: a stored report read block by block into its file, the file's name from the
// serial number whatever that holds, saves that fail on the way, finding and reprinting reports,
// and the automatic copy after a Z report on the simulator, compared with the card's sectors.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "dates/date_time.h"
#include "errors/codepage.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

namespace fs = std::filesystem;
using testing::Call;
using testing::FromHex;
using testing::Hex;
using testing::Put;

double Ole(int y, int m, int d) {
  return *ToOleDate(*DateTime::From(y, m, d));
}

std::string CommandOf(const Bytes& frame) {
  Bytes content;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    content.push_back(frame[i]);
    if (frame[i] == 0x10) ++i;
  }
  return Hex(Bytes(content.begin() + 1, content.end() - 1));
}

// A status block whose first text is `serial` (padded to 19 characters); flags A as given.
Bytes StatusBlockWith(const std::string& serial, Byte a = 0) {
  std::string text1 = serial;
  text1.resize(19, ' ');
  Bytes out{a, 0};
  out.insert(out.end(), text1.begin(), text1.end());
  for (Byte b : FromHex("15 03 24 10 30")) out.push_back(b);
  for (char c : std::string("FN12345678")) out.push_back(static_cast<Byte>(c));
  for (Byte b : FromHex("01 41 01 42 00 01 43 30 35 2D 30 33")) out.push_back(b);
  return out;
}

// The byte a scripted card holds at `position` of `sector`.
Byte CardByte(std::uint32_t sector, std::size_t position) {
  return static_cast<Byte>(sector * 7 + position);
}

std::string FileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("zorfp-mmc-" + std::to_string(::getpid()) + "-" + std::to_string(++n_))) {
    fs::remove_all(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    if (!fs::exists(path_)) return out;
    for (const auto& e : fs::directory_iterator(path_)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }

 private:
  static inline int n_ = 0;
  fs::path path_;
};

class MemoryCardTest : public testing::PtyDriverTest {
 protected:
  // A printer with serial `serial` whose card holds report 15 of `records` records from sector 5;
  // `fail` answers the block read of that number (1-based) with result 52.
  void Card(std::string serial, std::uint16_t records, std::size_t fail = 0, Byte find_result = 0) {
    peer_.SetScript([=, reads = std::make_shared<std::size_t>(0)](const Bytes& f, std::size_t) {
      const Byte seq = testing::FrameSeqOf(f), code = testing::FrameCodeOf(f);
      const Bytes cmd = FromHex(CommandOf(f));
      Bytes data;
      Byte result = 0;
      if (code == 0x00) data = StatusBlockWith(serial);
      if (code == 0x37) {
        result = find_result;
        if (result == 0) data = {0x05, 0x00, 0x00, 0x00, 0x01, 0x00, static_cast<Byte>(records), static_cast<Byte>(records >> 8)};
      }
      if (code == 0x38) {
        const std::uint32_t sector = cmd[1] | cmd[2] << 8;
        const std::size_t position = cmd[5] | cmd[6] << 8;
        for (std::size_t i = 0; i < cmd[7]; ++i) data.push_back(CardByte(sector, position + i));
        if (++*reads == fail) data.clear(), result = 52;
      }
      return std::vector<testing::Reply>{{testing::AnswerFrame(seq, code, 0, result, 0, data)}};
    });
  }

  std::vector<std::string> Commands(Byte code) const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) {
      if (testing::FrameCodeOf(f) == code) out.push_back(CommandOf(f));
    }
    return out;
  }

  Folder folder_;
};

TEST_F(MemoryCardTest, ReportIsReadInBlocksThatNeverCrossASector) {
  const struct {
    std::uint16_t records;
    std::vector<std::string> reads;
  } cases[] = {
      {10, {"38 05 00 00 00 08 00 78"}},
      {11, {"38 05 00 00 00 08 00 7E", "38 05 00 00 00 86 00 06"}},
      {50,
       {"38 05 00 00 00 08 00 7E", "38 05 00 00 00 86 00 7E", "38 05 00 00 00 04 01 7E", "38 05 00 00 00 82 01 7E",
        "38 06 00 00 00 08 00 60"}},
      {0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.records);
    Open(VariantId::k05_03);
    Put(*driver_, "MMCReportFolder", AnsiString(folder_.path().string() + "\\\\"));
    Card("ZR53000079", c.records);
    clock_.pauses.clear();
    const std::size_t earlier = Commands(0x38).size();
    ASSERT_TRUE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
    EXPECT_EQ(clock_.pauses, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(1000)});
    EXPECT_EQ(Commands(0x37).back(), "37 0F 00");
    std::vector<std::string> reads = Commands(0x38);
    reads.erase(reads.begin(), reads.begin() + static_cast<std::ptrdiff_t>(earlier));
    EXPECT_EQ(reads, c.reads);
    const fs::path file = folder_.path() / "ZR53000079#15.ecr";
    if (c.records == 0) {
      EXPECT_FALSE(fs::exists(file)) << "nothing to write";
      continue;
    }
    EXPECT_EQ(Call<AnsiString>(*driver_, "MMCReportFolder"), folder_.path().string()) << "kept without them";
    // The card's bytes, record by record with the first and third byte swapped.
    std::string expected;
    std::uint32_t sector = 5;
    std::size_t position = 8;
    for (std::size_t i = 0; i < 12u * c.records; ++i, ++position) {
      if (position == 512) ++sector, position = 8;
      expected.push_back(static_cast<char>(CardByte(sector, position)));
    }
    for (std::size_t i = 0; i < expected.size(); i += 12) std::swap(expected[i], expected[i + 2]);
    EXPECT_EQ(FileText(file), expected);
    fs::remove(file);
  }
}

TEST_F(MemoryCardTest, FileNameFromAnySerialStaysInTheFolder) {
  const struct {
    const char* serial;
    const char* file;
  } cases[] = {
      {"../../etc", "------etc#15.ecr"},
      {"a:b\\c/d*e?", "a-b-c-d-e-#15.ecr"},
      {"..", "--#15.ecr"},
      {"AB\x01\x1F" "CD", "AB--CD#15.ecr"},
      {"  SN 42   ", "SN 42#15.ecr"},
      {"ZR12345678XYZ", "ZR12345678#15.ecr"},
  };
  Open(VariantId::k05_02);
  Put(*driver_, "MMCReportFolder", AnsiString(folder_.path().string()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.serial);
    Card(c.serial, 1);
    ASSERT_TRUE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
    EXPECT_EQ(folder_.Names(), std::vector<std::string>{c.file});
    fs::remove_all(folder_.path());
  }
  EXPECT_FALSE(fs::exists(folder_.path().parent_path() / "etc#15.ecr"));

  PutLang(*driver_, 0);
  Card("   ", 1);
  const std::size_t before = peer_.FrameCount();
  EXPECT_FALSE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  EXPECT_EQ(Text(*driver_), "Serial number of fiscal printer is empty!");
  EXPECT_EQ(peer_.FrameCount(), before + 1) << "the status request only";
  EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(MemoryCardTest, FailedSavesLeaveThePreviousFileAndNoPart) {
  Open(VariantId::k05_03);
  Put(*driver_, "MMCReportFolder", AnsiString(folder_.path().string()));
  Card("ZR53000079", 11);
  ASSERT_TRUE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
  const fs::path file = folder_.path() / "ZR53000079#15.ecr";
  const std::string first = FileText(file);
  ASSERT_EQ(first.size(), 132u);

  Card("ZR53000079", 11, /*fail=*/2);  // the second block is refused
  EXPECT_FALSE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
  EXPECT_EQ(GetByteResult(*driver_), 52);
  Card("ZR53000079", 11, 0, /*find_result=*/48);  // a refusal with status 0 is a refusal
  EXPECT_FALSE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{15}));
  EXPECT_EQ(GetByteResult(*driver_), 48);
  EXPECT_EQ(FileText(file), first);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"ZR53000079#15.ecr"});

  // A serial number that cannot be read stops the save before the window; the last one is not used.
  Answer({});
  clock_.pauses.clear();
  EXPECT_FALSE(Call<bool>(*driver_, "FPSaveReportFromMMC", std::uint16_t{16}));
  EXPECT_EQ(GetByteResult(*driver_), 102);
  EXPECT_TRUE(clock_.pauses.empty()) << "no window";
  EXPECT_EQ(peer_.Frames().size(), Commands(0x00).size() + Commands(0x37).size() + Commands(0x38).size());
  EXPECT_EQ(module().values[Index(VariantId::k05_03)].memory_card.ReportSerial, "");
}

TEST_F(MemoryCardTest, FindingAndReprintingReports) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  Answer(FromHex("07 00 09 00"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPFindMMCReportsOnDate", Ole(2021, 3, 5)));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMMCFirstReport"), 7);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMMCLastReport"), 9);
  Answer(FromHex("07 00 09 00 00 00"));
  EXPECT_FALSE(Call<bool>(*driver_, "FPFindMMCReportsOnDate", Ole(2021, 3, 5)));
  EXPECT_EQ(GetByteResult(*driver_), 103);
  Answer({}, 0, 48);
  EXPECT_FALSE(Call<bool>(*driver_, "FPFindMMCReportsOnDate", Ole(2021, 3, 6)));
  EXPECT_EQ(GetByteResult(*driver_), 48);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetMMCLastReport"), 9) << "kept from the last find";

  // The status block says the day is open (flags A bit 5).
  peer_.SetScript([](const Bytes& f, std::size_t) {
    const Byte code = testing::FrameCodeOf(f);
    return std::vector<testing::Reply>{{testing::AnswerFrame(testing::FrameSeqOf(f), code, 0, 0, 0,
                                                             code == 0x00 ? StatusBlockWith("S", 0x20) : Bytes{})}};
  });
  ASSERT_TRUE(Call<bool>(*driver_, "FPPrintMMC", std::uint16_t{1}, std::uint16_t{7}, std::uint16_t{5}, false, true));
  ASSERT_TRUE(Call<bool>(*driver_, "FPPrintMMC", std::uint16_t{1}, std::uint16_t{7}, std::uint16_t{9999}, true, false));
  ASSERT_TRUE(Call<bool>(*driver_, "FPPrintMMC", std::uint16_t{1}, std::uint16_t{0}, std::uint16_t{9999}, true, false));
  EXPECT_EQ(Commands(0x3F), (std::vector<std::string>{"3F 05 03 21", "3F 05 03 21", "3F 06 03 21"}));
  EXPECT_EQ(Commands(0x33), (std::vector<std::string>{"33 01 00 07 00 05 80 05 80", "33 01 00 07 00 FF FF FF FF",
                                                      "33 01 00 00 00 00 00 00 00"}));

  const std::size_t before = peer_.FrameCount();
  EXPECT_FALSE(Call<bool>(*driver_, "FPPrintMMC", std::uint16_t{1}, std::uint16_t{7}, std::uint16_t{10000}, false, false));
  EXPECT_EQ(Text(*driver_), "Incorrect number of report!");
  EXPECT_FALSE(Call<bool>(*driver_, "FPPrintMMC", std::uint16_t{65535}, std::uint16_t{7}, std::uint16_t{1}, false, false));
  EXPECT_EQ(GetByteResult(*driver_), 21);
  EXPECT_EQ(peer_.FrameCount(), before);
}

class MemoryCardOnSimulatorTest : public testing::SimDriverTest {
 protected:
  Folder folder_;
};

TEST_F(MemoryCardOnSimulatorTest, EachZReportIsCopiedAsTheCardHoldsIt) {
  for (VariantId id : {VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    Put(d(), "MMCReportFolder", AnsiString(folder_.path().string()));
    Put(d(), "AutoSaveReportFromMMC", true);
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 1000, Byte{3}, false, 1250, 0, false, "A", std::uint64_t{1}));
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 2000u, true, true));
    ASSERT_TRUE(Call<bool>(d(), "FPPrintMMC", std::uint16_t{0}, std::uint16_t{0}, std::uint16_t{0}, true, false))
        << "the open day";
    ASSERT_TRUE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
    ASSERT_TRUE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
    const auto [serial, card] = sim_->WithModel([](sim::PrinterModel& m) {
      return std::pair{m.status.identity.serial_number, m.card};
    });
    ASSERT_EQ(card.reports.size(), 2u);
    for (const sim::CardReport& r : card.reports) {
      sim::PrinterModel holder(*sim::ParseVariant(Traits(id).tag));
      holder.card = card;
      std::string expected;
      for (Byte b : sim::CardReportBytes(holder, r)) expected.push_back(static_cast<char>(b));
      for (std::size_t i = 0; i < expected.size(); i += 12) std::swap(expected[i], expected[i + 2]);
      EXPECT_EQ(FileText(folder_.path() / (serial + "#" + std::to_string(r.number) + ".ecr")), expected);
    }
    fs::remove_all(folder_.path());
  }
}

TEST_F(MemoryCardOnSimulatorTest, ZReportWhoseCopyFailsSaysTheDayIsClosed) {
  Start(VariantId::k05_03);
  PutLang(d(), 0);
  Put(d(), "MMCReportFolder", AnsiString(folder_.path().string()));
  Put(d(), "AutoSaveReportFromMMC", true);
  sim_->WithModel([](sim::PrinterModel& m) { m.card.failing = true; });
  EXPECT_FALSE(Call<bool>(d(), "FPDayClrReport", std::uint16_t{0}));
  EXPECT_EQ(GetByteResult(d()), 52) << "the save's own code";
  const std::string text = AnsiToUtf8(GetTextErrorMessage(d()));
  EXPECT_EQ(text.rfind("Z-report done, the day is closed; only copying the report from the memory card failed: ", 0), 0u)
      << text;
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.reports.fiscal_memory.size(); }), 1u);

  // Redoing only the copy, once the card works again, does not print a second Z report.
  sim_->WithModel([](sim::PrinterModel& m) {
    m.card.failing = false;
    const sim::FiscalDayRecord r = m.reports.fiscal_memory[0];
    sim::StoreCardReport(m, r.number, r.date, sim::ZReportRecords(r));
  });
  ASSERT_TRUE(Call<bool>(d(), "FPSaveReportFromMMC", std::uint16_t{1}));
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"ZR53000079#1.ecr"});
  EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.reports.fiscal_memory.size(); }), 1u);
}

}  // namespace
}  // namespace zorfp
