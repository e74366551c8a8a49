// The simulator as the host sees it on the pty: acknowledgements, answers, refusals, resends, busy
// periods, and the host closing and reopening its end.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host.h"
#include "sim/device_port.h"

namespace zorfp::sim::testing {
namespace {

using ::testing::ElementsAreArray;

SimulatorOptions Options(Variant v = Variant::kEp02) {
  SimulatorOptions o;
  o.variant = v;
  return o;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ExchangeTest, AcknowledgesAndAnswersWithTheExactBytes) {
  RunningSim s(Options(Variant::k0503));
  Host host(s.sim->path());
  EXPECT_THAT(host.Exchange(kLineFeed1), ElementsAreArray(kLineFeed1Answer));

  // Stuffed sequence number and checksum in both directions.
  EXPECT_THAT(
      host.Exchange({0x10, 0x02, 0x10, 0x10, 0x0E, 0xE2, 0x10, 0x03}),
      ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x10, 0x10, 0x0E, 0x00, 0x00, 0x00, 0xE2, 0x10, 0x03}));
  EXPECT_THAT(
      host.Exchange({0x10, 0x02, 0xE2, 0x0E, 0x10, 0x10, 0x10, 0x03}),
      ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0xE2, 0x0E, 0x00, 0x00, 0x00, 0x10, 0x10, 0x10, 0x03}));
  // Printer state: one data byte.
  EXPECT_THAT(
      host.Exchange(HostFrame(0x03, {0x30})),
      ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x03, 0x30, 0x00, 0x00, 0x00, 0x00, 0xCD, 0x10, 0x03}));
  EXPECT_EQ(s.sim->counters().commands_executed, 4u);
}

TEST(ExchangeTest, RefusesUnknownCommandsInsteadOfStayingSilent) {
  RunningSim s(Options(Variant::kEp02));
  Host host(s.sim->path());
  // 0x55 is nobody's command; 0x30 is not one of EP-02's. Status 0, result 16.
  EXPECT_THAT(
      host.Exchange({0x10, 0x02, 0x01, 0x55, 0xAA, 0x10, 0x03}),
      ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x01, 0x55, 0x00, 0x10, 0x10, 0x00, 0x9A, 0x10, 0x03}));
  EXPECT_THAT(
      host.Exchange(HostFrame(0x02, {0x30})),
      ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x02, 0x30, 0x00, 0x10, 0x10, 0x00, 0xBE, 0x10, 0x03}));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.unknown_commands, 2u);
  EXPECT_EQ(c.commands_refused, 2u);
}

TEST(ExchangeTest, AnswersNakToFramesItCannotTake) {
  RunningSim s;
  Host host(s.sim->path());
  EXPECT_THAT(host.Exchange({0x10, 0x02, 0x01, 0x0E, 0xF0, 0x10, 0x03}), ElementsAreArray(Bytes{0x15}));
  EXPECT_THAT(host.Exchange({0x10, 0x02, 0x01, 0xFF, 0x10, 0x03}), ElementsAreArray(Bytes{0x15}));
  // The same command with a good checksum is then executed: a NAKed frame leaves nothing behind.
  EXPECT_THAT(host.Exchange(kLineFeed1), ElementsAreArray(kLineFeed1Answer));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.bad_frames, 2u);
  EXPECT_EQ(c.naks_sent, 2u);
  EXPECT_EQ(c.commands_executed, 1u);
}

TEST(ExchangeTest, IgnoresNoiseBetweenFramesAndRestartsOnANewStartMarker) {
  RunningSim s;
  Host host(s.sim->path());
  // Junk, then half a frame cut short by a whole one.
  host.Write(Concat({0x41, 0x42, 0x10, 0x02, 0x09, 0x12, 0x34}, kLineFeed1));
  EXPECT_THAT(host.ReadAnswer(), ElementsAreArray(kLineFeed1Answer));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.frames_abandoned, 1u);
  EXPECT_EQ(c.stray_bytes, 2u);
  EXPECT_EQ(c.frames_received, 1u);
}

TEST(ResendTest, LostAnswerThenResendExecutesOnce) {
  SimulatorOptions o = Options(Variant::k0503);
  o.faults[FaultKind::kLoseAnswer] = FaultRule::Times(1);
  TempDir tape_dir;
  o.tape_path = tape_dir.File("tape.txt");
  RunningSim s(o);
  Host host(s.sim->path());

  const Bytes frame = {0x10, 0x02, 0x05, 0x0E, 0xED, 0x10, 0x03};
  host.Write(frame);
  ASSERT_TRUE(s.sim->WaitFor([](const Counters& c) { return c.answers_lost == 1; }));
  EXPECT_THAT(host.Exchange(frame),
              ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x05, 0x0E, 0x00, 0x00, 0x00, 0xED, 0x10, 0x03}));

  const Counters c = s.sim->counters();
  EXPECT_EQ(c.frames_received, 2u);
  EXPECT_EQ(c.commands_executed, 1u);
  EXPECT_EQ(c.repeats_answered, 1u);
  EXPECT_EQ(ReadFile(o.tape_path), "\n");  // fed once
}

