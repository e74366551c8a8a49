// Whether each prerequisite is already there: its target family, then its search (a file with a
// version resource, a registry value, a registry key) and the versions it accepts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/configuration.h"

namespace zorfp::setup {

enum class State : int {
  kInstalled = 0,
  kInstall = 1,       // from its setup file in the package
  kDownload = 2,
  kNotForSystem = 3,
  kOpenSite = 9,
  kSkip = 10,         // unchecked in the wizard
};

// The wizard's word for a state.
const char* StateWord(State s);
inline constexpr const char* kNotFoundWord = "Not Found";
bool NeedsAction(State s);

// Dotted decimal versions compared component by component; a missing component is 0, and each
// component is read as its leading digits.
int CompareVersions(std::string_view a, std::string_view b);
// Within both bounds; an empty bound is no bound.
bool VersionWithin(std::string_view version, std::string_view min, std::string_view max);

enum class RegistryRoot { kLocalMachine, kCurrentUser };
struct RegistryPath {
  RegistryRoot root = RegistryRoot::kCurrentUser;
  std::string key;
  std::string value_name;  // empty: the key's default value
  bool key_only = false;   // a key search: the key being there is enough
};
// "HKLM\Software\Vendor\Product\Version": root, key "Software\Vendor\Product", value "Version".
// A registry key search cuts the string at its last backslash and reads that key's default value.
RegistryPath SplitRegistryPath(std::string_view search, SearchType type);

// What a search found: each copy with its version (nullopt: found, but without a version).
using Found = std::vector<std::optional<std::string>>;

// The system a setup program detects on.
class SystemProbe {
 public:
  virtual ~SystemProbe() = default;
  virtual bool IsNtFamily() const = 0;
  // The folder a token names ("SystemFolder" -> "C:\Windows\system32\"), or empty.
  virtual std::string Folder(std::string_view token) const = 0;
  // The file at `path`, or with `depth` > 0 every file of its name in its folder and the folders
  // below down to `depth` levels, each with the version of its version resource.
  virtual Found FindFiles(const std::string& path, unsigned depth) = 0;
  virtual Found ReadRegistry(const RegistryPath& path) = 0;
};

// Replaces the folder tokens in square brackets; an unknown token becomes nothing.
std::string ExpandFolderTokens(std::string_view text, const SystemProbe& probe);
bool IsFolderToken(std::string_view token);

// "path?N" searches N levels of subfolders; the path without it, and N.
std::pair<std::string, unsigned> SplitSearchDepth(std::string_view search);

struct Detection {
  State state = State::kInstall;
  std::optional<std::string> version;  // the version found, when one was
  bool found = false;
};
Detection Detect(const Prerequisite& p, SystemProbe& probe);

}  // namespace zorfp::setup
