// Bindings of the tax members: programming in both families, the tax query and the memory read
// each property sends anew, the older per-rate readers, the tax flags of the status block and the
// tax properties of 05-02 and 05-03.
#include "commands/status.h"
#include "commands/taxes.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::Family;
using server::HeldField;
using server::HeldSetting;
using server::HeldSettings;
using server::QueryField;
using server::QueryFields;

using NewerSetTaxRate = bool(std::uint16_t, Byte, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                             std::int32_t, bool);
using Ep01SetTaxRate = bool(std::uint16_t, Byte, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t,
                            std::uint16_t, bool, Byte);
using Older6SetTaxRate = bool(std::uint16_t, Byte, std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t,
                              std::uint16_t, std::uint16_t, bool, Byte);

template <int K>
AnsiString TaxRate(Driver& d) {
  return OlderTaxRate(d, K);
}

// Family names with `suffix` after the letter: GetBaseTax_A_Ext ...
std::vector<const char*> Suffixed(const std::vector<const char*>& names, std::string_view suffix) {
  std::vector<const char*> out;
  for (const char* n : names) out.push_back(server::KeepName(std::string(n) + std::string(suffix)));
  return out;
}

const server::Bindings kProgrammingBindings{
    Bind<NewerSetTaxRate>(&FPSetTaxRate, "FPSetTaxRate"),
    Bind<Ep01SetTaxRate>(&FPSetTaxRate, "FPSetTaxRate"),
    Bind<Older6SetTaxRate>(&FPSetTaxRate, "FPSetTaxRate"),
};

const server::Bindings kTaxQueryBindings{
    QueryField<&ReadTaxQuery, &ProgDateText>("GetProgDateTax"),
    QueryField<&ReadTaxQuery, &ProgDate>("GetProgDateTaxEx"),
    QueryField<&ReadTaxQuery, &TaxBlock::Count, 255>("GetTaxQuantity"),
    QueryField<&ReadTaxQuery, &TaxBlock::TaxType>("GetTaxTypeExt"),
    QueryFields<&ReadTaxQuery, &TaxBlock::Base, -1>(Family("GetBaseTax_", "ABCDE")),
    QueryFields<&ReadTaxQuery, &TaxBlock::Extra, -1>(Family("GetExtTax_", "ABCDE")),
    QueryField<&ReadTaxQuery, &TaxBlock::ExtraF, -1>("GetExtTax_F"),
    QueryField<&ReadTaxQuery, &TaxBlock::MixedTaxes>("GetUseMixedTax"),
};

const server::Bindings kTaxMemoryBindings{
    QueryField<&ReadTaxMemory, &CountText>("GetTaxQuantityExt"),
    QueryField<&ReadTaxMemory, &TaxBlock::Count>("GetTaxQty"),
    QueryField<&ReadTaxMemory, &TaxBlock::TaxType>("GetTaxTypeExt2"),
    QueryFields<&ReadTaxMemory, &TaxBlock::Base, -1>(Suffixed(Family("GetBaseTax_", "ABCDE"), "_Ext")),
    QueryFields<&ReadTaxMemory, &TaxBlock::Extra, -1>(Suffixed(Family("GetExtTax_", "ABCDE"), "_Ext")),
    Bind(&GetExtTax_F_Ext, "GetExtTax_F_Ext"),
    QueryField<&ReadTaxMemory, &TaxBlock::MixedTaxes>("GetUseMixedTaxExt"),
};

const server::Bindings kOlderReaderBindings{
    Bind(&TaxRate<1>, "FPGetTaxRate1"), Bind(&TaxRate<2>, "FPGetTaxRate2"), Bind(&TaxRate<3>, "FPGetTaxRate3"),
    Bind(&TaxRate<4>, "FPGetTaxRate4"), Bind(&TaxRate<5>, "FPGetTaxRate5"), Bind(&TaxRate<6>, "FPGetTaxRate6"),
    Bind(&FPGetTaxCount, "FPGetTaxCount"),
};

const server::Bindings kTaxFlagBindings{
    QueryField<&ReadStatus, &TaxTypeOf>("GetTaxType"),
    QueryField<&ReadStatus, &StatusBlock::TaxesAdded>("GetNalogStatus"),
    QueryField<&ReadStatus, &StatusBlock::TaxChanged>({"GetTaxChanging", "GetNalogChangeStatus"}),
    HeldField<&HeldStatus, &StatusBlock::TaxChanged>("TaxChanged"),
};

const server::Bindings kTaxPropertyBindings{
    Bind(&FPGetTaxes, "FPGetTaxes"),
    Bind(&FPSetTaxes, "FPSetTaxes"),
    HeldSettings<&HeldTaxes, &TaxValues::Tax, std::int32_t>(Family("Tax_", "ABCDE")),
    HeldSettings<&HeldTaxes, &TaxValues::ExtTax, std::int32_t>(Family("ExtTax_", "ABCDE")),
    HeldSetting<&HeldTaxes, &TaxValues::TaxCount>("TaxCount"),
    HeldSetting<&HeldTaxes, &TaxValues::TaxType>("TaxType"),
    HeldSetting<&HeldTaxes, &TaxValues::ProgExtTax>("ProgExtTax"),
    HeldField<&HeldTaxes, &TaxValues::TaxDate>("TaxDate"),
};

}  // namespace
}  // namespace zorfp
