// The seven driver classes as data.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "driver/variant_traits.h"

namespace zorfp {

const VariantTraits& Traits(VariantId id);

// All seven, in the order the server offers its classes: 05-03, EP-06, 05-02, EP-05, EP-02, EP-01, 08-01.
const std::array<const VariantTraits*, kVariantCount>& ClassOrder();

// By coclass name ("ZOR_05_03"), driver class ("TZOR_05_03") or tag ("05-03"), case-insensitive.
std::optional<VariantId> FindVariant(std::string_view name);

}  // namespace zorfp
