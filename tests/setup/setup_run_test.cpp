#include "setup/setup_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "fake_transport.h"
#include "temp_folder.h"

namespace zorfp::setup {
namespace {

using testing::Bytes;
using testing::ReadAll;
using testing::TempFolder;
using testing::WriteAll;

// The prerequisite "installs" a file that the probe then finds with a version.
class Platform : public SetupPlatform {
 public:
  testing::TempFolder program_folder, temp;
  std::filesystem::path program = program_folder.path() / "ZORFPDriverSetup.exe";
  bool has_temp = true;
  bool nt = true;
  std::vector<std::string> events;
  std::map<std::string, std::string> run_values;
  std::map<std::string, int> exit_codes;  // by file name; default 0
  std::set<std::string> installed;        // file names the probe finds
  StepOutcome wizard = StepOutcome::kGoOn;
  testing::FakeTransport server;

  class Probe : public SystemProbe {
   public:
    explicit Probe(Platform& p) : p_(p) {}
    bool IsNtFamily() const override { return p_.nt; }
    std::string Folder(std::string_view) const override { return "C:\\sys\\"; }
    Found FindFiles(const std::string& path, unsigned) override {
      if (p_.installed.count(path)) return {std::string("1.5.0.0")};
      return {};
    }
    Found ReadRegistry(const RegistryPath&) override { return {}; }

   private:
    Platform& p_;
  } probe{*this};

  std::filesystem::path ProgramFile() override { return program; }
  std::optional<std::filesystem::path> TempFolder() override {
    return has_temp ? std::optional(temp.path()) : std::nullopt;
  }
  void ShowError(const std::string& text) override { events.push_back("error: " + text); }
  void ShowProgress(const std::string& title, const std::string& text) override {
    events.push_back("progress: " + title + ": " + text);
  }
  void HideProgress() override {}
  std::string ProductName() override { return "ZORFP driver"; }
  SystemProbe& Probe() override { return probe; }
  void SetRunValue(const std::string& name, const std::string& command) override { run_values[name] = command; }
  void RemoveRunValue(const std::string& name) override { run_values.erase(name); }
  std::optional<int> OpenAndWait(const std::filesystem::path& file, const std::string& parameters) override {
    const std::string name = file.filename().string();
    events.push_back("open: " + name + " " + parameters + " [" + ReadAll(file) + "]");
    if (name == "missing.msi") return std::nullopt;
    if (name != "ZORFPdriver.msi") installed.insert("C:\\sys\\" + name.substr(0, name.find('.')) + ".dll");
    auto it = exit_codes.find(name);
    return it == exit_codes.end() ? 0 : it->second;
  }
  void OpenSite(const std::string& url) override { events.push_back("site: " + url); }
  std::unique_ptr<Transport> MakeTransport() override {
    class Shared : public Transport {
     public:
      explicit Shared(Transport& t) : t_(t) {}
      OpenResult Open(const std::string& u, std::uint64_t r) override { return t_.Open(u, r); }
      std::optional<std::size_t> Read(void* o, std::size_t n) override { return t_.Read(o, n); }
      void Close() override { t_.Close(); }

     private:
      Transport& t_;
    };
    return std::make_unique<Shared>(server);
  }
  Download::Clock Clock() override {
    return [] { return 1.0; };
  }
  StepOutcome RunWizard(Session&) override {
    events.push_back("wizard");
    return wizard;
  }

