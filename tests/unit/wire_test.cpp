// The member kit's wire: commands built field by field, answers read field by field without ever
// reading past their end, the one fit check that reports 102 and 103, and how a query judges the
// printer's status and result before it reads.
#include "commands/wire.h"

#include <gtest/gtest.h>

#include "driver/driver.h"
#include "driver/members.h"
#include "errors/codepage.h"
#include "support/fakes.h"
#include "support/module_fixture.h"
#include "support/pty_peer.h"
#include "variants/traits.h"

namespace zorfp {
namespace {

using testing::FromHex;
using testing::Hex;

class WireTest : public testing::ModuleTest {
 protected:
  // A driver of `id` whose port serves `answer` (status, result, data) to whatever it sends.
  Driver& Serving(VariantId id, Byte status, Byte result, const Bytes& data) {
    module().open_port = [this](const std::string&) { return std::make_unique<testing::MemoryPort>(port_); };
    driver_ = std::make_unique<Driver>(Traits(id));
    driver_->set_port(module().open_port(""));
    const Byte seq = static_cast<Byte>(module().link.FrameSeq + 1);
    const Bytes frame = testing::AnswerFrame(seq, 0x2A, status, result, 0, data);
    port_.to_read.assign(frame.begin(), frame.end());
    return *driver_;
  }
  // A driver whose last answer held `data`, for the fit check alone.
  Driver& Answered(VariantId id, const Bytes& data) {
    driver_ = std::make_unique<Driver>(Traits(id));
    module().last_call.AnswerData = data;
    return *driver_;
  }
  std::string Text() { return AnsiToUtf8(module().last_call.ErrorText); }

