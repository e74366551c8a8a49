// The programming step of `zorfp demo --setup` that sets up the shop: the header, a cashier on
// duty and the two articles the demo receipt sells, each read back. Script lines run right after
// the port is opened.
#pragma once

#include <string>

#include "driver/variant_traits.h"

namespace zorfp::tools {

std::string SettingsSetupScript(const VariantTraits& traits);

}  // namespace zorfp::tools
