// Reports in the printer model: the Z report closing the day into the fiscal memory, the journal and
// the memory card; the reports' refusals; the card's sectors and blocks. Driven in-process.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/fields.h"
#include "sim/model.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

Answer Send(PrinterModel& m, const Bytes& command) {
  return Execute(m, command).answer;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A closed sale of 12.50 in group A paid in cash, as the variant's host sends it.
void SellOne(PrinterModel& m) {
  const int code_bytes = m.variant == kEp01 ? 4 : m.variant == k0801 ? 2 : 6;
  Bytes item = {0x12, 0x01, 0x00, 0x00, 0x80, 0xE2, 0x04, 0x00, 0x00, 0x80, 0x01, 'X'};
  item.insert(item.end(), static_cast<std::size_t>(code_bytes), 0x00);
  item[item.size() - static_cast<std::size_t>(code_bytes)] = 0x01;
  ASSERT_EQ(Send(m, item).result, 0);
  Bytes pay = {0x14, 0x03, 0xE2, 0x04, 0x00, 0x80};
  if (m.variant == kEp01 || m.variant == k0801) pay.push_back(0x00);
  ASSERT_EQ(Send(m, pay).result, 0);
}

std::vector<std::string> Tape;

void Collect(PrinterModel& m) {
  Tape.clear();
  m.printing.tape = [](std::string_view line) { Tape.push_back(Cp866ToUtf8(line)); };
}

bool Printed(const std::string& text) {
  for (const std::string& line : Tape) {
    if (line.find(text) != std::string::npos) return true;
  }
  return false;
}

TEST(ZReportTest, ClosesTheDayIntoFiscalMemoryJournalAndCard) {
  for (Variant v : AllVariants()) {
    SCOPED_TRACE(Tag(v));
    PrinterModel m(v);
    Collect(m);
    SellOne(m);
    SellOne(m);
    ASSERT_TRUE(m.status.mode.day_open);
    ASSERT_EQ(Send(m, {0x0D, 0x00, 0x00}).result, 0);
    EXPECT_TRUE(Printed("Z-ЗВIТ N 1"));
    EXPECT_TRUE(Printed("25.00")) << "the day's turnover of group A";
    EXPECT_FALSE(m.status.mode.day_open);
    EXPECT_EQ(m.day.sales.receipts, 0u);
    EXPECT_EQ(m.day.sales.turnover_by_group[0], 0);
    ASSERT_EQ(m.reports.fiscal_memory.size(), 1u);
    const FiscalDayRecord& rec = m.reports.fiscal_memory[0];
    EXPECT_EQ(rec.sale_receipts, 2u);
    EXPECT_EQ(rec.sale_turnover[0], 2500);
    const CivilTime now = m.clock.NowCivil();
    const Bytes date = {BcdByte(now.day), BcdByte(now.month), BcdByte(now.year % 100)};
    EXPECT_EQ(Send(m, {0x1C, 0x37, 0x00, 0x10, 0x02}).data, (Bytes{0x02, 0x00})) << "the next Z number";
    EXPECT_EQ(Send(m, {0x1C, 0x69, 0x01, 0x10, 0x03}).data, date);
    EXPECT_EQ(m.reports.journal.first_record, 1u);
    EXPECT_EQ(m.reports.journal.last_record, 3u) << "two receipts and the report";

    const bool card = v == k0502 || v == k0503;
    ASSERT_EQ(m.card.reports.size(), card ? 1u : 0u);
    if (card) {
      const Answer day = Send(m, Join({{0x36, 0x01, 0x00}}));
      ASSERT_EQ(day.data.size(), 69u);
      EXPECT_EQ(Bytes(day.data.begin() + 2, day.data.begin() + 5), date);
      EXPECT_EQ(day.data[5], 2);
      EXPECT_EQ(day.data[9], 0xC4) << "2500 = 0x09C4, low byte first";
      EXPECT_EQ(CardReportBytes(m, m.card.reports[0]), ZReportRecords(rec));
      const Answer found = Send(m, {0x37, 0x01, 0x00});
      EXPECT_EQ(found.data, (Bytes{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x0D, 0x00})) << "sector 1, 13 records";
      EXPECT_EQ(Send(m, Join({{0x3F}, date})).data, (Bytes{0x01, 0x00, 0x01, 0x00}));
    }
    ASSERT_EQ(Send(m, {0x0D, 0x00, 0x00}).result, 0) << "an empty day closes too";
    EXPECT_EQ(m.reports.next_z_number, 3);
  }
}

TEST(ReportRefusalTest, EachWithItsResult) {
  struct Case {
    const char* name;
    Variant variant;
    std::function<void(PrinterModel&)> setup;
    Bytes command;
    Byte result;
  };
  const auto open_receipt = [](PrinterModel& m) {
    ASSERT_EQ(Send(m, {0x12, 0x01, 0x00, 0x00, 0x80, 0x10, 0x00, 0x00, 0x00, 0x80, 0x01, 'X', 1, 0, 0, 0, 0, 0}).result, 0);
  };
  const auto no_paper = [](PrinterModel& m) { m.status.paper.receipt_out = true; };
  const auto one_day = [](PrinterModel& m) { ASSERT_EQ(Send(m, {0x0D, 0x00, 0x00}).result, 0); };
  const auto none = [](PrinterModel&) {};
  const Case cases[] = {
      {"wrong password", k0503, none, {0x0D, 0x01, 0x00}, result::kBadPassword},
      {"Z with a receipt open", k0503, open_receipt, {0x0D, 0x00, 0x00}, result::kReceiptOpen},
      {"X without paper", kEp02, no_paper, {0x09, 0x00, 0x00}, result::kPaperOut},
      {"Z without its password", kEp05, none, {0x0D}, result::kCommandForbidden},
      {"reversed date range", k0502, one_day, {0x11, 0, 0, 0x31, 0x03, 0x21, 0x05, 0x03, 0x21}, 50},
      {"no such date", k0502, one_day, {0x1A, 0, 0, 0x30, 0x02, 0x21, 0x05, 0x03, 0x21}, result::kBadDateTime},
      {"nothing in the date range", kEp06, one_day, {0x11, 0, 0, 0x01, 0x01, 0x20, 0x31, 0x12, 0x20},
       result::kNoReceipts},
      {"number range past the last Z", k0503, one_day, {0x1F, 0, 0, 0x01, 0x00, 0x02, 0x00}, result::kBadNumber},
      {"reversed number range", k0503, one_day, {0x1F, 0, 0, 0x02, 0x00, 0x01, 0x00}, 50},
      {"reversed article range", kEp02, none, {0x0A, 0, 0, 9, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}, 16},
      {"fiscal record never written", k0503, none, {0x36, 0x01, 0x00}, result::kBadNumber},
      {"lock report password", k0503, none, {0x4A, 0x05, 0x00}, result::kBadPassword},
      {"no card", k0502, [](PrinterModel& m) { m.card.present = false; }, {0x37, 0x01, 0x00}, kCardMissing},
      {"card report not found", k0503, none, {0x37, 0x01, 0x00}, kCardReportNotFound},
      {"full card refuses the Z report", k0503, [](PrinterModel& m) { FillCard(m); }, {0x0D, 0x00, 0x00}, kCardFull},
      {"failing card", k0503, [](PrinterModel& m) { m.card.failing = true; }, {0x38, 1, 0, 0, 0, 8, 0, 12},
       kCardFailure},
      {"block past the sector", k0503, none, {0x38, 1, 0, 0, 0, 0xF8, 0x01, 9}, 50},
      {"block beyond the card", k0503, none, {0x38, 0, 0x10, 0, 0, 8, 0, 12}, kCardFailure},
      {"reprint of a report not on the card", k0503, none, {0x33, 0, 0, 7, 0, 0xFF, 0xFF, 0xFF, 0xFF},
       kCardReportNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterModel m(c.variant);
    c.setup(m);
    const auto before = m.reports.fiscal_memory.size();
    EXPECT_EQ(Send(m, c.command).result, c.result);
    EXPECT_EQ(m.reports.fiscal_memory.size(), before) << "a refusal changes nothing";
  }
}

TEST(MemoryCardTest, ReportsRunOnFromByteEightOfEachSector) {
  PrinterModel m(k0503);
  Bytes records(50 * kCardRecordSize);
  for (std::size_t i = 0; i < records.size(); ++i) records[i] = static_cast<Byte>(i);
  ASSERT_TRUE(StoreCardReport(m, 7, {2024, 3, 5}, records));
  ASSERT_TRUE(StoreCardReport(m, 8, {2024, 3, 5}, Bytes(12, 0xAB)));
  EXPECT_EQ(Send(m, {0x37, 0x07, 0x00}).data, (Bytes{0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x32, 0x00}));
  EXPECT_EQ(Send(m, {0x37, 0x08, 0x00}).data[0], 3) << "the next report takes the next free sector";
  // The fifth block is the first 96 bytes of the second sector's data.
  const Answer tail = Send(m, {0x38, 0x02, 0, 0, 0, 0x08, 0x00, 96});
  EXPECT_EQ(tail.data, Bytes(records.begin() + 504, records.end()));
  EXPECT_EQ(Send(m, {0x38, 0x01, 0, 0, 0, 0x82, 0x01, 126}).data,
            Bytes(records.begin() + 378, records.begin() + 504));
  EXPECT_EQ(Send(m, {0x3F, 0x05, 0x03, 0x24}).data, (Bytes{0x07, 0x00, 0x08, 0x00}));
  EXPECT_EQ(Send(m, {0x3F, 0x06, 0x03, 0x24}).result, kCardReportNotFound);
}

}  // namespace
}  // namespace zorfp::sim
