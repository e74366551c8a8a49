#include "sim/json.h"

#include <nlohmann/json.hpp>

namespace zorfp::sim {

std::string JsonText(const Json& j) {
  return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace zorfp::sim
