#include "setup/configuration.h"

#include "setup/text.h"

namespace zorfp::setup {
namespace {

std::string Text(const Profile& p, const std::string& section, const char* key) {
  return p.Value(section, key).value_or("");
}

bool HasLetter(const std::string& options, char letter) {
  for (char c : options) {
    if (c == letter || c == letter - 'a' + 'A') return true;
  }
  return false;
}

}  // namespace

bool Prerequisite::Mandatory() const { return HasLetter(options, 'm'); }
bool Configuration::Quiet() const { return HasLetter(options, 'q'); }

Configuration ReadConfiguration(const Profile& profile) {
  Configuration c;
  c.main_command_line = Text(profile, "GeneralOptions", "MainAppCmdLine");
  c.options = Text(profile, "GeneralOptions", "Options");
  for (unsigned n = 1;; ++n) {
    const std::optional<std::string> name = profile.Value("PREREQUISITES", "App" + std::to_string(n));
    if (!name) break;
    Prerequisite p;
    p.name = *name;
    p.setup_file = Text(profile, p.name, "SetupFile");
    p.url = Text(profile, p.name, "Url");
    p.open_site = Text(profile, p.name, "OpenSite");
    if (p.setup_file.empty() && p.url.empty() && p.open_site.empty()) continue;
    if (const auto t = profile.Value(p.name, "TargetOS")) {
      const std::uint64_t v = LeadingNumber(*t);
      p.target = v == 0 ? TargetFamily::kWindows9x : v == 1 ? TargetFamily::kWindowsNt : TargetFamily::kBoth;
    }
    if (const auto s = profile.Value(p.name, "ExactSize")) p.exact_size = LeadingNumber(*s);
    if (const auto s = profile.Value(p.name, "SearchType")) {
      const std::uint64_t v = LeadingNumber(*s);
      if (v <= 2) p.search = static_cast<SearchType>(v);
    }
    p.command_line = Text(profile, p.name, "CommandLine");
    p.options = Text(profile, p.name, "Options");
    p.search_string = Text(profile, p.name, "SearchString");
    p.version_min = Text(profile, p.name, "VerMin");
    p.version_max = Text(profile, p.name, "VerMax");
    c.prerequisites.push_back(std::move(p));
  }
  return c;
}

}  // namespace zorfp::setup