  void Pack(const std::string& ini, std::vector<PackFile> more = {}) {
    std::vector<PackFile> files = {{kDatabase, "ZORFPdriver.msi", Bytes("msi")},
                                   {kCabinet, "ZORFPdriver.cab", Bytes("cab")},
                                   {kConfiguration, "prerequisites.ini", Bytes(ini)},
                                   {kPrerequisiteSetup, "runtime.exe", Bytes("runtime")}};
    files.insert(files.end(), more.begin(), more.end());
    const std::vector<std::uint8_t> b = BuildPackage(Bytes("MZ image"), files, kCarriesConfiguration);
    WriteAll(program, std::string(b.begin(), b.end()));
  }
};

const char* kOneRuntime =
    "[GeneralOptions]\nMainAppCmdLine=/qn\nOptions=%s\n[PREREQUISITES]\nApp1=Runtime\n"
    "[Runtime]\nSetupFile=runtime.exe\nSearchType=0\nSearchString=[SystemFolder]runtime.dll\n"
    "VerMin=1.0\nTargetOS=%s\nCommandLine=/S\n";

std::string OneRuntime(const char* options, const char* target = "2") {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, kOneRuntime, options, target);
  return buffer;
}

TEST(Setup, QuietModeInstallsDetectsAgainAndOpensTheDatabase) {
  Platform p;
  p.Pack(OneRuntime("q"));
  p.exit_codes["ZORFPdriver.msi"] = 1603;
  EXPECT_EQ(RunSetup(p, ""), 1603);  // the installer's exit code
  EXPECT_EQ(p.events, (std::vector<std::string>{
                          "progress: ZORFP driver Setup: Checking the prerequisites...",
                          "open: runtime.exe /S [runtime]",
                          "progress: ZORFP driver Setup: Extracting the main application files...",
                          "open: ZORFPdriver.msi /qn [msi]",
                      }));
  EXPECT_TRUE(p.run_values.empty());
  EXPECT_EQ(ReadAll(p.temp.path() / "ZORFPdriver.cab"), "cab");
}

TEST(Setup, OwnCommandLineReplacesTheDatabaseParameters) {
  Platform p;
  p.Pack(OneRuntime(""));
  p.installed.insert("C:\\sys\\runtime.dll");
  EXPECT_EQ(RunSetup(p, "/l*v log.txt"), 0);
  EXPECT_EQ(p.events.back(), "open: ZORFPdriver.msi /l*v log.txt [msi]");
  EXPECT_EQ(std::count(p.events.begin(), p.events.end(), "wizard"), 0);  // nothing to do: no pages
}

TEST(Setup, NotForThisSystemIsNeverRun) {
  Platform p;
  p.Pack(OneRuntime("q", "0"));
  EXPECT_EQ(RunSetup(p, ""), 0);
  for (const std::string& e : p.events) EXPECT_EQ(e.find("runtime.exe"), std::string::npos) << e;
  EXPECT_FALSE(std::filesystem::exists(p.temp.path() / "runtime.exe"));
}

// The Run value is there only while prerequisites are being installed, quoted, and stays only for
// the restart a prerequisite asked for.
TEST(Setup, RunValue) {
  const struct {
    const char* what;
    const char* options;
    StepOutcome wizard;
    int runtime_exit;
    bool database_missing;
    int exit_code;
    bool kept;
  } cases[] = {
      {"wizard finished", "", StepOutcome::kGoOn, 0, false, 0, false},
      {"wizard left", "", StepOutcome::kCancelled, 0, false, -1, false},
      {"wizard asks for a restart", "", StepOutcome::kRestart, 0, false, kRestartRequired, true},
      {"quiet, restart required", "q", StepOutcome::kGoOn, 3010, false, kRestartRequired, true},
      {"quiet, restart initiated", "q", StepOutcome::kGoOn, 1641, false, kRestartRequired, true},
      {"quiet, prerequisite failed", "q", StepOutcome::kGoOn, 1, false, 0, false},
      {"installer cannot start", "q", StepOutcome::kGoOn, 0, true, 7, false},
  };
  for (const auto& c : cases) {
    Platform p;
    if (c.database_missing) {
      p.Pack(OneRuntime(c.options));
      std::vector<std::uint8_t> b = BuildPackage(
          Bytes("MZ"), {{kDatabase, "missing.msi", Bytes("m")}, {kConfiguration, "p.ini", Bytes(OneRuntime("q"))},
                        {kPrerequisiteSetup, "runtime.exe", Bytes("r")}},
          kCarriesConfiguration);
      WriteAll(p.program, std::string(b.begin(), b.end()));
    } else {
      p.Pack(OneRuntime(c.options));
    }
    p.wizard = c.wizard;
    p.exit_codes["runtime.exe"] = c.runtime_exit;
    EXPECT_EQ(RunSetup(p, ""), c.exit_code) << c.what;
    EXPECT_EQ(p.run_values.size(), c.kept ? 1u : 0u) << c.what;
    if (c.kept) {
      EXPECT_EQ(p.run_values.begin()->second, "\"" + p.program.string() + "\"") << c.what;
    }
  }
}

// The run after the restart finds everything installed and removes what the run before it left.
TEST(Setup, RunAfterTheRestartRemovesTheRunValue) {
  Platform p;
  p.Pack(OneRuntime("q"));
  p.exit_codes["runtime.exe"] = kRestartRequired;
  EXPECT_EQ(RunSetup(p, ""), kRestartRequired);
  ASSERT_EQ(p.run_values.size(), 1u);
  EXPECT_EQ(RunSetup(p, ""), 0);
  EXPECT_TRUE(p.run_values.empty());
  EXPECT_EQ(std::count(p.events.begin(), p.events.end(), "open: runtime.exe /S [runtime]"), 1);
}

TEST(Setup, RunValueHoldsTheQuotedPathAndTheCommandLine) {
  EXPECT_EQ(RunCommand("C:\\Program Files\\ZORFP\\ZORFPDriverSetup.exe", "  /qb "),
            "\"C:\\Program Files\\ZORFP\\ZORFPDriverSetup.exe\" /qb");
  EXPECT_EQ(RunCommand("/tmp/a b/setup", ""), "\"/tmp/a b/setup\"");
}

TEST(Setup, QuietDownloadResumesAndAWrongSizeIsNeverRun) {
  const std::string ini =
      "[GeneralOptions]\nOptions=q\n[PREREQUISITES]\nApp1=Net\n"
      "[Net]\nUrl=http://127.0.0.1/net.exe\nSearchType=0\nSearchString=[SystemFolder]net.dll\nExactSize=%s\n";
  for (const char* size : {"7", "8"}) {
    Platform p;
    std::string text = ini;
    text.replace(text.find("%s"), 2, size);
    p.Pack(text);
    p.server.file = "netdata";  // 7 bytes
    p.server.drop_after = 3;
    EXPECT_EQ(RunSetup(p, ""), 0);
    const bool ran = std::find(p.events.begin(), p.events.end(), "open: net.exe  [netdata]") != p.events.end();
    EXPECT_EQ(ran, std::string(size) == "7") << size;
    EXPECT_FALSE(std::filesystem::exists(p.temp.path() / "net.exe.part")) << size;
    if (std::string(size) == "7") {
      EXPECT_EQ(p.server.asked, (std::vector<std::uint64_t>{0, 3, 6}));
    }
  }
}

TEST(Setup, ExtractSwitch) {
  const struct {
    const char* line;
    std::optional<std::string> folder;
  } cases[] = {
      {"/extract:C:\\out", "C:\\out" + std::string(1, std::filesystem::path::preferred_separator)},
      {"/EXTRACT:\"C:\\with blanks\\\"", "C:\\with blanks\\"},
      {"  /extract:\"/tmp/x y\"  ", "/tmp/x y" + std::string(1, std::filesystem::path::preferred_separator)},
      {"/extract:", std::nullopt},
      {"/extractor", std::nullopt},
      {"/qn", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractFolder(c.line), c.folder) << c.line;
}

TEST(Setup, ExtractUnpacksEverythingAndRunsNothing) {
  Platform p;
  p.Pack(OneRuntime("q"));
  TempFolder out;
  const std::filesystem::path target = out.path() / "with blanks";
  EXPECT_EQ(RunSetup(p, "/extract:\"" + target.string() + "\""), 0);
  EXPECT_TRUE(p.events.empty());
  EXPECT_EQ(ReadAll(target / "runtime.exe"), "runtime");
  EXPECT_EQ(ReadAll(target / "ZORFPdriver.msi"), "msi");
  EXPECT_TRUE(std::filesystem::exists(target / "prerequisites.ini"));
}

// A package that cannot be read ends with a non-zero exit code after its message, and writes nothing.
TEST(Setup, UnreadablePackages) {
  const struct {
    const char* what;
    std::function<void(Platform&)> spoil;
    const char* line;
    int code;
    const char* message;
  } cases[] = {
      {"no package at all", [](Platform& p) { WriteAll(p.program, "MZ only an image"); }, "", 5,
       "This archive is corupted."},
      {"program file gone", [](Platform& p) { std::filesystem::remove(p.program); }, "", 2,
       "An error occurred while reading the file."},
      {"hostile name, extracting",
       [](Platform& p) {
         auto b = BuildPackage(Bytes("MZ"), {{kDatabase, "..\\x.msi", Bytes("m")}}, 0);
         WriteAll(p.program, std::string(b.begin(), b.end()));
       },
       "/extract:OUT", 5, "This archive is corupted."},
      {"no temporary folder", [](Platform& p) { p.has_temp = false; }, "", 4, "An error occurred while extracting."},
  };
  for (const auto& c : cases) {
    Platform p;
    p.Pack(OneRuntime("q"));
    c.spoil(p);
    TempFolder out;
    std::string line = c.line;
    if (line == "/extract:OUT") line = "/extract:" + out.path().string();
    EXPECT_EQ(RunSetup(p, line), c.code) << c.what;
    ASSERT_FALSE(p.events.empty()) << c.what;
    EXPECT_EQ(p.events.back(), std::string("error: ") + c.message) << c.what;
    EXPECT_TRUE(out.Files().empty()) << c.what;
    EXPECT_TRUE(p.temp.Files().empty()) << c.what;
  }
}

}  // namespace
}  // namespace zorfp::setup
