// What the report members keep between calls.
#pragma once

#include <cstdint>

namespace zorfp {

struct ReportsValues {
  // 05-02, 05-03: the password the waiting window's Z report sends.
  std::uint16_t PendingReportPassword = 0;
};

}  // namespace zorfp
