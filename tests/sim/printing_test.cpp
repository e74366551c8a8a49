// Printing outside receipts: the non-fiscal document and what it blocks, barcodes and the copy on
// the tape, the display as state, and the modem behind the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/model.h"
#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

struct Printer {
  explicit Printer(Variant v) : m(v) {
    m.printing.tape = [this](std::string_view line) { tape.push_back(Cp866ToUtf8(line)); };
  }
  Byte Run(const Bytes& command) { return Execute(m, command).answer.result; }

  PrinterModel m;
  std::vector<std::string> tape;
};

const Bytes kSale = {0x12, 0xE8, 0x03, 0x00, 0x03, 0x64, 0x00, 0x00, 0x00, 0x80, 0x01, 'X', 1, 0, 0, 0, 0, 0};
const Bytes kPayAndClose = {0x14, 0x03, 0x64, 0x00, 0x00, 0x80};

TEST(PrintTest, LineFeedPrintsAnEmptyLineUnlessPaperIsOut) {
  Printer p(Variant::kEp02);
  EXPECT_EQ(p.Run({0x0E}), 0);
  p.m.status.paper.receipt_out = true;
  const Answer refused = Execute(p.m, Bytes{0x0E}).answer;
  EXPECT_EQ(refused.result, result::kPaperOut);
  EXPECT_EQ(refused.status, 0x02);
  EXPECT_EQ(p.tape, std::vector<std::string>{""});
}

TEST(NonFiscalDocumentTest, OpenShowsInTheStatusAndRefusesReceiptsUntilItsEnd) {
  Printer p(Variant::k0503);
  ASSERT_EQ(p.Run({0x28, 0x02, 'A', 'B'}), 0);
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.data[1] & 0x08, 0x08) << "service report open";
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.reserve & 0x01, 0x01);
  EXPECT_EQ(p.Run(kSale), result::kCommandForbidden);
  EXPECT_EQ(p.Run({0x10, 0x64, 0, 0, 0}), result::kCommandForbidden) << "cash in";
  EXPECT_FALSE(p.m.receipt.open());
  EXPECT_EQ(p.Run({0x0E}), 0) << "paper actions go on";
  ASSERT_EQ(p.Run({0x28, 0xFF}), 0);
  EXPECT_FALSE(p.m.status.mode.service_report_open);
  EXPECT_EQ(p.tape.front(), "AB");
  EXPECT_EQ(p.tape[p.tape.size() - 2], "       НЕФIСКАЛЬНИЙ ДОКУМЕНТ");
  EXPECT_EQ(p.Run(kSale), 0);
  EXPECT_EQ(p.Run({0x28, 0x01, 'C'}), result::kReceiptOpen) << "not inside a receipt";
}

TEST(NonFiscalDocumentTest, LinesAreCheckedBeforeAnythingIsPrinted) {
  const struct {
    const char* name;
    Variant v;
    Bytes command;
    Byte result;
  } cases[] = {
      {"38 characters", Variant::k0503,
       [] {
         Bytes b{0x28, 38};
         b.resize(40, 'A');
         return b;
       }(),
       20},
      {"length past the bytes", Variant::k0503, {0x28, 0x03, 'A'}, 50},
      {"station bits off EP-06", Variant::kEp05, {0x28, 0x81, 'A'}, 16},
      {"station 2 on EP-06", Variant::kEp06, {0x28, 0x81, 'A'}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Printer p(c.v);
    EXPECT_EQ(p.Run(c.command), c.result);
    EXPECT_EQ(p.tape.size(), c.result == 0 ? 1u : 0u);
    EXPECT_EQ(p.m.status.mode.service_report_open, c.result == 0);
  }
}

TEST(NonFiscalDocumentTest, ReceiptOnlySwitchTogglesTheInvertedStatusBit) {
  Printer p(Variant::kEp05);
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.data[1] & 0x01, 0x01) << "bit set: not receipt-only";
  ASSERT_EQ(p.Run({0x28, 0xFE}), 0);
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.data[1] & 0x01, 0x00);
  ASSERT_EQ(p.Run({0x28, 0xFE}), 0);
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.data[1] & 0x01, 0x01);
}

