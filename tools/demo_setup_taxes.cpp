#include "tools/demo_setup_taxes.h"

namespace zorfp::tools {

std::string TaxesSetupScript(const VariantTraits& traits) {
  if (!traits.older_family) {
    return "FPSetTaxRate 0 3 ettWithNDS 2000 700 0 0 0 0 0 0 0 0 false\n"
           "GetTaxQuantity\nGetBaseTax_A\nGetBaseTax_B\nGetProgDateTax\n";
  }
  // The older method has a sixth rate on 08-01; the last argument is the money's decimal digits.
  const std::string rates = traits.id == VariantId::k08_01 ? "2000 700 0 0 0 0" : "2000 700 0 0 0";
  return "FPSetTaxRate 0 3 " + rates + " false 2\nFPGetTaxCount\nFPGetTaxRate1\nFPGetTaxRate2\n";
}

}  // namespace zorfp::tools
