#include "setup/profile.h"

#include "setup/text.h"

namespace zorfp::setup {

Profile Profile::Parse(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  Profile p;
  Section* current = nullptr;
  while (!text.empty()) {
    const std::size_t eol = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string name(Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)));
      current = nullptr;
      for (Section& s : p.sections_) {
        if (EqualsNoCase(s.name, name)) current = &s;
      }
      if (!current) current = &p.sections_.emplace_back(Section{name, {}});
      continue;
    }
    const std::size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    current->keys.emplace_back(std::string(Trim(line.substr(0, eq))), std::string(value));
  }
  return p;
}

std::optional<std::string> Profile::Value(std::string_view section, std::string_view key) const {
  for (const Section& s : sections_) {
    if (!EqualsNoCase(s.name, section)) continue;
    for (const auto& [k, v] : s.keys) {
      if (!EqualsNoCase(k, key)) continue;
      if (v.empty() || v == kNotFound || v.size() >= kProfileBuffer - 1) return std::nullopt;
      return v;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace zorfp::setup
