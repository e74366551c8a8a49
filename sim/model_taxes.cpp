// The tax table (tax_table.h holds it and its arithmetic).
#include <nlohmann/json.hpp>

#include "sim/model_json.h"

namespace zorfp::sim {

// Each group's rate in hundredths of a percent, "untaxed", or null when it is not programmed.
void WriteTaxesJson(const PrinterModel& m, Json& j) {
  Json rates = Json::object();
  for (int g = 0; g < kTaxGroups; ++g) {
    const std::optional<std::uint16_t> rate = GroupRate(m.taxes, m.traits(), g);
    if (IsTaxedGroup(m.taxes, m.traits(), g)) {
      rates[GroupKey(g)] = *rate;
    } else if (rate) {
      rates[GroupKey(g)] = "untaxed";
    } else {
      rates[GroupKey(g)] = nullptr;
    }
  }
  j["taxes"] = {{"count", m.taxes.count}, {"rates", std::move(rates)}};
}

}  // namespace zorfp::sim