TEST(ResendTest, ResendGetsTheVeryAnswerOfTheFirstExecution) {
  RunningSim s(Options(Variant::kEp02));
  Host host(s.sim->path());
  const Bytes status = HostFrame(0x08, {0x00});
  const Bytes first = host.Exchange(status);
  s.sim->WithModel([](PrinterModel& m) { m.status.mode.day_open = true; });
  // The resend is answered as it was first answered; a new request shows the open day.
  EXPECT_EQ(host.Exchange(status), first);
  const Bytes fresh = host.Exchange(HostFrame(0x09, {0x00}));
  // ACK, DLE STX, seq, code, status, result, reserve, then data byte 0: mode flags A.
  ASSERT_GT(fresh.size(), 8u);
  EXPECT_EQ(first[8], 0x00);
  EXPECT_EQ(fresh[8], 0x20);
  EXPECT_EQ(s.sim->counters().repeats_answered, 1u);
}

TEST(ResendTest, SameNumberWithOtherBytesIsANewCommand) {
  RunningSim s(Options(Variant::k0503));
  Host host(s.sim->path());
  host.Exchange(kLineFeed1);
  host.Exchange(HostFrame(0x01, {0x30}));  // a restarted host whose first number collides
  host.Exchange(HostFrame(0x01, {0x0E}));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.commands_executed, 3u);
  EXPECT_EQ(c.repeats_answered, 0u);
}

TEST(ResendTest, OnlyTheLastCommandCounts) {
  RunningSim s(Options(Variant::k0503));
  Host host(s.sim->path());
  host.Exchange(kLineFeed1);
  host.Exchange(kLineFeed2);
  host.Exchange(kLineFeed1);  // not the last one: executed again
  EXPECT_EQ(s.sim->counters().commands_executed, 3u);
}

TEST(ResendTest, ForgottenWhenTheHostClosesThePort) {
  RunningSim s(Options(Variant::k0503));
  Host host(s.sim->path());
  host.Exchange(kLineFeed1);
  host.Close();
  ASSERT_TRUE(s.sim->WaitFor([](const Counters& c) { return c.host_hangups == 1; }));
  host.Reopen();
  EXPECT_THAT(host.Exchange(kLineFeed1), ElementsAreArray(kLineFeed1Answer));
  EXPECT_EQ(s.sim->counters().commands_executed, 2u);
}

TEST(BusyTest, AnswersSynToAFrameThatComesWhileItWorks) {
  SimulatorOptions o = Options(Variant::k0503);
  o.processing_times[0x0E] = std::chrono::milliseconds(300);
  o.syn_interval = std::chrono::milliseconds(0);
  RunningSim s(o);
  Host host(s.sim->path());
  // Both frames in one write: the second arrives while the first is being worked on.
  host.Write(Concat(kLineFeed1, kLineFeed2));
  // ACK of the first, SYN to the second, then the first's answer frame.
  EXPECT_THAT(host.Read(12), ElementsAreArray(Concat(
                                 {0x06, 0x16}, Bytes(kLineFeed1Answer.begin() + 1, kLineFeed1Answer.end()))));
  const Counters c = s.sim->counters();
  EXPECT_EQ(c.commands_executed, 1u);
  EXPECT_EQ(c.busy_syns, 1u);
  // Free again: the refused command is taken now.
  EXPECT_THAT(host.Exchange(kLineFeed2), ElementsAreArray(kLineFeed2Answer));
}

TEST(BusyTest, KeepsTheHostWaitingWithSynBetweenAckAndAnswer) {
  SimulatorOptions o = Options(Variant::k0503);
  o.processing_time = std::chrono::milliseconds(250);
  o.syn_interval = std::chrono::milliseconds(40);
  RunningSim s(o);
  Host host(s.sim->path());
  const Bytes got = host.Exchange(kLineFeed1);
  // ACK, some SYNs (as many as the clock allowed), the frame.
  ASSERT_GE(got.size(), kLineFeed1Answer.size());
  const std::size_t syns = got.size() - kLineFeed1Answer.size();
  EXPECT_EQ(got.front(), 0x06);
  EXPECT_EQ(Bytes(got.begin() + 1, got.begin() + 1 + static_cast<long>(syns)), Bytes(syns, 0x16));
  EXPECT_EQ(Bytes(got.begin() + 1 + static_cast<long>(syns), got.end()),
            Bytes(kLineFeed1Answer.begin() + 1, kLineFeed1Answer.end()));
  EXPECT_EQ(s.sim->counters().keepalive_syns, syns);
}

