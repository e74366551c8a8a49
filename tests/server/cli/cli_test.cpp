// The zorfp command line as scripts and outside tools use it: the JSON line per call, the call
// result read after it, class switching, exit statuses, and real exchanges with zorfp-sim.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "server/binding.h"
#include "server/dispatch.h"
#include "tools/json.h"

extern char** environ;

namespace zorfp::tools {
namespace {

struct Ran {
  int exit_status = -1;
  std::string out;
  std::string err;
  std::vector<std::string> lines() const {
    std::vector<std::string> v;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
  }
};

std::string ReadAll(int fd) {
  std::string s;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) s.append(buffer, static_cast<std::size_t>(n));
  return s;
}

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/zorfp-cli-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Runs a program with `input` on its standard input and collects what it prints.
Ran Run(std::vector<std::string> argv, const std::string& input) {
  TempDir dir;
  const std::string err_path = (dir.path() / "stderr").string();
  int in_pipe[2], out_pipe[2];
  EXPECT_EQ(::pipe(in_pipe), 0);
  EXPECT_EQ(::pipe(out_pipe), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addclose(&actions, in_pipe[1]);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  pid_t pid = 0;
  Ran r;
  const int spawned = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(in_pipe[0]);
  ::close(out_pipe[1]);
  if (spawned != 0) {
    ::close(in_pipe[1]);
    ::close(out_pipe[0]);
    ADD_FAILURE() << "cannot start " << argv[0];
    return r;
  }
  // Scripts are far smaller than a pipe's buffer: write all, then read.
  EXPECT_EQ(::write(in_pipe[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
  ::close(in_pipe[1]);
  r.out = ReadAll(out_pipe[0]);
  ::close(out_pipe[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  r.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(err_path);
  std::ostringstream text;
  text << err.rdbuf();
  r.err = text.str();
  return r;
}

Ran Zorfp(std::vector<std::string> args, const std::string& script) {
  args.insert(args.begin(), ZORFP_CLI_PATH);
  return Run(std::move(args), script);
}

// zorfp-sim on a pseudo-terminal for the length of a test.
class Simulator {
 public:
  Simulator(const char* variant, std::vector<std::string> extra = {}) {
    link_ = (dir_.path() / "tty").string();
    std::vector<std::string> argv = {ZORFP_SIM_PATH, "--variant", variant, "--link", link_};
    argv.insert(argv.end(), extra.begin(), extra.end());
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    EXPECT_EQ(::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    // It says "ready PATH" once it serves.
    std::string line;
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(out[0]);
    EXPECT_EQ(line, "ready " + link_);
  }
  ~Simulator() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  const std::string& path() const { return link_; }

 private:
  TempDir dir_;
  std::string link_;
  pid_t pid_ = -1;
};

TEST(Cli, OpensChangesSpeedAndClosesOnTheSimulator) {
  Simulator sim("05-03");
  const Ran r = Zorfp({"--json"},
                      "# a 05-03 printer\n"
                      "FPInitEx \"" +
                          sim.path() +
                          "\" 9600 10 10\n"
                          "FPChangeBaudRate 3 false\n"
                          "Lang = 0\n"
                          "FPChangeBaudRate 3 false\n"
                          "use ZOR_EP_02\n"
                          "FPClose\n"
                          "use zor_05_03\n"
                          "fpchangebaudrate 1 false\n"
                          "FPClose\n");
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(
      r.lines(),
      (std::vector<std::string>{
          R"j({"class":"ZOR_05_03","member":"FPInitEx","value":true,"result":0,"status":0,"text":""})j",
          R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","value":false,"result":111,"status":255,"text":"Неверно задана скорость связи!"})j",
          R"j({"class":"ZOR_05_03","member":"Lang","value":null,"result":111,"status":255,"text":"Неверно задана скорость связи!"})j",
          R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","value":false,"result":111,"status":255,"text":"Incorrect baud rate!"})j",
          // The EP-02 object has no port of its own; the 05-03 object keeps its port meanwhile.
          R"j({"class":"ZOR_EP_02","member":"FPClose","value":false,"result":111,"status":255,"text":"Incorrect baud rate!"})j",
          R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","value":true,"result":0,"status":0,"text":""})j",
          R"j({"class":"ZOR_05_03","member":"FPClose","value":true,"result":0,"status":0,"text":""})j",
      }));
}

TEST(Cli, ASilentPortGivesResult101AndItsText) {
  Simulator sim("05-03", {"--fault", "silent=1"});
  const Ran r = Zorfp({"--json"},
                      "RepeatCount = 0\n"
                      "FPInitEx \"" +
                          sim.path() +
                          "\" 9600 1 1\n"
                          "FPChangeBaudRate 1 false\n"
                          "FPClose\n");
  EXPECT_EQ(r.exit_status, 0) << r.err;
  ASSERT_EQ(r.lines().size(), 4u) << r.out;
  EXPECT_EQ(
      r.lines()[2],
      R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","value":false,"result":101,"status":255,"text":"ЭККР не отвечает!"})j");
}

TEST(Cli, OlderClassesReportThroughFPErrorMessage) {
  Simulator sim("EP-01");
  const Ran r = Zorfp({"--class", "ZOR_EP_01", "--json"}, "FPInitEx \"" + sim.path() +
                                                              "\" 9600 10 10\n"
                                                              "FPChangeRate 5\n"
                                                              "FPChangeRate 1\n"
                                                              "GetByteResult\n"
                                                              "FPClose\n");
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_EQ(
      r.lines(),
      (std::vector<std::string>{
          R"j({"class":"ZOR_EP_01","member":"FPInitEx","value":true,"result":0,"status":0,"text":""})j",
          // EP-01 refuses with a text only.
          R"j({"class":"ZOR_EP_01","member":"FPChangeRate","value":null,"result":0,"status":0,"text":"Неверно задана скорость связи!"})j",
          R"j({"class":"ZOR_EP_01","member":"FPChangeRate","value":null,"result":0,"status":0,"text":""})j",
          R"j({"class":"ZOR_EP_01","member":"GetByteResult","value":0,"result":0,"status":0,"text":""})j",
          R"j({"class":"ZOR_EP_01","member":"FPClose","value":true,"result":0,"status":0,"text":""})j",
      }));
}

TEST(Cli, LinesThatCannotBeParsedOrBoundGiveExitStatus2) {
  const Ran r = Zorfp({"--json"},
                      "FPNoSuchMember\n"
                      "FPChangeBaudRate \"fast\" false\n"
                      "FPChangeBaudRate 1\n"
                      "FPInitEx \"unterminated\n"
                      "use ZOR_99\n"
                      "GetByteResult = 5\n"
                      "RepeatCount\n");
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(
      r.lines(),
      (std::vector<std::string>{
          R"j({"class":"ZOR_05_03","member":"FPNoSuchMember","error":"FPNoSuchMember: unknown name in ZOR_05_03."})j",
          R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","error":"FPChangeBaudRate: Type mismatch. (argument 1)"})j",
          R"j({"class":"ZOR_05_03","member":"FPChangeBaudRate","error":"FPChangeBaudRate: Invalid number of parameters."})j",
          R"j({"class":"ZOR_05_03","member":"GetByteResult","error":"GetByteResult: Member not found."})j",
          R"j({"class":"ZOR_05_03","member":"RepeatCount","value":2,"result":0,"status":0,"text":""})j",
      }));
  EXPECT_NE(r.err.find("line 4: unterminated string"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 5: no class named ZOR_99"), std::string::npos) << r.err;
}

TEST(Cli, ReadableOutputAndAScriptFile) {
  TempDir dir;
  const std::filesystem::path script = dir.path() / "script.txt";
  std::ofstream(script) << "FPChangeBaudRate 7\nGetTextErrorMessage\nNope\n";
  const Ran r = Zorfp({"--class", "EP-02", script.string()}, "");
  EXPECT_EQ(r.exit_status, 2);
  EXPECT_EQ(
      r.lines(),
      (std::vector<std::string>{
          "ZOR_EP_02.FPChangeBaudRate -> false  [result 111, status 255] Неверно задана скорость связи!",
          "ZOR_EP_02.GetTextErrorMessage -> \"Неверно задана скорость связи!\"  [result 111, status 255] "
          "Неверно задана скорость связи!",
          "ZOR_EP_02.Nope: error: Nope: unknown name in ZOR_EP_02.",
      }));
  EXPECT_EQ(Zorfp({"--class", "ZOR_NONE"}, "").exit_status, 1);
  EXPECT_EQ(Zorfp({(dir.path() / "missing.txt").string()}, "").exit_status, 1);
}

TEST(Cli, MembersAndCoverage) {
  const server::Coverage c = server::CoverageOf(server::Dispatcher::For(VariantId::k08_01).members());
  const Ran all = Zorfp({"members", "--class", "08-01"}, "");
  EXPECT_EQ(all.exit_status, 0);
  const std::vector<std::string> lines = all.lines();
  ASSERT_EQ(lines.size(), 69u);
  EXPECT_EQ(lines[0], "ZOR_08_01 (IZOR_08_01): 68 members, " + std::to_string(c.built) + " built, " +
                          std::to_string(c.partial) + " partial");
  EXPECT_EQ(lines[1],
            "     1  built    FPInit(PortNumber byte, ReadTimeOut byte, WriteTimeOut byte) -> bool");

  const Ran coverage = Zorfp({"members", "--coverage"}, "");
  EXPECT_EQ(coverage.exit_status, 0);
  EXPECT_NE(coverage.out.find("ZOR_05_03 (IZOR_05_03): 416 members"), std::string::npos);
  EXPECT_EQ(coverage.out.find("  built  "), std::string::npos);  // only what is missing is listed
  EXPECT_NE(coverage.out.find("of 1624 member slots built"), std::string::npos);
  EXPECT_EQ(Zorfp({"members", "--class", "nope"}, "").exit_status, 2);
}

TEST(Cli, HelpListsTheSubcommands) {
  const Ran r = Zorfp({"--help"}, "");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_NE(r.out.find("usage: zorfp [--class NAME] [--json] [--show-args] [FILE]"), std::string::npos);
  EXPECT_NE(r.out.find("  members "), std::string::npos);
}

TEST(Cli, EverySubcommandHasHelpOnStandardOutput) {
  const std::vector<std::vector<std::string>> asks = {
      {"demo", "--help"}, {"demo", "-h"}, {"members", "--help"}, {"members", "--class", "EP-02", "--help"}};
  for (const std::vector<std::string>& ask : asks) {
    const Ran r = Zorfp(ask, "");
    EXPECT_EQ(r.exit_status, 0) << ask[0];
    EXPECT_EQ(r.out.rfind("usage: zorfp " + ask[0], 0), 0u) << r.out;
    EXPECT_EQ(r.err, "") << ask[0];
  }
}

TEST(Cli, ShowArgsAndAFailedOpensReason) {
  TempDir dir;
  const std::string missing = (dir.path() / "no-such-port").string();
  const Ran r = Zorfp({"--show-args"}, "FPInitEx \"" + missing + "\" 9600 1 1\nLang = 0\nFPChangeBaudRate 3 false\n");
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.lines(),
            (std::vector<std::string>{
                "ZOR_05_03.FPInitEx(\"" + missing + "\", 9600, 1, 1) -> false  [result 0, status 0] Порт занят!",
                "ZOR_05_03.Lang = 0 -> null  [result 0, status 0] Порт занят!",
                "ZOR_05_03.FPChangeBaudRate(3, false) -> false  [result 111, status 255] Incorrect baud rate!",
            }));
  // The member's own result is as defined; the system's reason goes beside it.
  EXPECT_EQ(r.err, "zorfp: FPInitEx: cannot open " + missing + ": No such file or directory\n");
}

TEST(Cli, DemoWithJsonPrintsOnlyJsonLines) {
  const Ran r = Zorfp({"demo", "--json"}, "");
  EXPECT_EQ(r.exit_status, 0) << r.err;
  const std::vector<std::string> lines = r.lines();
  ASSERT_GT(lines.size(), 5u);
  for (const std::string& line : lines) {
    const Json j = Json::parse(line, nullptr, false);
    ASSERT_TRUE(j.is_object()) << line;
    if (&line != &lines.back()) {
      EXPECT_TRUE(j.contains("args")) << line;
    }
  }
  EXPECT_NE(Json::parse(lines.back())["tape"].get<std::string>().find("РЕШТА"), std::string::npos);
}

}  // namespace
}  // namespace zorfp::tools
