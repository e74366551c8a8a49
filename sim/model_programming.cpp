// What the host programs into the printer: header lines and articles.
#include <nlohmann/json.hpp>

#include "sim/cp866.h"
#include "sim/model_json.h"

namespace zorfp::sim {

void WriteHeaderJson(const PrinterModel& m, Json& j) {
  Json& lines = j["header"] = Json::array();
  for (const HeaderLine& line : m.programming.header) {
    lines.push_back(Json{
        {"text", Cp866ToUtf8(line.text)},
        {"double_width", line.double_width},
        {"double_height", line.double_height},
    });
  }
}

}  // namespace zorfp::sim
