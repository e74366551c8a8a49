// zorfp's JSON output, written with nlohmann-json: keys in the order they are set, one line a value.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace zorfp::tools {

using Json = nlohmann::ordered_json;

// Compact. UTF-8 passes as it stands; a byte that is not UTF-8 becomes U+FFFD, so the line is
// valid JSON whatever text the driver returned.
inline std::string JsonText(const Json& j) {
  return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace zorfp::tools
