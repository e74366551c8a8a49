// Sale and refund items on the open receipt, cancelling the last item, cancelling the receipt.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

// Newer classes. True when the printer registered the item; the receipt cost and total it reports
// are kept (GetCheckCost, GetCheckTotal). A refused item leaves both at 0.
bool FPSale(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
            std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName, std::uint64_t Code);
bool FPPayMoney(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
                std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName, std::uint64_t Code);
// The same with the article code as decimal text (FPPayMoneyEx also takes it with blanks around).
bool FPSaleEx(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
              std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName,
              const AnsiString& StrCode);
bool FPPayMoneyEx(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
                  std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName,
                  const AnsiString& StrCode);

// Older classes (EP-01, 08-01): their methods return nothing, and the binding drops the result;
// the outcome is read from the call state.
bool FPSale(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
            const AnsiString& Goods, std::uint32_t Articul);
bool FPPayMoney(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
                const AnsiString& Goods, std::uint32_t Articul);

// 05-02, 05-03: cancels the last item; the receipt values stay.
bool FPVoidLastItem(Driver& d);

// Cancels the open receipt and clears the receipt values. One member for both families: the
// older classes have no result, and their binding drops it.
bool FPResetOrder(Driver& d);

}  // namespace zorfp
