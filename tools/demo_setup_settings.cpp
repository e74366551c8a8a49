#include "tools/demo_setup_settings.h"

namespace zorfp::tools {

std::string SettingsSetupScript(const VariantTraits& traits) {
  if (!traits.older_family) {
    return R"(FPSetHeadLine 0 "ТОВ \"ЗОРЯ\"" true false "м. Київ, Хрещатик, 1" false false "Магазин N 7" false false "123456789012" false
GetHeadString1
FPSetCashier 1 "Іванова" 0 false
FPProgArt 0 3 1850 etgTax_A "Хліб житній" 4820000000011
FPProgArt 0 0 2490 etgTax_B "Молоко 2,5%" 4820000000028
GetArticleName 4820000000011
GetArticlePrice 4820000000028
)";
  }
  // The older receipt sells by the short codes 11 and 28; 08-01 has no "keep the name" switch.
  const std::string cashier = traits.id == VariantId::k08_01 ? "FPSetCashier 1 \"Іванова\" 0\n"
                                                             : "FPSetCashier 1 \"Іванова\" 0 false\n";
  return R"(FPSetHeadLine 0 "ТОВ ЗОРЯ" "м. Київ, Хрещатик, 1" "Магазин N 7" "123456789012"
GetHeadString1
)" + cashier +
         R"(FPProgArt 0 3 1850 0 "Хліб житній" 11
FPProgArt 0 0 2490 1 "Молоко 2,5%" 28
)";
}

}  // namespace zorfp::tools
