// Status and identity: the status block per variant, the mode flags, the status and reserve bytes,
// the printer-state request and the line rate. Driven in-process; the wire is the exchange tests'.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/cp866.h"
#include "sim/model.h"

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
  m.status.identity.serial_number = "1234567890";
  m.status.identity.model_name = "ABCDEFGHI";
  m.status.identity.fiscal_number = "0123456789";
  m.status.fiscalization = {true, {2024, 3, 5, 14, 7, 0}};
  m.programming.header[0] = {"A", true, false};
  m.programming.header[1] = {"BB", false, true};
  m.programming.header[2] = {"", false, false};
  m.programming.header[3] = {"DDDD", false, false};
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
  m.status.identity.serial_number = "S1";
  m.status.identity.model_name = "";
  m.status.identity.fiscal_number = "12345678901234";
  m.status.fiscalization.done = false;
  const Bytes block = StatusBlock(m);
  EXPECT_EQ(Bytes(block.begin() + 2, block.begin() + 21), Text("S1                 "));
  EXPECT_EQ(Bytes(block.begin() + 21, block.begin() + 26), Bytes(5, 0x00));
  EXPECT_EQ(Bytes(block.begin() + 26, block.begin() + 36), Text("1234567890"));
  EXPECT_EQ(block[1] & 0x10, 0);
}

TEST(StatusBlockTest, HeaderLengthFitsTheVariantsLengthByte) {
  PrinterModel newer(Variant::k0503), older(Variant::kEp01);
  newer.programming.header = {HeaderLine{std::string(70, 'x')}, {}, {}, {}};
  older.programming.header = newer.programming.header;
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
    m.status.mode = {true, true, true, true, true, true, true, false, true, true, true};
    m.status.last_command_failed = true;
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
      {"payment begun", [](PrinterModel& m) { m.status.mode.payment_begun = true; }, 0x02, 0x10},
      {"cash drawer", [](PrinterModel& m) { m.status.mode.cash_drawer = true; }, 0x04, 0x10},
      {"refund receipt", [](PrinterModel& m) { m.status.mode.refund_receipt = true; }, 0x08, 0x10},
      {"taxes added", [](PrinterModel& m) { m.status.mode.taxes_added = true; }, 0x10, 0x10},
      {"day open", [](PrinterModel& m) { m.status.mode.day_open = true; }, 0x20, 0x10},
      {"receipt open", [](PrinterModel& m) { m.status.mode.receipt_open = true; }, 0x40, 0x10},
      {"customer display", [](PrinterModel& m) { m.status.mode.customer_display = true; }, 0x80, 0x10},
      {"taxes changed", [](PrinterModel& m) { m.status.mode.taxes_changed = true; }, 0x00, 0x12},
      {"service report", [](PrinterModel& m) { m.status.mode.service_report_open = true; }, 0x00, 0x18},
      {"not fiscalized", [](PrinterModel& m) { m.status.fiscalization.done = false; }, 0x00, 0x00},
      {"last command failed", [](PrinterModel& m) { m.status.last_command_failed = true; }, 0x00, 0x30},
      {"online print", [](PrinterModel& m) { m.status.mode.online_print = true; }, 0x00, 0x50},
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
      {"paper out, bit 1 is paper", Variant::kEp02,
       [](PrinterModel& m) { m.status.paper.receipt_out = true; }, 0x02, 0},
      {"paper out on EP-06", Variant::kEp06, [](PrinterModel& m) { m.status.paper.receipt_out = true; }, 0x01,
       0x04},
      {"paper out on 05-03", Variant::k0503, [](PrinterModel& m) { m.status.paper.receipt_out = true; }, 0x01,
       0x00},
      {"journal 72 hours on 05-03", Variant::k0503,
       [](PrinterModel& m) { m.status.conditions.journal_over_72h = true; }, 0x02, 0},
      {"journal 72 hours means nothing on EP-02", Variant::kEp02,
       [](PrinterModel& m) { m.status.conditions.journal_over_72h = true; }, 0x00, 0},
      {"not ready", Variant::kEp02, [](PrinterModel& m) { m.status.conditions.not_ready = true; }, 0x01, 0},
      {"fiscal memory full", Variant::kEp02,
       [](PrinterModel& m) { m.status.conditions.fiscal_memory_full = true; }, 0x04, 0},
      {"clock", Variant::kEp02, [](PrinterModel& m) { m.status.conditions.clock_failure = true; }, 0x08, 0},
      {"display", Variant::kEp02, [](PrinterModel& m) { m.status.conditions.display_failure = true; }, 0x10,
       0},
      {"low voltage", Variant::kEp02, [](PrinterModel& m) { m.status.conditions.low_voltage = true; }, 0x40,
       0},
      {"denied", Variant::kEp02, [](PrinterModel& m) { m.status.conditions.operation_denied = true; }, 0x80,
       0},
      {"day over 24 hours", Variant::kEp02,
       [](PrinterModel& m) {
         m.status.mode.day_open = true;
         m.day_opened_at = m.clock.Now() - 25h;
       },
       0x20, 0},
      {"day of 23 hours", Variant::kEp02,
       [](PrinterModel& m) {
         m.status.mode.day_open = true;
         m.day_opened_at = m.clock.Now() - 23h;
       },
       0x00, 0},
      {"service report", Variant::kEp02, [](PrinterModel& m) { m.status.mode.service_report_open = true; }, 0,
       0x01},
      {"finish after error", Variant::kEp02,
       [](PrinterModel& m) { m.status.conditions.finish_after_error = true; }, 0, 0x02},
      {"no personalization on EP-06", Variant::kEp06,
       [](PrinterModel& m) { m.status.conditions.personalized = false; }, 0, 0x80},
      {"no personalization elsewhere", Variant::k0503,
       [](PrinterModel& m) { m.status.conditions.personalized = false; }, 0, 0},
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
    m.status.paper = {true, false, true, true,
                      true};  // receipt low (not out), journal low and out, connection
    EXPECT_EQ(Execute(m, Bytes{0x30}).answer.data, Bytes{static_cast<Byte>(c.all_set & ~0x40)});
    m.status.paper.receipt_out = true;
    EXPECT_EQ(Execute(m, Bytes{0x30}).answer.data, Bytes{c.all_set});
  }
}

TEST(LineTest, BaudRateCommandSetsTheRate) {
  PrinterModel m(Variant::k0503);
  for (Byte index = 0; index < 3; ++index) {
    Execute(m, Bytes{0x26, index});
    EXPECT_EQ(m.status.line.baud, kLineRates[index]);
    EXPECT_FALSE(m.status.line.usb);
  }
  Execute(m, Bytes{0x26, 0x20});
  EXPECT_EQ(m.status.line.baud, 9600);
  EXPECT_TRUE(m.status.line.usb);
  Execute(m, Bytes{0x26, 0x05});  // refused: nothing changes
  EXPECT_EQ(m.status.line.baud, 9600);
  EXPECT_TRUE(m.status.line.usb);
}

}  // namespace
}  // namespace zorfp::sim
