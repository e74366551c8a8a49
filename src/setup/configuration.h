// The prerequisites configuration a package carries: what the installation database is opened
// with, and each prerequisite with its source, its search and its accepted versions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "setup/profile.h"

namespace zorfp::setup {

enum class TargetFamily { kWindows9x = 0, kWindowsNt = 1, kBoth = 2 };
enum class SearchType { kFile = 0, kRegistryValue = 1, kRegistryKey = 2 };

struct Prerequisite {
  std::string name;  // shown, and the name of its section
  TargetFamily target = TargetFamily::kBoth;
  std::string setup_file;  // a kind 4 entry of the package
  std::string url;
  std::string open_site;
  std::optional<std::uint64_t> exact_size;
  std::string command_line;
  std::string options;
  std::optional<SearchType> search;
  std::string search_string;
  std::string version_min;
  std::string version_max;

  // "m" among the options: the wizard will not let it be unchecked, and it must be found
  // installed before the installation goes on.
  bool Mandatory() const;
};

struct Configuration {
  std::string main_command_line;
  std::string options;
  std::vector<Prerequisite> prerequisites;

  bool Quiet() const;  // "q" among the options: prerequisites are installed without pages
};

// Reads "GeneralOptions", then "App1", "App2", ... of "PREREQUISITES" up to the first missing
// number. A prerequisite whose section names no setup file, address or web site is left out.
Configuration ReadConfiguration(const Profile& profile);

}  // namespace zorfp::setup
