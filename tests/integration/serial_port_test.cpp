// The platform's serial port on a pseudo-terminal: what has arrived is fetched in one call and
// handed out without waiting; the wait for a byte is still the one the time-outs and the caller
// allow, and only happens when nothing is held.
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "link/serial_port.h"

namespace zorfp {
namespace {

using std::chrono::milliseconds;
using Steady = std::chrono::steady_clock;

class SerialPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[256] = {};
    ASSERT_EQ(::openpty(&master_, &slave_, name, nullptr, nullptr), 0);
    termios tio{};
    ::tcgetattr(slave_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave_, TCSANOW, &tio);
    port_ = OpenSerialPort(name);
    ASSERT_NE(port_, nullptr);
    ASSERT_TRUE(port_->SetLineSettings(LineSettings{9600, 8, 0, 0, 0}));
    ASSERT_TRUE(port_->SetTimeouts(PortTimeouts{1000, 2, 1000, 2, 1000}));
  }
  void TearDown() override {
    port_.reset();
    if (master_ >= 0) ::close(master_);
    ::close(slave_);
  }

  void Send(const Bytes& bytes) { ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  // Bytes still queued in the device for the port to read (our own descriptor of the same tty).
  int QueuedInDevice() const {
    int n = -1;
    ::ioctl(slave_, FIONREAD, &n);
    return n;
  }
  // Waits until the device holds `n` bytes, so that a test starts from a known queue.
  void AwaitQueued(int n) {
    for (int i = 0; i < 500 && QueuedInDevice() < n; ++i) std::this_thread::sleep_for(milliseconds(2));
    ASSERT_EQ(QueuedInDevice(), n);
  }
  // Milliseconds a read of nothing took.
  static long long TimedEmptyRead(SerialPort& port, milliseconds cap) {
    const auto start = Steady::now();
    EXPECT_FALSE(port.ReadByte(cap).has_value());
    return std::chrono::duration_cast<milliseconds>(Steady::now() - start).count();
  }

  int master_ = -1;
  int slave_ = -1;
  std::unique_ptr<SerialPort> port_;
};

TEST_F(SerialPortTest, WhatArrivedTogetherIsFetchedInOneCallAndHandedOutWithoutWaiting) {
  const Bytes answer{0x06, 0x10, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x00, 0xF1, 0x10, 0x03};
  Send(answer);
  AwaitQueued(static_cast<int>(answer.size()));
  Bytes got;
  got.push_back(*port_->ReadByte(milliseconds(1000)));
  EXPECT_EQ(QueuedInDevice(), 0) << "the first read takes everything that has arrived";
  // A held byte comes even when the caller allows no wait at all.
  while (auto b = port_->ReadByte(milliseconds(0))) got.push_back(*b);
  EXPECT_EQ(got, answer);
}

TEST_F(SerialPortTest, PurgingTheInputDropsWhatWasFetchedButNotHandedOut) {
  Send(Bytes{0x06, 0x15, 0x16});
  AwaitQueued(3);
  ASSERT_EQ(port_->ReadByte(milliseconds(1000)), Byte{0x06});
  port_->Purge(true, false);
  EXPECT_GE(TimedEmptyRead(*port_, milliseconds(30)), 29) << "nothing held any more: the read waits";
  Send(Bytes{0x42});
  EXPECT_EQ(port_->ReadByte(milliseconds(1000)), Byte{0x42}) << "and the next byte is the new one";
}

TEST_F(SerialPortTest, AnEmptyReadWaitsTheSmallerOfTheTimeOutsAndTheCaller) {
  const struct {
    const char* what;
    PortTimeouts timeouts;
    milliseconds cap;
    long long expected_ms;
  } cases[] = {
      {"the caller's window is shorter", {1000, 2, 1000, 2, 1000}, milliseconds(40), 40},
      {"the port's time-outs are shorter", {0, 10, 30, 0, 0}, milliseconds(2000), 40},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(port_->SetTimeouts(c.timeouts));
    const long long waited = TimedEmptyRead(*port_, c.cap);
    EXPECT_GE(waited, c.expected_ms - 1) << c.what;
    EXPECT_LT(waited, 900) << c.what << ": the longer of the two must not count";
  }
}

TEST_F(SerialPortTest, AByteArrivingDuringTheWaitEndsItAndTheRestFollowsHeld) {
  std::thread later([this] {
    std::this_thread::sleep_for(milliseconds(20));
    Send(Bytes{0x10, 0x03});
  });
  const auto start = Steady::now();
  const auto first = port_->ReadByte(milliseconds(5000));
  const auto waited = std::chrono::duration_cast<milliseconds>(Steady::now() - start).count();
  later.join();
  EXPECT_EQ(first, Byte{0x10});
  EXPECT_LT(waited, 2500) << "the read returns when the byte comes, not at the end of its window";
  EXPECT_EQ(port_->ReadByte(milliseconds(1000)), Byte{0x03});
}

TEST_F(SerialPortTest, AFarEndThatIsGoneStillCostsTheWholeWait) {
  ::close(master_);
  master_ = -1;
  // No byte can come, but the caller is owed the wait it asked for instead of a busy loop.
  EXPECT_GE(TimedEmptyRead(*port_, milliseconds(50)), 49);
}

}  // namespace
}  // namespace zorfp
