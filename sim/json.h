// The state dump's JSON: nlohmann-json's ordered object, so keys stay in the order they are set.
// Files that build JSON include <nlohmann/json.hpp>; this header only names the type.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace zorfp::sim {

using Json = nlohmann::ordered_json;

// Indented by two, ending in a newline. UTF-8 passes as it stands; a byte that is not UTF-8
// becomes U+FFFD, so the text is valid JSON whatever a register holds.
std::string JsonText(const Json& j);

}  // namespace zorfp::sim
