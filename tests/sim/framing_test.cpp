// The device's framing on its own: what the reader makes of the host's bytes, and the answer bytes.
#include "sim/framing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorfp::sim {
namespace {

using Event = FrameReader::Event;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct ReaderCase {
  std::string name;
  Bytes input;
  std::vector<Event> events;  // the non-kNone events in order
  Byte seq = 0;               // of the last kFrame
  Bytes command;
};

std::vector<Event> FeedAll(FrameReader& reader, const Bytes& input) {
  std::vector<Event> events;
  for (Byte b : input) {
    const Event e = reader.Feed(b);
    if (e != Event::kNone) events.push_back(e);
  }
  return events;
}

TEST(FrameReaderTest, TakesFramesAsTheHostStuffsThem) {
  const std::vector<ReaderCase> cases = {
      {"line feed", {0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03}, {Event::kFrame}, 0x01, {0x0E}},
      {"stuffed seq",
       {0x10, 0x02, 0x10, 0x10, 0x26, 0x01, 0xC9, 0x10, 0x03},
       {Event::kFrame},
       0x10,
       {0x26, 0x01}},
      {"stuffed command byte",
       {0x10, 0x02, 0x01, 0x1C, 0x10, 0x10, 0x30, 0x10, 0x10, 0x01, 0x92, 0x10, 0x03},
       {Event::kFrame},
       0x01,
       {0x1C, 0x10, 0x30, 0x10, 0x01}},
      {"stuffed checksum", {0x10, 0x02, 0xE2, 0x0E, 0x10, 0x10, 0x10, 0x03}, {Event::kFrame}, 0xE2, {0x0E}},
      {"wrong checksum", {0x10, 0x02, 0x01, 0x0E, 0xF0, 0x10, 0x03}, {Event::kBadChecksum}, 0, {}},
      {"no command byte", {0x10, 0x02, 0x01, 0xFF, 0x10, 0x03}, {Event::kMalformed}, 0, {}},
      {"lone DLE inside", {0x10, 0x02, 0x01, 0x10, 0x0E, 0xE1, 0x10, 0x03}, {Event::kMalformed}, 0, {}},
      {"stray bytes, then a frame",
       {0x41, 0x03, 0x10, 0x41, 0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03},
       {Event::kStray, Event::kStray, Event::kStray, Event::kFrame},
       0x01,
       {0x0E}},
      {"new start marker abandons a half frame",
       {0x10, 0x02, 0x07, 0x12, 0x10, 0x02, 0x02, 0x0E, 0xF0, 0x10, 0x03},
       {Event::kAbandoned, Event::kFrame},
       0x02,
       {0x0E}},
      {"DLE DLE STX outside a frame starts one",
       {0x10, 0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03},
       {Event::kStray, Event::kFrame},
       0x01,
       {0x0E}},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    FrameReader reader;
    EXPECT_EQ(FeedAll(reader, c.input), c.events);
    if (!c.events.empty() && c.events.back() == Event::kFrame) {
      EXPECT_EQ(reader.seq(), c.seq);
      EXPECT_EQ(reader.command(), c.command);
    }
    EXPECT_FALSE(reader.in_frame());
  }
}

TEST(FrameReaderTest, CountsWireBytesOfTheFrameIncludingStuffing) {
  FrameReader reader;
  const Bytes frame = {0x10, 0x02, 0x10, 0x10, 0x26, 0x01, 0xC9, 0x10, 0x03};
  FeedAll(reader, Bytes{0x55, 0x55});
  FeedAll(reader, frame);
  EXPECT_EQ(reader.wire_size(), frame.size());
}

TEST(FrameReaderTest, RefusesAnOverlongFrameAtItsEnd) {
  FrameReader reader;
  Bytes input = {0x10, 0x02};
  input.insert(input.end(), FrameReader::kMaxContent + 10, 0x01);
  input.insert(input.end(), {0x10, 0x03});
  EXPECT_THAT(FeedAll(reader, input), ElementsAre(Event::kMalformed));
  // And reads the next one normally.
  EXPECT_THAT(FeedAll(reader, Bytes{0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03}), ElementsAre(Event::kFrame));
}

TEST(AnswerFrameTest, StuffsEverythingBetweenTheMarkers) {
  struct Case {
    std::string name;
    Byte seq;
    Byte code;
    Answer answer;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {"plain", 0x01, 0x0E, {}, {0x10, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x00, 0xF1, 0x10, 0x03}},
      {"seq 0x10", 0x10, 0x0E, {}, {0x10, 0x02, 0x10, 0x10, 0x0E, 0x00, 0x00, 0x00, 0xE2, 0x10, 0x03}},
      {"checksum 0x10", 0xE2, 0x0E, {}, {0x10, 0x02, 0xE2, 0x0E, 0x00, 0x00, 0x00, 0x10, 0x10, 0x10, 0x03}},
      {"status, result, reserve",
       0x01,
       0x55,
       {0x80, 0x10, 0x02, {}},
       {0x10, 0x02, 0x01, 0x55, 0x80, 0x10, 0x10, 0x02, 0x18, 0x10, 0x03}},
      {"data with DLE and ETX",
       0x01,
       0x30,
       {0, 0, 0, {0x10, 0x03}},
       {0x10, 0x02, 0x01, 0x30, 0x00, 0x00, 0x00, 0x10, 0x10, 0x03, 0xBC, 0x10, 0x03}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THAT(BuildAnswerFrame(c.seq, c.code, c.answer), ElementsAreArray(c.expected));
  }
}

TEST(AnswerFrameTest, ChecksumBringsTheSumToZero) {
  EXPECT_EQ(Checksum(Bytes{0x01, 0x0E}), 0xF1);
  EXPECT_EQ(Checksum(Bytes{0x10, 0x26, 0x01}), 0xC9);
  EXPECT_EQ(Checksum(Bytes{}), 0x00);
  EXPECT_EQ(Checksum(Bytes{0x80, 0x80}), 0x00);
}

}  // namespace
}  // namespace zorfp::sim
