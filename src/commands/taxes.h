// Taxes: programming the tax table (command 0x19 in the newer and the older form), reading it back
// through the tax query (0x2C) and through the printer's memory (0x1C), and the tax properties of
// 05-02 and 05-03. The members are bindings over these (server/bind/taxes.cpp).
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"
#include "driver/held_status.h"

namespace zorfp {

// Newer classes. Rates in hundredths of a percent, 0 to 9999; with mixed taxes the additional
// rates too, and each group's sum of both.
bool FPSetTaxRate(Driver& d, std::uint16_t Password_Prog, Byte TaxQuantity, std::int32_t TaxType,
                  std::int32_t BaseTax_A, std::int32_t BaseTax_B, std::int32_t BaseTax_C, std::int32_t BaseTax_D,
                  std::int32_t BaseTax_E, std::int32_t ExtTax_A, std::int32_t ExtTax_B, std::int32_t ExtTax_C,
                  std::int32_t ExtTax_D, std::int32_t ExtTax_E, bool UseMixedTax);

// Older classes: the first NalogTaxAmount rates (0 to 10000), the money's decimal digits (0 to 8)
// and whether tax is added to prices. EP-01 has five rates, 08-01 six.
bool FPSetTaxRate(Driver& d, std::uint16_t Password_Admin, Byte NalogTaxAmount, std::uint16_t Nalog_Tax1,
                  std::uint16_t Nalog_Tax2, std::uint16_t Nalog_Tax3, std::uint16_t Nalog_Tax4,
                  std::uint16_t Nalog_Tax5, bool Nalog_Type, Byte Decimal_Runk);
bool FPSetTaxRate(Driver& d, std::uint16_t Password_Admin, Byte NalogTaxAmount, std::uint16_t Nalog_Tax1,
                  std::uint16_t Nalog_Tax2, std::uint16_t Nalog_Tax3, std::uint16_t Nalog_Tax4,
                  std::uint16_t Nalog_Tax5, std::uint16_t Nalog_Tax6, bool Nalog_Type, Byte Decimal_Runk);

// A fresh tax query: exactly 5 + 2n bytes, 5 + 4n with mixed taxes (EP-06: 7 + 4n, with group F's
// additional rate); a count beyond the class's groups is a misfit too (103).
std::optional<TaxBlock> ReadTaxQuery(Driver& d);
// The programming date as the client sees it: the short date text, or the automation date. An
// impossible date is a misfit (103): empty text, date 0.
AnsiString ProgDateText(Driver& d, const TaxBlock& t);
double ProgDate(Driver& d, const TaxBlock& t);

// The table read from the printer's memory: the count, then the rates, the type byte and the
// additional rates. A count of 0 is 104 "VATs is empty!", one beyond the class's groups 103.
std::optional<TaxBlock> ReadTaxMemory(Driver& d);
AnsiString CountText(Driver& d, const TaxBlock& t);
// EP-06: group F's additional rate in memory, as it stands; -1 when the read fails.
std::int32_t GetExtTax_F_Ext(Driver& d);

// Older classes: rate k (1-based) from memory as decimal text, empty on failure; the count.
AnsiString OlderTaxRate(Driver& d, int k);
Byte FPGetTaxCount(Driver& d);

// 05-02 and 05-03: the tax properties, read by FPGetTaxes and sent by FPSetTaxes.
TaxValues& HeldTaxes(Driver& d);
bool FPGetTaxes(Driver& d);
bool FPSetTaxes(Driver& d, std::uint16_t Password_Prog);

// The status block's tax-added flag as ETaxType.
Byte TaxTypeOf(Driver& d, const StatusBlock& s);

}  // namespace zorfp
