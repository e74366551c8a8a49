// The printer model: the status block per variant, the status and reserve bytes, and the commands
// it knows so far. Driven in-process; the wire is the exchange tests' business.
#include "sim/model.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using ::testing::ElementsAreArray;
using namespace std::chrono_literals;

Bytes Text(std::string_view s) {
  return Bytes(s.begin(), s.end());
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Every register of the status block set to something recognisable.
PrinterModel Recognisable(Variant v) {
  PrinterModel m(v);
  m.identity.serial_number = "1234567890";
  m.identity.model_name = "ABCDEFGHI";
  m.identity.fiscal_number = "0123456789";
  m.fiscalization = {true, {2024, 3, 5, 14, 7, 0}};
  m.header[0] = {"A", true, false};
  m.header[1] = {"BB", false, true};
  m.header[2] = {"", false, false};
  m.header[3] = {"DDDD", false, false};
  return m;
}

struct StatusCase {
  Variant variant;
  Byte flags_b;       // fiscalized; in EP-05 and EP-06 also bit 0, the inverted receipt-only flag
  Byte line1_length;  // double width in bit 6 where the variant reads attributes
  Byte line2_length;  // double height in bit 7
  Bytes version;      // empty: the variant sends none
};

TEST(StatusBlockTest, FollowsTheLayoutOfEachVariant) {
  const std::vector<StatusCase> cases = {
      {Variant::kEp01, 0x10, 0x01, 0x02, {0x85, 0x8F, '-', '0', '1'}},
      {Variant::k0801, 0x10, 0x01, 0x02, {}},
      {Variant::kEp02, 0x10, 0x41, 0x82, {0x85, 0x8F, '-', '0', '2'}},
      {Variant::kEp05, 0x11, 0x41, 0x82, {0x85, 0x8F, '-', '0', '5'}},
      {Variant::kEp06, 0x11, 0x41, 0x82, {0x85, 0x8F, '-', '0', '6'}},
      {Variant::k0502, 0x10, 0x41, 0x82, Text("05-02")},
      {Variant::k0503, 0x10, 0x41, 0x82, Text("05-03")},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(std::string(Tag(c.variant)));
    const Bytes expected = Join({
        {0x00, c.flags_b},               // mode flags
        Text("1234567890ABCDEFGHI"),     // offset 2, 19 bytes
        {0x05, 0x03, 0x24, 0x14, 0x07},  // offset 21: fiscalized 05.03.24 14:07
        Text("0123456789"),              // offset 26
        {c.line1_length},
        Text("A"),  // offset 36
        {c.line2_length},
        Text("BB"),
        {0x00},
        {0x04},
        Text("DDDD"),
        c.version,
    });
    const PrinterModel m = Recognisable(c.variant);
    EXPECT_THAT(StatusBlock(m), ElementsAreArray(expected));
  }
}

TEST(StatusBlockTest, PadsAndCutsFixedFields) {
  PrinterModel m(Variant::kEp02);
  m.identity.serial_number = "S1";
  m.identity.model_name = "";
  m.identity.fiscal_number = "12345678901234";
  m.fiscalization.done = false;
  const Bytes block = StatusBlock(m);
  EXPECT_EQ(Bytes(block.begin() + 2, block.begin() + 21), Text("S1                 "));
  EXPECT_EQ(Bytes(block.begin() + 21, block.begin() + 26), Bytes(5, 0x00));
  EXPECT_EQ(Bytes(block.begin() + 26, block.begin() + 36), Text("1234567890"));
  EXPECT_EQ(block[1] & 0x10, 0);
}

TEST(StatusBlockTest, HeaderLengthFitsTheVariantsLengthByte) {
  PrinterModel newer(Variant::k0503), older(Variant::kEp01);
  newer.header = {HeaderLine{std::string(70, 'x')}, {}, {}, {}};
  older.header = newer.header;
  EXPECT_EQ(StatusBlock(newer)[36], 63);  // six bits of length
  EXPECT_EQ(StatusBlock(older)[36], 70);
}

TEST(StatusBlockTest, FactoryHeaderIsCodePage866) {
  const PrinterModel m(Variant::k0503);
  const Bytes block = StatusBlock(m);
  const std::size_t length = block[36] & 0x3F;
  EXPECT_EQ(Cp866ToUtf8(std::string(block.begin() + 37, block.begin() + 37 + static_cast<long>(length))),
            "ООО \"ЗОРЯ\"");
}

struct FlagsCase {
  Variant variant;
  Byte a;
  Byte b;
};

TEST(ModeFlagsTest, EveryFlagSetShowsWhatTheVariantHas) {
  // All mode flags on, receipt-only off (so B bit 0, its inverse, is on where the variant has it).
  const std::vector<FlagsCase> cases = {
      {Variant::kEp01, 0xFE, 0x7A}, {Variant::k0801, 0x7E, 0x3A}, {Variant::kEp02, 0xFE, 0x7A},
      {Variant::kEp05, 0xFE, 0x7B}, {Variant::kEp06, 0xFE, 0x7B}, {Variant::k0502, 0xFE, 0x7A},
      {Variant::k0503, 0xFE, 0x7A},
  };
  for (const FlagsCase& c : cases) {
    SCOPED_TRACE(std::string(Tag(c.variant)));
    PrinterModel m(c.variant);
    m.mode = {true, true, true, true, true, true, true, false, true, true, true};
    m.last_command_failed = true;
    EXPECT_EQ(ModeFlagsA(m), c.a);
    EXPECT_EQ(ModeFlagsB(m), c.b);
    EXPECT_EQ(StatusBlock(m)[0], c.a);
    EXPECT_EQ(StatusBlock(m)[1], c.b);
  }
}

TEST(ModeFlagsTest, EachFlagHasItsOwnBit) {
  struct Case {
    std::string name;
    void (*set)(PrinterModel&);
    Byte a;
    Byte b;
  };
  const std::vector<Case> cases = {
      {"payment begun", [](PrinterModel& m) { m.mode.payment_begun = true; }, 0x02, 0x10},
      {"cash drawer", [](PrinterModel& m) { m.mode.cash_drawer = true; }, 0x04, 0x10},
      {"refund receipt", [](PrinterModel& m) { m.mode.refund_receipt = true; }, 0x08, 0x10},
      {"taxes added", [](PrinterModel& m) { m.mode.taxes_added = true; }, 0x10, 0x10},
      {"day open", [](PrinterModel& m) { m.mode.day_open = true; }, 0x20, 0x10},
      {"receipt open", [](PrinterModel& m) { m.mode.receipt_open = true; }, 0x40, 0x10},
      {"customer display", [](PrinterModel& m) { m.mode.customer_display = true; }, 0x80, 0x10},
      {"taxes changed", [](PrinterModel& m) { m.mode.taxes_changed = true; }, 0x00, 0x12},
      {"service report", [](PrinterModel& m) { m.mode.service_report_open = true; }, 0x00, 0x18},
      {"not fiscalized", [](PrinterModel& m) { m.fiscalization.done = false; }, 0x00, 0x00},
      {"last command failed", [](PrinterModel& m) { m.last_command_failed = true; }, 0x00, 0x30},
      {"online print", [](PrinterModel& m) { m.mode.online_print = true; }, 0x00, 0x50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterModel m(Variant::k0503);
    c.set(m);
    EXPECT_EQ(ModeFlagsA(m), c.a);
    EXPECT_EQ(ModeFlagsB(m), c.b);
  }
}

TEST(StatusByteTest, ConditionsShowInStatusAndReserve) {
  struct Case {
    std::string name;
    Variant variant;
    void (*set)(PrinterModel&);
    Byte status;
    Byte reserve;
  };
  const std::vector<Case> cases = {
      {"paper out, bit 1 is paper", Variant::kEp02, [](PrinterModel& m) { m.paper.receipt_out = true; }, 0x02,
       0},
      {"paper out on EP-06", Variant::kEp06, [](PrinterModel& m) { m.paper.receipt_out = true; }, 0x01, 0x04},
      {"paper out on 05-03", Variant::k0503, [](PrinterModel& m) { m.paper.receipt_out = true; }, 0x01, 0x00},
      {"journal 72 hours on 05-03", Variant::k0503,
       [](PrinterModel& m) { m.conditions.journal_over_72h = true; }, 0x02, 0},
      {"journal 72 hours means nothing on EP-02", Variant::kEp02,
       [](PrinterModel& m) { m.conditions.journal_over_72h = true; }, 0x00, 0},
      {"not ready", Variant::kEp02, [](PrinterModel& m) { m.conditions.not_ready = true; }, 0x01, 0},
      {"fiscal memory full", Variant::kEp02, [](PrinterModel& m) { m.conditions.fiscal_memory_full = true; },
       0x04, 0},
      {"clock", Variant::kEp02, [](PrinterModel& m) { m.conditions.clock_failure = true; }, 0x08, 0},
      {"display", Variant::kEp02, [](PrinterModel& m) { m.conditions.display_failure = true; }, 0x10, 0},
      {"low voltage", Variant::kEp02, [](PrinterModel& m) { m.conditions.low_voltage = true; }, 0x40, 0},
      {"denied", Variant::kEp02, [](PrinterModel& m) { m.conditions.operation_denied = true; }, 0x80, 0},
      {"day over 24 hours", Variant::kEp02,
       [](PrinterModel& m) {
         m.mode.day_open = true;
         m.day_opened_at = m.clock.Now() - 25h;
       },
       0x20, 0},
      {"day of 23 hours", Variant::kEp02,
       [](PrinterModel& m) {
         m.mode.day_open = true;
         m.day_opened_at = m.clock.Now() - 23h;
       },
       0x00, 0},
      {"service report", Variant::kEp02, [](PrinterModel& m) { m.mode.service_report_open = true; }, 0, 0x01},
      {"finish after error", Variant::kEp02, [](PrinterModel& m) { m.conditions.finish_after_error = true; },
       0, 0x02},
      {"no personalization on EP-06", Variant::kEp06,
       [](PrinterModel& m) { m.conditions.personalized = false; }, 0, 0x80},
      {"no personalization elsewhere", Variant::k0503,
       [](PrinterModel& m) { m.conditions.personalized = false; }, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterModel m(c.variant);
    EXPECT_EQ(StatusByte(m), 0);
    EXPECT_EQ(ReserveByte(m), 0);
    c.set(m);
    EXPECT_EQ(StatusByte(m), c.status);
    EXPECT_EQ(ReserveByte(m), c.reserve);
  }
}

TEST(PrinterStateTest, JournalBitsOnlyWhereThereIsAPaperJournal) {
  struct Case {
    Variant variant;
    Byte all_set;
  };
  for (const Case& c : std::vector<Case>{
           {Variant::kEp05, 0x6D}, {Variant::kEp06, 0x6D}, {Variant::k0502, 0x49}, {Variant::k0503, 0x49}}) {
    SCOPED_TRACE(std::string(Tag(c.variant)));
    PrinterModel m(c.variant);
    EXPECT_EQ(Execute(m, Bytes{0x30}).answer, (Answer{0, 0, 0, {0x00}}));
    m.paper = {true, false, true, true, true};  // receipt low (not out), journal low and out, connection
    EXPECT_EQ(Execute(m, Bytes{0x30}).answer.data, Bytes{static_cast<Byte>(c.all_set & ~0x40)});
    m.paper.receipt_out = true;
    EXPECT_EQ(Execute(m, Bytes{0x30}).answer.data, Bytes{c.all_set});
  }
}

// Which variant executes what, and with what result byte.
struct CommandCase {
  std::string name;
  Bytes command;
  std::vector<Byte> results;  // per variant, in the order EP-01, 08-01, EP-02, EP-05, EP-06, 05-02, 05-03
};

TEST(CommandTableTest, ResultPerVariant) {
  constexpr Byte kNo = result::kCommandForbidden;
  constexpr Byte kBad = result::kBadParameter0502;
  const std::vector<CommandCase> cases = {
      {"status request", {0x00}, {0, 0, 0, 0, 0, 0, 0}},
      {"status request with a stray parameter", {0x00, 0x01}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"printer state", {0x30}, {kNo, kNo, kNo, 0, 0, 0, 0}},
      {"line feed", {0x0E}, {0, 0, 0, 0, 0, 0, 0}},
      {"baud rate index 1", {0x26, 0x01}, {0, kNo, 0, 0, 0, 0, 0}},
      {"baud rate index 2", {0x26, 0x02}, {0, kNo, 0, 0, 0, 0, 0}},
      {"baud rate index 3", {0x26, 0x03}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"baud rate over USB", {0x26, 0x21}, {kNo, kNo, kNo, kNo, kNo, 0, 0}},
      {"baud rate without index", {0x26}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read", {0x1C, 0x1A, 0x30, 0x10, 0x01}, {0, 0, 0, 0, 0, 0, 0}},
      {"memory read of nothing", {0x1C, 0x1A, 0x30, 0x10, 0x00}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read past the end", {0x1C, 0xFF, 0xFF, 0x10, 0x02}, {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"memory read of an unknown page",
       {0x1C, 0x00, 0x00, 0x05, 0x01},
       {kNo, kNo, kNo, kNo, kNo, kBad, kBad}},
      {"unknown command", {0xEE}, {kNo, kNo, kNo, kNo, kNo, kNo, kNo}},
  };
  for (const CommandCase& c : cases) {
    for (Variant v : AllVariants()) {
      SCOPED_TRACE(c.name + " on " + std::string(Tag(v)));
      PrinterModel m(v);
      const Execution e = Execute(m, c.command);
      EXPECT_EQ(e.answer.result, c.results[static_cast<std::size_t>(v)]);
      if (e.answer.result != 0) {
        EXPECT_TRUE(e.answer.data.empty());
      }
    }
  }
}

TEST(CommandTableTest, EveryRowIsReachableAndCodesAreSorted) {
  const auto table = CommandTable();
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(table[i - 1].code, table[i].code);
    }
    bool reachable = false;
    for (Variant v : AllVariants()) reachable = reachable || FindCommand(v, table[i].code) == &table[i];
    EXPECT_TRUE(reachable) << table[i].name;
  }
}

TEST(ExecuteTest, LastCommandFailedFollowsCommandsButNotQueries) {
  PrinterModel m(Variant::kEp02);
  Execute(m, Bytes{0xEE});
  EXPECT_TRUE(m.last_command_failed);
  Execute(m, Bytes{0x00});  // the host reads the flag with this very request
  EXPECT_TRUE(m.last_command_failed);
  EXPECT_EQ(Execute(m, Bytes{0x00}).answer.data[1] & 0x20, 0x20);
  Execute(m, Bytes{0x0E});
  EXPECT_FALSE(m.last_command_failed);
}

TEST(ExecuteTest, EveryAnswerCarriesTheConditions) {
  PrinterModel m(Variant::kEp02);
  m.conditions.clock_failure = true;
  m.mode.service_report_open = true;
  for (const Bytes& command : {Bytes{0x00}, Bytes{0x0E}, Bytes{0xEE}}) {
    const Answer a = Execute(m, command).answer;
    EXPECT_EQ(a.status, 0x08);
    EXPECT_EQ(a.reserve, 0x01);
  }
}

TEST(LineTest, BaudRateCommandSetsTheRate) {
  PrinterModel m(Variant::k0503);
  for (Byte index = 0; index < 3; ++index) {
    Execute(m, Bytes{0x26, index});
    EXPECT_EQ(m.line.baud, kLineRates[index]);
    EXPECT_FALSE(m.line.usb);
  }
  Execute(m, Bytes{0x26, 0x20});
  EXPECT_EQ(m.line.baud, 9600);
  EXPECT_TRUE(m.line.usb);
  Execute(m, Bytes{0x26, 0x05});  // refused: nothing changes
  EXPECT_EQ(m.line.baud, 9600);
  EXPECT_TRUE(m.line.usb);
}

TEST(MemoryTest, CutterByteFollowsTheRegister) {
  PrinterModel m(Variant::kEp05);
  const Bytes read_cutter = {0x1C, 0x1A, 0x30, 0x10, 0x01};
  EXPECT_EQ(Execute(m, read_cutter).answer.data, Bytes{0x00});
  m.cutter_enabled = false;
  EXPECT_EQ(Execute(m, read_cutter).answer.data, Bytes{0x08});
}

TEST(MemoryTest, ReadsWhatWasWrittenAndZeroElsewhere) {
  PrinterModel m(Variant::k0503);
  m.memory.Write(0x10, 0x0037, Bytes{0x2A, 0x01});
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0x36, 0x00, 0x10, 0x04}).answer.data, (Bytes{0x00, 0x2A, 0x01, 0x00}));
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0x37, 0x00, 0x00, 0x02}).answer.data, (Bytes{0x00, 0x00}));
  EXPECT_EQ(Execute(m, Bytes{0x1C, 0xFF, 0xFF, 0x10, 0x01}).answer.data, (Bytes{0x00}));
}

TEST(PrintTest, LineFeedPrintsAnEmptyLineUnlessPaperIsOut) {
  PrinterModel m(Variant::kEp02);
  std::vector<std::string> tape;
  m.tape = [&tape](std::string_view line) { tape.emplace_back(line); };
  EXPECT_EQ(Execute(m, Bytes{0x0E}).answer.result, 0);
  m.paper.receipt_out = true;
  const Answer refused = Execute(m, Bytes{0x0E}).answer;
  EXPECT_EQ(refused.result, result::kPaperOut);
  EXPECT_EQ(refused.status, 0x02);
  EXPECT_EQ(tape, std::vector<std::string>{""});
}

TEST(ClockTest, RunsFromTheHostClockPlusAnOffset) {
  DeviceClock clock;
  clock.Set({2030, 6, 1, 12, 0, 0});
  const CivilTime now = clock.NowCivil();
  EXPECT_EQ(now.year, 2030);
  EXPECT_EQ(now.month, 6);
  EXPECT_EQ(now.day, 1);
  EXPECT_EQ(now.hour, 12);
  EXPECT_LE(now.minute, 1);
  EXPECT_GT(clock.offset().count(), 0);
}

}  // namespace
}  // namespace zorfp::sim
