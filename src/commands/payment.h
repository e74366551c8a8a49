// Completing a receipt: payment and closing, discounts and markups, comment lines, the zero
// receipt, and cash put into or taken out of the drawer.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

// Newer classes. The payment reply sets the balance (GetBalance, GetBalanceType); a closed receipt
// clears the other receipt values.
bool FPPayment(Driver& d, std::int32_t Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool FiscStatus);
bool FPDiscount(Driver& d, std::int32_t Discount_Type, std::uint32_t Discount_Value,
                const AnsiString& DiscComment);
// Cancels the open receipt, prints the zero-receipt line and closes it with a cash payment of 0.
bool FPNullCheck(Driver& d);

// Both families (the older classes' parameter of FPComment is `OpenCheck`; the older methods
// return nothing, and their bindings drop the result).
bool FPComment(Driver& d, const AnsiString& Comment, bool OpenPayCheck);
bool CashIn(Driver& d, std::uint32_t sum);   // FPInToCash, FPAvans
bool CashOut(Driver& d, std::uint32_t sum);  // FPOutOfCash, FPGive

// Older classes (EP-01, 08-01).
bool FPPayment(Driver& d, Byte Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool Information_Status, const AnsiString& Information);
bool FPDiscount(Driver& d, Byte Discount_Type, std::uint32_t DiscPercent, std::uint32_t DiscSum,
                bool IsDiscount,
                const AnsiString& DiscComment);  // EP-01
// The cash in the drawer; 0 when the printer does not tell.
std::int32_t FPGetBox(Driver& d);

}  // namespace zorfp
