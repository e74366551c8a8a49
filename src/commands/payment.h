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
bool FPInToCash(Driver& d, std::uint32_t Avans);
bool FPOutOfCash(Driver& d, std::uint32_t Money);

// Both families (the older classes' parameter is `OpenCheck`; their binding drops the result).
bool FPComment(Driver& d, const AnsiString& Comment, bool OpenPayCheck);

// Older classes (EP-01, 08-01): no result; the outcome is read from the call state.
void FPPayment(Driver& d, Byte Payment_Status, std::uint32_t Payment, bool CheckClose,
               bool Information_Status, const AnsiString& Information);
void FPDiscount(Driver& d, Byte Discount_Type, std::uint32_t DiscPercent, std::uint32_t DiscSum,
                bool IsDiscount,
                const AnsiString& DiscComment);  // EP-01
void FPAvans(Driver& d, std::uint32_t Avans);
void FPGive(Driver& d, std::uint32_t Give);
// The cash in the drawer; 0 when the printer does not tell.
std::int32_t FPGetBox(Driver& d);

}  // namespace zorfp
