#include "setup/detection.h"

#include "setup/text.h"

namespace zorfp::setup {
namespace {

constexpr const char* kTokens[] = {
    "SystemFolder",     "WindowsFolder",   "WindowsVolume",     "TempFolder",    "ProgramFilesFolder",
    "CommonFilesFolder", "DesktopFolder",  "AppDataFolder",     "FavoritesFolder", "StartMenuFolder",
    "ProgramMenuFolder", "StartupFolder",  "FontsFolder",       "ProgramFiles",
};

std::vector<std::uint64_t> Components(std::string_view v) {
  std::vector<std::uint64_t> out;
  if (v.empty()) return out;
  for (;;) {
    const std::size_t dot = v.find('.');
    out.push_back(LeadingNumber(v.substr(0, dot)));
    if (dot == std::string_view::npos) break;
    v.remove_prefix(dot + 1);
  }
  return out;
}

State SourceState(const Prerequisite& p) {
  if (!p.setup_file.empty()) return State::kInstall;
  if (!p.url.empty()) return State::kDownload;
  return State::kOpenSite;
}

}  // namespace

const char* StateWord(State s) {
  switch (s) {
    case State::kInstalled: return "Installed";
    case State::kInstall: return "Install";
    case State::kDownload: return "Download";
    case State::kOpenSite: return "Open Site";
    case State::kSkip:
    case State::kNotForSystem: return "Skip";
  }
  return "";
}

bool NeedsAction(State s) { return s == State::kInstall || s == State::kDownload || s == State::kOpenSite; }

int CompareVersions(std::string_view a, std::string_view b) {
  const std::vector<std::uint64_t> x = Components(a), y = Components(b);
  for (std::size_t i = 0; i < std::max(x.size(), y.size()); ++i) {
    const std::uint64_t l = i < x.size() ? x[i] : 0, r = i < y.size() ? y[i] : 0;
    if (l != r) return l < r ? -1 : 1;
  }
  return 0;
}

bool VersionWithin(std::string_view version, std::string_view min, std::string_view max) {
  return (min.empty() || CompareVersions(version, min) >= 0) && (max.empty() || CompareVersions(version, max) <= 0);
}

RegistryPath SplitRegistryPath(std::string_view s, SearchType type) {
  RegistryPath r;
  if (type == SearchType::kRegistryKey) {
    const std::size_t last = s.rfind('\\');
    s = s.substr(0, last == std::string_view::npos ? 0 : last);
  }
  const std::size_t first = s.find('\\');
  r.root = EqualsNoCase(s.substr(0, first), "HKLM") ? RegistryRoot::kLocalMachine : RegistryRoot::kCurrentUser;
  if (first == std::string_view::npos) return r;
  std::string_view rest = s.substr(first + 1);
  if (type == SearchType::kRegistryKey) {
    r.key = std::string(rest);
    r.key_only = true;
    return r;
  }
  const std::size_t last = rest.rfind('\\');
  if (last == std::string_view::npos) {
    r.value_name = std::string(rest);
  } else {
    r.key = std::string(rest.substr(0, last));
    r.value_name = std::string(rest.substr(last + 1));
  }
  return r;
}

bool IsFolderToken(std::string_view token) {
  for (const char* t : kTokens) {
    if (token == t) return true;
  }
  return false;
}

std::string ExpandFolderTokens(std::string_view text, const SystemProbe& probe) {
  std::string out;
  while (!text.empty()) {
    const std::size_t open = text.find('[');
    const std::size_t close = open == std::string_view::npos ? open : text.find(']', open);
    if (close == std::string_view::npos) {
      out += text;
      break;
    }
    out += text.substr(0, open);
    const std::string_view token = text.substr(open + 1, close - open - 1);
    if (IsFolderToken(token)) out += probe.Folder(token);
    text.remove_prefix(close + 1);
  }
  return out;
}

std::pair<std::string, unsigned> SplitSearchDepth(std::string_view search) {
  const std::size_t q = search.rfind('?');
  if (q == std::string_view::npos || q + 1 == search.size()) return {std::string(search), 0};
  for (char c : search.substr(q + 1)) {
    if (c < '0' || c > '9') return {std::string(search), 0};
  }
  const std::uint64_t depth = LeadingNumber(search.substr(q + 1));
  return {std::string(search.substr(0, q)), static_cast<unsigned>(std::min<std::uint64_t>(depth, 32))};
}

Detection Detect(const Prerequisite& p, SystemProbe& probe) {
  Detection d;
  const bool nt = probe.IsNtFamily();
  if ((p.target == TargetFamily::kWindows9x && nt) || (p.target == TargetFamily::kWindowsNt && !nt)) {
    d.state = State::kNotForSystem;
    return d;
  }
  Found found;
  if (p.search && !p.search_string.empty()) {
    if (*p.search == SearchType::kFile) {
      const auto [path, depth] = SplitSearchDepth(p.search_string);
      found = probe.FindFiles(ExpandFolderTokens(path, probe), depth);
    } else {
      found = probe.ReadRegistry(SplitRegistryPath(p.search_string, *p.search));
    }
  }
  const bool bounded = !p.version_min.empty() || !p.version_max.empty();
  for (const std::optional<std::string>& v : found) {
    d.found = true;
    if (v) d.version = v;
    if (!bounded || (v && VersionWithin(*v, p.version_min, p.version_max))) {
      d.state = State::kInstalled;
      d.version = v;
      return d;
    }
  }
  d.state = SourceState(p);
  return d;
}

}  // namespace zorfp::setup
