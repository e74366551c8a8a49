// What the article memory counts per article over the day: quantities and turnovers of sales and
// refunds (model_articles.cpp).
#pragma once

#include <cstdint>

#include "sim/receipt.h"

namespace zorfp::sim {

struct ArticleCounter {
  std::uint32_t quantity = 0;  // in the article's own decimal places (low nibble of its status)
  std::int64_t turnover = 0;
};

struct ArticleDay {
  ArticleCounter sales;
  ArticleCounter refunds;
};

struct PrinterModel;
// Books a registered item into its article's counters (`sign` -1 takes it back out); an item whose
// code the memory does not hold books nothing.
void BookArticleItem(PrinterModel& m, const ReceiptItem& item, ReceiptKind kind, int sign = 1);

}  // namespace zorfp::sim