TEST(PrintTest, BarcodesAreLinesWithTheirDigits) {
  Printer set_c(Variant::k0502);
  ASSERT_EQ(set_c.Run({0x2F, 0x03, 12, 99, 5}), 0);
  Printer code128(Variant::kEp06);
  ASSERT_EQ(code128.Run({0x2F, 0x03, 'A', '1', 0x01}), 0);
  EXPECT_EQ(set_c.tape, std::vector<std::string>{"CODE128C 129905"});
  EXPECT_EQ(code128.tape, std::vector<std::string>{"CODE128 A1?"});
  Bytes long_code{0x2F, 21};
  long_code.resize(23, 1);
  EXPECT_EQ(set_c.Run(long_code), result::kBadLength);
}

TEST(PrintTest, CopyReprintsTheLastClosedReceiptNotACancelledOne) {
  Printer p(Variant::k0503);
  ASSERT_EQ(p.Run(kSale), 0);
  ASSERT_EQ(p.Run(kPayAndClose), 0);
  const std::vector<std::string> receipt = p.tape;
  ASSERT_EQ(p.Run(kSale), 0);
  EXPECT_EQ(p.Run({0x1E}), result::kReceiptOpen);
  ASSERT_EQ(p.Run({0x0F}), 0);  // cancelled
  p.tape.clear();
  ASSERT_EQ(p.Run({0x1E}), 0);
  ASSERT_EQ(p.tape.size(), receipt.size() + 1);
  EXPECT_EQ(p.tape.front(), std::string(15, ' ') + "КОПIЯ");
  EXPECT_EQ(std::vector<std::string>(p.tape.begin() + 1, p.tape.end()), receipt);
}

TEST(PrintTest, DisplayKeepsItsLinesAndSwitchesToggle) {
  Printer p(Variant::k0503);
  ASSERT_EQ(p.Run({0x1B, 0x03, 0x02, 'H', 'i'}), 0);
  EXPECT_EQ(p.m.printing.registers.display[3], "Hi");
  ASSERT_EQ(p.Run({0x25}), 0);
  EXPECT_EQ(Execute(p.m, Bytes{0x00}).answer.data[0] & 0x80, 0x80);
  ASSERT_EQ(p.Run({0x2E}), 0);
  EXPECT_FALSE(p.m.printing.cutter_enabled);
  EXPECT_TRUE(p.tape.empty()) << "the display and switches print nothing";
}

Bytes Hear(PrinterModel& m, std::string_view bytes) {
  Bytes out;
  for (const char c : bytes) {
    const Bytes b = HearOutsideFrames(m, static_cast<Byte>(c));
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

TEST(ModemTest, AnswersTheRequestInOneBurstAsConfigured) {
  const struct {
    const char* name;
    ModemState::Reply reply;
    std::size_t record;
    std::size_t sent;  // bytes of the burst
    Byte length;
  } cases[] = {
      {"extended record", ModemState::Reply::kRecord, 189, 190, 189},
      {"base record", ModemState::Reply::kRecord, 76, 77, 76},
      {"short", ModemState::Reply::kShort, 76, 39, 76},
      {"empty", ModemState::Reply::kEmpty, 189, 1, 0},
      {"silent", ModemState::Reply::kSilent, 189, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterModel m(Variant::k0503);
    m.modem.reply = c.reply;
    m.modem.record = FactoryModemRecord(c.record);
    EXPECT_TRUE(Hear(m, "~~#01").empty());
    const Bytes burst = Hear(m, "#");
    ASSERT_EQ(burst.size(), c.sent);
    if (!burst.empty()) {
      EXPECT_EQ(burst[0], c.length);
    }
    EXPECT_EQ(m.modem.requests, 1u);
  }
  PrinterModel no_modem(Variant::kEp05);
  EXPECT_TRUE(Hear(no_modem, "~~#01#").empty());
  PrinterModel noisy(Variant::kEp06);
  EXPECT_EQ(Hear(noisy, "x~~~#01#").size(), 190u) << "found after stray bytes";
}

}  // namespace
}  // namespace zorfp::sim
