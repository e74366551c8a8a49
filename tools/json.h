// Just enough JSON for zorfp's output: strings are UTF-8, escaped where JSON requires.
#pragma once

#include <string>
#include <string_view>

namespace zorfp::tools {

std::string JsonString(std::string_view utf8);

}  // namespace zorfp::tools
