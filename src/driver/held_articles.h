// An article as the printer reports it (the answer to the article query, command 0x29), and the
// copy FPGetArtInfo keeps for its properties (05-02, 05-03).
#pragma once

#include <cstdint>

#include "errors/encodings.h"

namespace zorfp {

struct ArticleInfo {
  Byte NameLength = 0;
  AnsiString Name;
  std::int32_t Price = 0;
  std::int32_t Tax = 0;   // ETaxGroup
  bool TaxKnown = false;  // the group byte was one of A to F
  std::int32_t SaleAmount = 0;
  Byte SaleStatus = 0;
  Money SaleTurn;
  std::int32_t RefundAmount = 0;
  Byte RefundStatus = 0;
  Money RefundTurn;
};

struct ArticleValues {
  ArticleInfo info;  // FPGetArtInfo: the last article that decoded whole
};

}  // namespace zorfp
