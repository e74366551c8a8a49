// The option flags of 05-02 and 05-03: the copy read whole, changed bit by bit without printer
// traffic and written whole; the checks that send nothing; and the flags kept by the simulator.
#include <gtest/gtest.h>

#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sent_commands.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::CommandsHex;
using testing::FromHex;
using testing::Put;

const char* const kFlagNames[] = {"Flag1_0",  "Flag1_2",  "Flag1_3",  "Flag1_4", "Flag1_6", "Flag1_8",
                                  "Flag1_9",  "Flag1_10", "Flag1_12", "Flag3_7", "Flag3_8", "Flag3_18",
                                  "Flag3_19", "Flag4_0",  "Flag4_1",  "Flag4_2", "Flag4_7"};

class FlagsTest : public testing::PtyDriverTest {
 protected:
  OptionFlags& Copy(VariantId id) { return module().values[Index(id)].flags.flags; }
  std::vector<std::string> TrueFlags() {
    std::vector<std::string> out;
    for (const char* name : kFlagNames) {
      if (Call<bool>(*driver_, name)) out.push_back(name);
    }
    return out;
  }
};

TEST_F(FlagsTest, ReadIntoTheCopyAndWrittenBackWhole) {
  Open(VariantId::k05_03);
  Answer(FromHex("05 14 80 00 04 00 81 03"));
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetFlags"));
  EXPECT_EQ(TrueFlags(), (std::vector<std::string>{"Flag1_0", "Flag1_2", "Flag1_10", "Flag1_12", "Flag3_7",
                                                   "Flag3_18", "Flag4_0", "Flag4_7"}));
  EXPECT_EQ(Call<Byte>(*driver_, "FeedLines"), 3);
  EXPECT_EQ(peer_.FrameCount(), 1u) << "the properties never talk to the printer";

  Put(*driver_, "Flag3_19", true);
  Put(*driver_, "Flag1_0", false);
  Put(*driver_, "FeedLines", Byte{16});
  EXPECT_TRUE(Call<bool>(*driver_, "Flag3_19"));
  EXPECT_FALSE(Call<bool>(*driver_, "Flag1_0"));
  Answer({});
  ASSERT_TRUE(Call<bool>(*driver_, "FPSetFlags", std::uint16_t{0x1234}));
  EXPECT_EQ(CommandsHex(peer_.Frames()), (std::vector<std::string>{"34", "35 34 12 04 14 80 00 0C 00 81 10"}))
      << "the bits no property names go back as they were read";
}

TEST_F(FlagsTest, AFreshCopyWritesZerosButTheBitsSet) {
  Open(VariantId::k05_02);
  Answer({});
  Put(*driver_, "Flag3_19", true);
  ASSERT_TRUE(Call<bool>(*driver_, "FPSetFlags", std::uint16_t{1}));
  EXPECT_EQ(CommandsHex(peer_.Frames()).back(), "35 01 00 00 00 00 00 08 00 00 00");
  Open(VariantId::k05_03);
  EXPECT_FALSE(Call<bool>(*driver_, "Flag3_19")) << "05-03 keeps a copy of its own";
}

TEST_F(FlagsTest, TooManyFeedLinesSendNothing) {
  Open(VariantId::k05_03);
  PutLang(*driver_, 0);
  Put(*driver_, "FeedLines", Byte{17});
  EXPECT_FALSE(Call<bool>(*driver_, "FPSetFlags", std::uint16_t{1}));
  EXPECT_EQ(peer_.FrameCount(), 0u);
  EXPECT_EQ(GetByteResult(*driver_), 111);
  EXPECT_EQ(GetByteStatus(*driver_), 255);
  EXPECT_EQ(Text(*driver_), "Error of line feed parameter!");
}

TEST_F(FlagsTest, AnAnswerThatDoesNotHoldTheFlagsLeavesTheCopy) {
  Open(VariantId::k05_03);
  const OptionFlags before{.Group1 = 0x1405, .Group3 = 0x00040080, .Group4 = 0x81, .FeedLines = 3};
  const struct {
    Bytes data;
    Byte status, result, code;
  } cases[] = {
      {FromHex("FF FF FF FF FF FF FF"), 0, 0, 103},  // one byte short
      {{}, 0, 0, 102},
      {FromHex("FF FF FF FF FF FF FF FF"), 0, 21, 21},  // refused
  };
  for (const auto& c : cases) {
    Copy(VariantId::k05_03) = before;
    Answer(c.data, c.status, c.result);
    EXPECT_FALSE(Call<bool>(*driver_, "FPGetFlags"));
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(Copy(VariantId::k05_03).Group1, before.Group1);
    EXPECT_EQ(Copy(VariantId::k05_03).Group3, before.Group3);
    EXPECT_EQ(Copy(VariantId::k05_03).FeedLines, before.FeedLines);
  }
  Answer(FromHex("01 00 00 00 00 00 00 02 EE"));  // more than the layout: read, the rest ignored
  EXPECT_TRUE(Call<bool>(*driver_, "FPGetFlags"));
  EXPECT_EQ(Call<Byte>(*driver_, "FeedLines"), 2);
}

class FlagsOnSimulatorTest : public testing::SimDriverTest {};

TEST_F(FlagsOnSimulatorTest, ThePrinterKeepsWhatIsWrittenUnderItsPassword) {
  for (VariantId id : {VariantId::k05_02, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    sim_->WithModel([](sim::PrinterModel& m) {
      m.flags = {.group1 = 0x1405, .group3 = 0x00040080, .group4 = 0x81, .feed_lines = 3};
      m.programming.settings.passwords[sim::kProgrammingPassword] = 777;
    });
    ASSERT_TRUE(Call<bool>(d(), "FPGetFlags"));
    EXPECT_TRUE(Call<bool>(d(), "Flag1_12"));
    Put(d(), "Flag1_12", false);
    Put(d(), "Flag4_1", true);
    Put(d(), "FeedLines", Byte{5});

    EXPECT_FALSE(Call<bool>(d(), "FPSetFlags", std::uint16_t{778}));
    EXPECT_EQ(GetByteResult(d()), 21) << "a wrong password";
    EXPECT_EQ(sim_->WithModel([](sim::PrinterModel& m) { return m.flags.group4; }), 0x81);

    ASSERT_TRUE(Call<bool>(d(), "FPSetFlags", std::uint16_t{777}));
    const sim::FlagsState f = sim_->WithModel([](sim::PrinterModel& m) { return m.flags; });
    EXPECT_EQ(f.group1, 0x0405);
    EXPECT_EQ(f.group3, 0x00040080u);
    EXPECT_EQ(f.group4, 0x83);
    EXPECT_EQ(f.feed_lines, 5);
    const auto state = sim_->StateJson();
    EXPECT_NE(state.find("\"feed_lines\": 5"), std::string::npos) << state;
  }
}

}  // namespace
}  // namespace zorfp
