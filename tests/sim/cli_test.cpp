// The zorfp-sim command line: parsing, and the program as outside tools use it.
#include "sim/cli.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "host.h"

extern char** environ;

namespace zorfp::sim::testing {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

CommandLine Parse(std::vector<std::string_view> args) {
  return ParseCommandLine(args);
}

TEST(CommandLineTest, TakesEveryOption) {
  const CommandLine cl = Parse({"--variant",
                                "05-03",
                                "--link",
                                "/tmp/p",
                                "--baud=19200",
                                "--pace",
                                "--tape",
                                "t.txt",
                                "--state",
                                "s.json",
                                "--seed",
                                "99",
                                "--fault",
                                "nak=0.25",
                                "--fault",
                                "lose-answer=1x@3",
                                "--fault",
                                "delay-ms=40",
                                "--force",
                                "30:00:00:00:48",
                                "--force",
                                "0E:80:2C:01",
                                "--processing-ms",
                                "150",
                                "--processing-ms",
                                "1d=900",
                                "--syn-interval-ms",
                                "0"});
  ASSERT_EQ(cl.error, "");
  const SimulatorOptions& o = cl.options;
  EXPECT_EQ(o.variant, Variant::k0503);
  EXPECT_EQ(o.link_path, "/tmp/p");
  EXPECT_EQ(o.baud, 19200);
  EXPECT_TRUE(o.pace);
  EXPECT_EQ(o.tape_path, "t.txt");
  EXPECT_EQ(o.state_path, "s.json");
  EXPECT_EQ(o.seed, 99u);
  EXPECT_EQ(o.faults[FaultKind::kNak].probability, 0.25);
  EXPECT_EQ(o.faults[FaultKind::kLoseAnswer].times, 1u);
  EXPECT_EQ(o.faults[FaultKind::kLoseAnswer].first, 3u);
  EXPECT_EQ(o.faults.delay, std::chrono::milliseconds(40));
  EXPECT_EQ(o.forced.at(0x30), (ForcedAnswer{0, 0, 0, {0x48}}));
  EXPECT_EQ(o.forced.at(0x0E), (ForcedAnswer{0x80, 0x2C, 0x01, {}}));
  EXPECT_EQ(o.processing_time, std::chrono::milliseconds(150));
  EXPECT_EQ(o.processing_times.at(0x1D), std::chrono::milliseconds(900));
  EXPECT_EQ(o.syn_interval, std::chrono::milliseconds(0));
}

TEST(CommandLineTest, SaysWhatIsWrong) {
  struct Case {
    std::vector<std::string_view> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{"--link", "/tmp/p"}, "--variant is required"},
      {{"--variant", "EP-03", "--link", "/tmp/p"}, "unknown variant"},
      {{"--variant", "EP-02"}, "--link PATH"},
      {{"--variant", "EP-02", "--link"}, "wants a value"},
      {{"--variant", "EP-02", "--link", "/p", "--baud", "9601"}, "unsupported baud rate"},
      {{"--variant", "EP-02", "--link", "/p", "--fault", "nak"}, "NAME=VALUE"},
      {{"--variant", "EP-02", "--link", "/p", "--fault", "gremlins=1"}, "unknown fault"},
      {{"--variant", "EP-02", "--link", "/p", "--fault", "nak=2"}, "bad value for fault nak"},
      {{"--variant", "EP-02", "--link", "/p", "--fault", "delay-ms=soon"}, "bad delay"},
      {{"--variant", "EP-02", "--link", "/p", "--force", "30:00:00"}, "--force wants"},
      {{"--variant", "EP-02", "--link", "/p", "--force", "30:00:00:00:4"}, "--force wants"},
      {{"--variant", "EP-02", "--link", "/p", "--force", "300:00:00:00"}, "--force wants"},
      {{"--variant", "EP-02", "--link", "/p", "--seed", "-1"}, "bad seed"},
      {{"--variant", "EP-02", "--link", "/p", "--frobnicate", "1"}, "unknown option"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    EXPECT_THAT(Parse(c.args).error, HasSubstr(c.error));
  }
  EXPECT_TRUE(Parse({"--device", "/dev/ttyS0", "--variant", "08-01"}).error.empty());
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(CommandLineTest, HelpNamesEveryOptionAndFault) {
  const std::string help = HelpText();
  for (const char* word :
       {"--variant", "--link", "--device", "--baud", "--pace", "--tape", "--state", "--seed", "--fault",
        "--force", "--processing-ms", "--syn-interval-ms", "delay-ms", "ready PATH", "SIGUSR1"}) {
    EXPECT_THAT(help, HasSubstr(word));
  }
  for (int k = 0; k < kFaultKindCount; ++k)
    EXPECT_THAT(help, HasSubstr(FaultName(static_cast<FaultKind>(k))));
}

// The program itself, as a test harness or the demo runs it.
class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    args.insert(args.begin(), ZORFP_SIM_EXE);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, ZORFP_SIM_EXE, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    stdout_ = out[0];
  }
  ~Program() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      Wait();
    }
    ::close(stdout_);
  }

  // The first line of standard output.
  std::string Line() {
    std::string line;
    char c = 0;
    while (::read(stdout_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  void Signal(int sig) { ::kill(pid_, sig); }
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_ = -1;
  int stdout_ = -1;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Waits for a file the program writes in the background; it renames it into place whole.
std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && ::access(path.c_str(), F_OK) != 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ReadFile(path);
}

TEST(ProgramTest, ServesUntilSigtermAndLeavesItsState) {
  TempDir dir;
  const std::string link = dir.File("printer");
  const std::string state = dir.File("state.json");
  const std::string tape = dir.File("tape.txt");
  Program p({"--variant", "05-03", "--link", link, "--state", state, "--tape", tape, "--seed", "5"});
  ASSERT_EQ(p.Line(), "ready " + link);
  {
    Host host(link);
    EXPECT_THAT(host.Exchange({0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03}),
                ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x00, 0xF1, 0x10, 0x03}));
    host.Exchange({0x10, 0x02, 0x01, 0x0E, 0xF1, 0x10, 0x03});  // resend
  }
  p.Signal(SIGUSR1);
  const std::string interim = WaitForFile(state);
  EXPECT_THAT(interim, HasSubstr("\"variant\": \"05-03\""));
  EXPECT_THAT(interim, HasSubstr("\"commands_executed\": 1,"));
  ASSERT_EQ(::unlink(state.c_str()), 0);

  p.Signal(SIGTERM);
  EXPECT_EQ(p.Wait(), 0);
  const std::string final_state = ReadFile(state);
  EXPECT_THAT(final_state, HasSubstr("\"frames_received\": 2,"));
  EXPECT_THAT(final_state, HasSubstr("\"commands_executed\": 1,"));
  EXPECT_THAT(final_state, HasSubstr("\"repeats_answered\": 1,"));
  EXPECT_THAT(final_state, HasSubstr("\"serial_number\": \"ZR53000079\""));
  EXPECT_EQ(ReadFile(tape), "\n");
  EXPECT_NE(::access(link.c_str(), F_OK), 0);  // link removed
}

TEST(ProgramTest, FaultsAndForcedAnswersFromTheCommandLine) {
  TempDir dir;
  const std::string link = dir.File("printer");
  Program p({"--variant", "EP-05", "--link", link, "--fault", "nak=1x", "--force", "30:00:00:00:48"});
  ASSERT_EQ(p.Line(), "ready " + link);
  Host host(link);
  const Bytes frame = {0x10, 0x02, 0x01, 0x30, 0xCF, 0x10, 0x03};
  EXPECT_THAT(host.Exchange(frame), ElementsAreArray(Bytes{0x15}));
  EXPECT_THAT(host.Exchange(frame), ElementsAreArray(Bytes{0x06, 0x10, 0x02, 0x01, 0x30, 0x00, 0x00, 0x00,
                                                           0x48, 0x87, 0x10, 0x03}));
  p.Signal(SIGINT);
  EXPECT_EQ(p.Wait(), 0);
}

TEST(ProgramTest, RefusesABadCommandLine) {
  Program p({"--variant", "EP-09", "--link", "/tmp/never"});
  EXPECT_EQ(p.Line(), "");
  EXPECT_EQ(p.Wait(), 2);
}

}  // namespace
}  // namespace zorfp::sim::testing