  testing::MemoryPort::Shared port_;
  std::unique_ptr<Driver> driver_;
};

TEST_F(WireTest, CommandsAreBuiltFieldByField) {
  Driver d(Traits(VariantId::k05_03));
  const struct {
    const char* what;
    Bytes built;
    const char* bytes;
  } cases[] = {
      {"little-endian widths", Command(0x1C).UIntLE(0x3003, 2).U8(0x10).UIntLE(0x0102030405, 5),
       "1C 03 30 10 05 04 03 02 01"},
      {"sign and magnitude", Command(0x12).SignMagnitude32(-16).SignMagnitude32(16),
       "12 10 00 00 80 10 00 00 00"},
      {"BCD, date and time", Command(0x02).Bcd(7).Bcd(31).Date({0x09, 0x03, 0x24}).Time({0x12, 0x05, 0x07}),
       "02 07 31 09 03 24 12 05 07"},
      {"printer text with its length flags", Command(0x17).OemText("AB", 0x40), "17 42 41 42"},
      {"client text in the printer's code page", Command(0x0B).Text(d, Utf8ToAnsi("Ж")), "0B 01 86"},
      {"no text is a length of 0", Command(0x0B).Text(d, ""), "0B 00"},
  };
  for (const auto& c : cases) EXPECT_EQ(Hex(c.built), c.bytes) << c.what;
  PutCP866(d, true);
  EXPECT_EQ(Hex(Command(0x0B).Text(d, "\x86")), "0B 01 86") << "a client in code page 866 sends its bytes";
}

TEST_F(WireTest, FieldsAreReadInOrderAndNeverPastTheEnd) {
  const Bytes data = FromHex("10 00 00 80 00 00 00 00 01 25 09 03 24 8A 8E 84 00 58 FF");
  AnswerReader r(data);
  EXPECT_EQ(r.SignMagnitude32(), -16);
  EXPECT_EQ(r.Money40().value, 4294967296u);
  EXPECT_EQ(r.Bcd(), 25u);
  EXPECT_EQ(r.Date(), (BcdDate{0x09, 0x03, 0x24}));
  EXPECT_EQ(AnsiToUtf8(r.Text(5)), "КОД") << "a text ends at its first NUL";
  EXPECT_EQ(r.left(), 1u);
  EXPECT_FALSE(r.failed());
  EXPECT_EQ(r.UIntLE(4), 0u) << "a field that is not there reads as zero";
  EXPECT_TRUE(r.failed());
  EXPECT_EQ(r.U8(), 0) << "and so does every field after it";
  EXPECT_EQ(r.left(), 0u);
}

TEST_F(WireTest, OneFitCheckReportsNoDataAndFormatErrors) {
  static constexpr DriverError kOwnNoData = {102, {"own", "own", "own"}};
  const struct {
    const char* what;
    Bytes data;
    std::size_t read;
    QueryRules rules;
    bool fits;
    Byte code, status;
    const char* text;
  } cases[] = {
      {"exactly what was read", FromHex("01 02"), 2, {}, true, 0, 7, ""},
      {"a byte more", FromHex("01 02 03"), 2, {}, false, 103, 7, "Data format error!"},
      {"a byte more where more may follow", FromHex("01 02 03"), 2, {.more_allowed = true}, true, 0, 7, ""},
      {"a byte short", FromHex("01"), 2, {}, false, 103, 7, "Data format error!"},
      {"a byte short where more may follow", FromHex("01"), 2, {.more_allowed = true}, false, 103, 7,
       "Data format error!"},
      {"no data at all", {}, 2, {}, false, 102, 7, "Data from fiscal printer didn't receive!"},
      {"no data where that is a misfit", {}, 1, {.empty_is_no_data = false}, false, 103, 7, "Data format error!"},
      {"a member's own no-data text", {}, 1, {.no_data = &kOwnNoData}, false, 102, 7, "own"},
      {"a misfit refused like an argument", FromHex("01 02"), 1, {.misfit_refused = true}, false, 103, 255,
       "Data format error!"},
  };
  for (const auto& c : cases) {
    Driver& d = Answered(VariantId::kEP_02, c.data);
    PutLang(d, 0);
    module().last_call.ReportedStatus = 7;
    AnswerReader r(d.Answer());
    r.Take(c.read);
    EXPECT_EQ(r.Finish(d, c.rules), c.fits) << c.what;
    EXPECT_EQ(module().last_call.ReportedResult, c.code) << c.what;
    EXPECT_EQ(module().last_call.ReportedStatus, c.status) << c.what;
    EXPECT_EQ(Text(), c.text) << c.what;
    module().last_call = LastCall{};
  }
  // The older classes report by text alone.
  Driver& older = Answered(VariantId::k08_01, {});
  PutLang(older, 0);
  AnswerReader empty(older.Answer());
  empty.Take(1);
  EXPECT_FALSE(empty.Finish(older, {}));
  EXPECT_EQ(module().last_call.ReportedResult, 0);
  EXPECT_EQ(Text(), "Data from fiscal printer didn't receive!");
}

TEST_F(WireTest, AQueryJudgesTheAnswerAsItsRulesSay) {
  const auto read = [](AnswerReader& r, Byte& out) { out = r.U8(); };
  const struct {
    const char* what;
    Judge judge;
    Byte status, result;
    bool read_anyway;
    Byte code;  // reported
  } cases[] = {
      {"executed", Judge::kEvaluate, 0, 0, true, 0},
      {"refused", Judge::kEvaluate, 0, 21, false, 21},
      {"refused, read unjudged", Judge::kUnjudged, 0, 21, true, 0},
      {"refused with status 0, judged only on a status", Judge::kWhenStatusSet, 0, 21, true, 0},
      {"refused with a status, judged on it", Judge::kWhenStatusSet, 0x02, 2, false, 2},
      {"refused, reported and read", Judge::kReportOnly, 0, 21, true, 21},
  };
  for (const auto& c : cases) {
    Driver& d = Serving(VariantId::kEP_05, c.status, c.result, {0x2A});
    const std::optional<Byte> value = Query<Byte>(d, Command(0x2A), read, {.judge = c.judge});
    EXPECT_EQ(value.has_value(), c.read_anyway) << c.what;
    if (value) {
      EXPECT_EQ(*value, 0x2A) << c.what;
    }
    EXPECT_EQ(module().last_call.ReportedResult, c.code) << c.what;
  }
  // No answer at all: 101, whatever the rules.
  Driver& d = Serving(VariantId::kEP_05, 0, 0, {});
  port_.to_read.clear();
  module().settings.RepeatCount = 0;
  module().link.NoAnswerLimit = 0;
  EXPECT_EQ(Query<Byte>(d, Command(0x2A), read, {.judge = Judge::kUnjudged}), std::nullopt);
  EXPECT_EQ(module().last_call.ReportedResult, 101);
}

TEST_F(WireTest, DriverErrorsTravelWithTheirCodeByFamily) {
  static constexpr DriverError kBad = {21, {"Incorrect password of reports!", "ru", "uk"}};
  const struct {
    VariantId id;
    bool refuse;
    Byte code, status;
  } cases[] = {
      {VariantId::k05_03, true, 21, 255},
      {VariantId::k05_03, false, 21, 7},
      {VariantId::kEP_01, true, 0, 7},  // the older classes: the text alone
      {VariantId::kEP_01, false, 0, 7},
  };
  for (const auto& c : cases) {
    Driver d(Traits(c.id));
    PutLang(d, 0);
    module().last_call = LastCall{};
    module().last_call.ReportedStatus = 7;
    EXPECT_FALSE(c.refuse ? d.Refuse(kBad) : d.Reject(kBad));
    EXPECT_EQ(module().last_call.ReportedResult, c.code);
    EXPECT_EQ(module().last_call.ReportedStatus, c.status);
    EXPECT_EQ(Text(), "Incorrect password of reports!");
  }
  // Each class's call prologue: the older ones begin by emptying the error text.
  for (VariantId id : {VariantId::kEP_01, VariantId::k08_01, VariantId::kEP_02, VariantId::k05_03}) {
    Driver d(Traits(id));
    module().last_call.ErrorText = "old";
    d.BeginCall();
    EXPECT_EQ(module().last_call.ErrorText.empty(), Traits(id).older_family) << Traits(id).tag;
  }
}

}  // namespace
}  // namespace zorfp
