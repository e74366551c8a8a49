#include "setup/download.h"

#include <gtest/gtest.h>

#include "fake_transport.h"
#include "temp_folder.h"

namespace zorfp::setup {
namespace {

using testing::FakeTransport;
using testing::ReadAll;
using testing::TempFolder;
using testing::WriteAll;

class Sink : public DownloadSink {
 public:
  std::vector<std::string> statuses;
  std::vector<std::string> texts;
  std::atomic<bool>* pause_after_first = nullptr;
  void Status(const std::string& text) override { statuses.push_back(text); }
  void Progress(int, const std::string& text, const std::string&, const std::string&) override {
    texts.push_back(text);
    if (pause_after_first) pause_after_first->store(true);
  }
};

double Clock() {
  static double t = 0;
  return t += 0.5;
}

std::string Payload() {
  std::string s;
  for (int i = 0; i < 5000; ++i) s += static_cast<char>('a' + i % 26);
  return s;
}

struct Fixture {
  TempFolder dir;
  FakeTransport server;
  Sink sink;
  std::atomic<bool> pause{false};
  Fixture() { server.file = Payload(); }
  Download Make(std::optional<std::uint64_t> exact = std::nullopt) {
    return Download(server, "http://127.0.0.1/files/prereq.exe?x=1", dir.path(), exact, Clock);
  }
};

TEST(Download, WholeFileIsMovedToItsName) {
  Fixture f;
  Download d = f.Make(5000);
  EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kDone);
  EXPECT_EQ(ReadAll(f.dir.path() / "prereq.exe"), Payload());
  EXPECT_EQ(f.dir.Files(), std::vector<std::string>{"prereq.exe"});
  EXPECT_EQ(f.sink.statuses.front(), "Connecting...");
  EXPECT_EQ(f.sink.texts.back(), "Downloading: prereq.exe 100%  (4.8 KB of 4.8 KB)");
}

// An interrupted download resumes from the size of its part file, in every combination of what the
// server does with the range asked for.
TEST(Download, InterruptedAndResumed) {
  const struct {
    const char* what;
    bool honours;
    bool refuses;
    std::vector<std::uint64_t> asked;
  } cases[] = {
      {"range confirmed: appended", true, false, {0, 3000}},
      {"range ignored: started over", false, false, {0, 3000}},
      {"range refused: asked again from the start", false, true, {0, 3000, 0}},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.server.honours_ranges = c.honours;
    f.server.refuses_ranges = c.refuses;
    f.server.drop_after = 3000;
    Download d = f.Make();
    EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kInterrupted) << c.what;
    EXPECT_EQ(f.dir.Files(), std::vector<std::string>{"prereq.exe.part"}) << c.what;  // not under its name
    f.server.drop_after = SIZE_MAX;
    EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kDone) << c.what;
    EXPECT_EQ(ReadAll(f.dir.path() / "prereq.exe"), Payload()) << c.what;
    EXPECT_EQ(f.server.asked, c.asked) << c.what;
    EXPECT_EQ(f.sink.statuses[2], "Resuming download at: 3000") << c.what;
  }
}

TEST(Download, PauseKeepsThePartForTheNextRun) {
  Fixture f;
  f.sink.pause_after_first = &f.pause;
  Download d = f.Make();
  EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kPaused);
  EXPECT_EQ(ReadAll(d.PartFile()), Payload().substr(0, 1000));
  f.sink.pause_after_first = nullptr;
  f.pause = false;
  EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kDone);
  EXPECT_EQ(ReadAll(d.Target()), Payload());
  EXPECT_EQ(f.server.asked, (std::vector<std::uint64_t>{0, 1000}));
}

// A connection that ends early without an error is still an interruption when the server said
// how long the file is.
TEST(Download, EarlyEndIsAnInterruption) {
  Fixture f;
  class Short : public FakeTransport {
    std::optional<std::size_t> Read(void* out, std::size_t n) override {
      if (reads_++ == 2) return 0;
      return FakeTransport::Read(out, n);
    }
    int reads_ = 0;
  } server;
  server.file = Payload();
  Download d(server, "ftp://127.0.0.1/prereq.exe", f.dir.path(), std::nullopt, Clock);
  EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kInterrupted);
  EXPECT_FALSE(std::filesystem::exists(d.Target()));
}

TEST(Download, WrongSizeIsNeverKept) {
  for (std::uint64_t exact : {4999u, 5001u}) {
    Fixture f;
    WriteAll(f.dir.path() / "prereq.exe.part", "");
    Download d = f.Make(exact);
    EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kWrongSize);
    EXPECT_EQ(f.sink.statuses.back(), "Wrong size");
    EXPECT_TRUE(f.dir.Files().empty()) << exact;
  }
}

TEST(Download, UnsafeNamesAreNotDownloaded) {
  for (const char* url : {"http://h/", "http://h/a/..", "http://h/CON", "http://h", "http://h/a%2F..%2Fb:c"}) {
    EXPECT_FALSE(DownloadFileName(url).has_value()) << url;
  }
  EXPECT_EQ(DownloadFileName("ftp://user@h:21/pub/x.exe#frag"), "x.exe");
  Fixture f;
  Download d(f.server, "http://h/", f.dir.path(), std::nullopt, Clock);
  EXPECT_EQ(d.Run(f.pause, f.sink), DownloadOutcome::kBadName);
  EXPECT_TRUE(f.server.asked.empty());
}

TEST(Download, Texts) {
  EXPECT_EQ(SizeText(0), "0 bytes");
  EXPECT_EQ(SizeText(1023), "1023 bytes");
  EXPECT_EQ(SizeText(1536), "1.5 KB");
  EXPECT_EQ(SizeText(5 * 1024 * 1024 + 300 * 1024), "5.2 MB");
  EXPECT_EQ(SizeText(3ull << 30), "3.0 GB");
  EXPECT_EQ(SpeedText(1536), "1.5 KB/s");
  EXPECT_EQ(SpeedText(100), "0.0 KB/s");
  EXPECT_EQ(RemainingText(7300, 2048), "2 hr 1 min at 2.0 KB/sec");
  EXPECT_EQ(RemainingText(61, 2048), "1 min 1 sec at 2.0 KB/sec");
  EXPECT_EQ(RemainingText(59, 500), "59 sec at 500 bytes/sec");
  EXPECT_EQ(DownloadingText("a.exe", 512, 2048), "Downloading: a.exe 25%  (512 bytes of 2.0 KB)");
  EXPECT_EQ(DownloadingText("a.exe", 512, std::nullopt), "Downloading: a.exe  (512 bytes)");
}

}  // namespace
}  // namespace zorfp::setup
