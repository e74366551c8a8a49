// What the programming members keep between calls: the header that FPSetHeader sends (05-02,
// 05-03), held as the printer will receive it.
#pragma once

#include <string>

#include "link/bytes.h"

namespace zorfp {

inline constexpr int kHeadLines = 3;

struct HeaderValues {
  std::string HeadLine[kHeadLines];  // in the printer's code page, as set
  std::string RegCode;
  bool DoubleWidth[kHeadLines] = {};
  bool DoubleHeight[kHeadLines] = {};
};

struct ProgrammingValues {
  HeaderValues header;
};

}  // namespace zorfp
