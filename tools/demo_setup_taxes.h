// The taxes step of `zorfp demo --setup`: script lines run on the fresh simulated printer right
// after the port is opened, before the receipt.
#pragma once

#include <string>

#include "driver/variant_traits.h"

namespace zorfp::tools {

// The tax table the receipt sells under: A 20 %, B 7 %, C 0 %, tax included in prices; then the
// table read back.
std::string TaxesSetupScript(const VariantTraits& traits);

}  // namespace zorfp::tools