TEST(PortTest, KeepsServingWhileTheHostClosesAndReopens) {
  RunningSim s(Options(Variant::k0503));
  Host host(s.sim->path());
  for (std::uint8_t seq = 1; seq <= 3; ++seq) {
    EXPECT_EQ(host.Exchange(HostFrame(seq, {0x0E})).size(), 11u) << int{seq};
    host.Close();
    ASSERT_TRUE(s.sim->WaitFor([seq](const Counters& c) { return c.host_hangups == seq; }));
    host.Reopen();
  }
  EXPECT_EQ(s.sim->counters().commands_executed, 3u);
}

TEST(PortTest, PublishesTheLinkAndRemovesItOnStop) {
  TempDir dir;
  SimulatorOptions o;
  o.link_path = dir.File("printer");
  Simulator sim(o);
  sim.Start();
  EXPECT_EQ(sim.path(), o.link_path);
  char target[256] = {};
  ASSERT_GT(::readlink(o.link_path.c_str(), target, sizeof target - 1), 0);
  EXPECT_EQ(std::string(target).rfind("/dev/pts/", 0), 0u);
  // Raw before any host configures it.
  {
    const int fd = ::open(o.link_path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    ::close(fd);
  }
  sim.Stop();
  EXPECT_NE(::access(o.link_path.c_str(), F_OK), 0);
}

TEST(PortTest, RefusesToReplaceAFileThatIsNotALink) {
  TempDir dir;
  std::ofstream(dir.File("taken")) << "x";
  SimulatorOptions o;
  o.link_path = dir.File("taken");
  Simulator sim(o);
  EXPECT_THROW(sim.Start(), std::system_error);
}

// The host owns a pty and the simulator serves its slave as an existing device.
TEST(DevicePortTest, ServesAnExistingDeviceAndSwitchesItsRate) {
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const std::string slave = ::ptsname(master);
  termios raw{};
  ::tcgetattr(master, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(master, TCSANOW, &raw);

  SimulatorOptions o = Options(Variant::kEp02);
  o.device_path = slave;
  Simulator sim(o);
  sim.Start();
  EXPECT_EQ(sim.path(), slave);

  const Bytes change_rate = {0x10, 0x02, 0x10, 0x10, 0x26, 0x01, 0xC9, 0x10, 0x03};
  ASSERT_EQ(::write(master, change_rate.data(), change_rate.size()),
            static_cast<ssize_t>(change_rate.size()));
  const Bytes expected = {0x06, 0x10, 0x02, 0x10, 0x10, 0x26, 0x00, 0x00, 0x00, 0xCA, 0x10, 0x03};
  EXPECT_THAT(ReadBytes(master, expected.size()), ElementsAreArray(expected));
  EXPECT_EQ(sim.WithModel([](PrinterModel& m) { return m.status.line.baud; }), 19200);

  // The device's own speed follows once the answer is out.
  const int probe = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  for (int i = 0; i < 200 && ::tcgetattr(probe, &t) == 0 && ::cfgetospeed(&t) != B19200; ++i) ::usleep(5000);
  EXPECT_EQ(::cfgetospeed(&t), static_cast<speed_t>(B19200));
  ::close(probe);
  sim.Stop();
  ::close(master);
}

TEST(PacingTest, PacedAnswersAreStillExact) {
  SimulatorOptions o = Options(Variant::k0503);
  o.pace = true;
  o.baud = 115200;
  RunningSim s(o);
  Host host(s.sim->path());
  EXPECT_THAT(host.Exchange(kLineFeed1), ElementsAreArray(kLineFeed1Answer));
}

// The line is never faster than its rate, in either direction: the answer's last byte cannot be
// there before the frame and the answer have both crossed the line, ten bits a byte.
TEST(PacingTest, AnExchangeTakesAtLeastTheLineTimeOfBothDirections) {
  SimulatorOptions o = Options(Variant::k0503);
  o.pace = true;
  o.baud = 9600;
  RunningSim s(o);
  Host host(s.sim->path());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_THAT(host.Exchange(kLineFeed1), ElementsAreArray(kLineFeed1Answer));
  const auto took = std::chrono::steady_clock::now() - start;
  const auto line = std::chrono::microseconds((kLineFeed1.size() + kLineFeed1Answer.size()) * 10'000'000 / 9600);
  EXPECT_GE(took, line);
}

TEST(TapeTest, LineFeedLeavesAnEmptyLineOnTheTape) {
  TempDir dir;
  SimulatorOptions o = Options(Variant::k0503);
  o.tape_path = dir.File("tape.txt");
  RunningSim s(o);
  Host host(s.sim->path());
  host.Exchange(kLineFeed1);
  host.Exchange(kLineFeed2);
  EXPECT_EQ(ReadFile(o.tape_path), "\n\n");
}

}  // namespace
}  // namespace zorfp::sim::testing
