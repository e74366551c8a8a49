#include "setup/detection.h"

#include <gtest/gtest.h>

#include <map>

namespace zorfp::setup {
namespace {

TEST(Versions, Comparison) {
  const struct {
    const char* a;
    const char* b;
    int order;
  } cases[] = {
      {"1.2.3.4", "1.2.3.4", 0}, {"1.2", "1.2.0.0", 0},    {"1.10", "1.9", 1},   {"2", "10", -1},
      {"1.2.3", "1.2.3.1", -1},  {"4.0.0.0", "3.99", 1},   {"1.2a.3", "1.2.3", 0}, {"", "0", 0},
      {"6.1.7601.17514", "6.1.7601.23403", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareVersions(c.b, c.a), -c.order) << c.b << " vs " << c.a;
  }
}

TEST(Versions, Bounds) {
  const struct {
    const char* version;
    const char* min;
    const char* max;
    bool within;
  } cases[] = {
      {"1.2.0.0", "1.2", "", true},  // equal to the lowest counts
      {"1.1.9", "1.2", "", false},   {"3.0", "", "3.0.0.0", true},  {"3.0.0.1", "", "3.0", false},
      {"2.5", "2.0", "3.0", true},   {"9.9", "", "", true},
  };
  for (const auto& c : cases) EXPECT_EQ(VersionWithin(c.version, c.min, c.max), c.within) << c.version;
}

TEST(Registry, SplittingSearchStrings) {
  const struct {
    const char* search;
    SearchType type;
    RegistryRoot root;
    const char* key;
    const char* value;
  } cases[] = {
      {"HKLM\\Software\\Vendor\\Product\\Version", SearchType::kRegistryValue, RegistryRoot::kLocalMachine,
       "Software\\Vendor\\Product", "Version"},
      {"hklm\\Software\\X\\V", SearchType::kRegistryValue, RegistryRoot::kLocalMachine, "Software\\X", "V"},
      {"HKCU\\Software\\X\\V", SearchType::kRegistryValue, RegistryRoot::kCurrentUser, "Software\\X", "V"},
      {"HKEY_LOCAL_MACHINE\\Software\\X\\V", SearchType::kRegistryValue, RegistryRoot::kCurrentUser, "Software\\X",
       "V"},
      {"HKLM\\Software\\Vendor\\Product\\", SearchType::kRegistryKey, RegistryRoot::kLocalMachine,
       "Software\\Vendor\\Product", ""},
      {"HKLM\\Software\\Vendor\\Product\\Extra", SearchType::kRegistryKey, RegistryRoot::kLocalMachine,
       "Software\\Vendor\\Product", ""},
  };
  for (const auto& c : cases) {
    const RegistryPath p = SplitRegistryPath(c.search, c.type);
    EXPECT_EQ(p.root, c.root) << c.search;
    EXPECT_EQ(p.key, c.key) << c.search;
    EXPECT_EQ(p.value_name, c.value) << c.search;
  }
}

class FakeProbe : public SystemProbe {
 public:
  bool nt = true;
  std::map<std::string, Found> files;
  std::map<std::string, Found> registry;  // "root|key|value"
  std::vector<std::pair<std::string, unsigned>> searched;

