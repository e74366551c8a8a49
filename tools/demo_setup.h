// What `zorfp demo --setup` programs on the fresh simulated printer before the receipt: script
// lines run right after the port is opened, one step per programming area.
#pragma once

#include <string>

#include "driver/variant_traits.h"

namespace zorfp::tools {

// The tax table the receipt sells under: A 20 %, B 7 %, C 0 %, tax included in prices; then the
// table read back.
std::string TaxesSetupScript(const VariantTraits& traits);

}  // namespace zorfp::tools
