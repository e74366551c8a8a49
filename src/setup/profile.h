// A reader of the prerequisites configuration with the rules of the Windows private-profile reader:
// sections and keys without case, blanks around keys and values dropped, one pair of enclosing
// quotes dropped, the first section and the first key of a name winning, values read through a
// buffer of 260 characters with the default text "NOT FOUND".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorfp::setup {

inline constexpr std::size_t kProfileBuffer = 260;
inline constexpr std::string_view kNotFound = "NOT FOUND";

class Profile {
 public:
  static Profile Parse(std::string_view text);

  // The value, or nullopt when it counts as absent: no such key, an empty value, the default
  // text itself, or a value that fills the whole buffer (so it was cut).
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  std::vector<Section> sections_;
};

}  // namespace zorfp::setup