  bool IsNtFamily() const override { return nt; }
  std::string Folder(std::string_view token) const override {
    if (token == "SystemFolder") return "C:\\windows\\system32\\";
    if (token == "ProgramFilesFolder" || token == "ProgramFiles") return "C:\\Program Files\\";
    return "C:\\" + std::string(token) + "\\";
  }
  Found FindFiles(const std::string& path, unsigned depth) override {
    searched.emplace_back(path, depth);
    auto it = files.find(path);
    return it == files.end() ? Found{} : it->second;
  }
  Found ReadRegistry(const RegistryPath& p) override {
    auto it = registry.find((p.root == RegistryRoot::kLocalMachine ? "HKLM|" : "HKCU|") + p.key + "|" + p.value_name);
    return it == registry.end() ? Found{} : it->second;
  }
};

TEST(FolderTokens, Expansion) {
  FakeProbe probe;
  const struct {
    const char* text;
    const char* expanded;
  } cases[] = {
      {"[SystemFolder]msxml3.dll", "C:\\windows\\system32\\msxml3.dll"},
      {"[ProgramFiles]A\\[ProgramFilesFolder]", "C:\\Program Files\\A\\C:\\Program Files\\"},
      {"[NoSuchFolder]x.dll", "x.dll"},
      {"[systemfolder]x.dll", "x.dll"},  // tokens are exact
      {"no [ closing", "no [ closing"},
      {"[FontsFolder]", "C:\\FontsFolder\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandFolderTokens(c.text, probe), c.expanded) << c.text;
}

TEST(FileSearch, Depth) {
  EXPECT_EQ(SplitSearchDepth("C:\\a\\b.dll?3"), (std::pair<std::string, unsigned>{"C:\\a\\b.dll", 3}));
  EXPECT_EQ(SplitSearchDepth("C:\\a\\b.dll"), (std::pair<std::string, unsigned>{"C:\\a\\b.dll", 0}));
  EXPECT_EQ(SplitSearchDepth("C:\\a\\b.dll?x"), (std::pair<std::string, unsigned>{"C:\\a\\b.dll?x", 0}));
  EXPECT_EQ(SplitSearchDepth("C:\\a\\b.dll?999"), (std::pair<std::string, unsigned>{"C:\\a\\b.dll", 32}));
}

Prerequisite FileSearch(const char* min, const char* max) {
  Prerequisite p;
  p.name = "Runtime";
  p.setup_file = "runtime.exe";
  p.search = SearchType::kFile;
  p.search_string = "[SystemFolder]runtime.dll?2";
  p.version_min = min;
  p.version_max = max;
  return p;
}

TEST(Detect, States) {
  FakeProbe probe;
  probe.files["C:\\windows\\system32\\runtime.dll"] = {std::string("1.0.0.0"), std::string("2.5.0.0")};
  const struct {
    const char* what;
    Prerequisite p;
    State state;
  } cases[] = {
      {"the second copy lies within the bounds", FileSearch("2.0", "3.0"), State::kInstalled},
      {"equal to the lowest", FileSearch("2.5", ""), State::kInstalled},
      {"no bounds: any copy", FileSearch("", ""), State::kInstalled},
      {"too new", FileSearch("", "0.9"), State::kInstall},
      {"too old", FileSearch("3.0", ""), State::kInstall},
  };
  for (const auto& c : cases) EXPECT_EQ(Detect(c.p, probe).state, c.state) << c.what;
  EXPECT_EQ(probe.searched.front(), (std::pair<std::string, unsigned>{"C:\\windows\\system32\\runtime.dll", 2}));
}

TEST(Detect, SourceDecidesWhatAMissingOneNeeds) {
  FakeProbe probe;
  Prerequisite p = FileSearch("", "");
  EXPECT_EQ(Detect(p, probe).state, State::kInstall);
  p.setup_file.clear();
  p.url = "http://h/runtime.exe";
  EXPECT_EQ(Detect(p, probe).state, State::kDownload);
  p.url.clear();
  p.open_site = "http://h/";
  EXPECT_EQ(Detect(p, probe).state, State::kOpenSite);
}

TEST(Detect, TargetFamily) {
  FakeProbe probe;
  Prerequisite p = FileSearch("", "");
  const struct {
    TargetFamily target;
    bool nt;
    State state;
  } cases[] = {
      {TargetFamily::kWindows9x, true, State::kNotForSystem}, {TargetFamily::kWindows9x, false, State::kInstall},
      {TargetFamily::kWindowsNt, false, State::kNotForSystem}, {TargetFamily::kWindowsNt, true, State::kInstall},
      {TargetFamily::kBoth, true, State::kInstall},
  };
  for (const auto& c : cases) {
    p.target = c.target;
    probe.nt = c.nt;
    probe.searched.clear();
    EXPECT_EQ(Detect(p, probe).state, c.state);
    if (c.state == State::kNotForSystem) {
      EXPECT_TRUE(probe.searched.empty());
    }
  }
}

TEST(Detect, Registry) {
  FakeProbe probe;
  probe.registry["HKLM|Software\\V\\P|Version"] = {std::string("5.1")};
  probe.registry["HKLM|Software\\V\\P|"] = {std::nullopt};  // the key is there, without a default value
  Prerequisite p = FileSearch("5.0", "");
  p.search = SearchType::kRegistryValue;
  p.search_string = "HKLM\\Software\\V\\P\\Version";
  EXPECT_EQ(Detect(p, probe).state, State::kInstalled);
  EXPECT_EQ(Detect(p, probe).version, "5.1");
  p.search = SearchType::kRegistryKey;
  p.search_string = "HKLM\\Software\\V\\P\\";
  EXPECT_EQ(Detect(p, probe).state, State::kInstall);  // found, but no version to meet the bound
  p.version_min.clear();
  EXPECT_EQ(Detect(p, probe).state, State::kInstalled);
}

}  // namespace
}  // namespace zorfp::setup
