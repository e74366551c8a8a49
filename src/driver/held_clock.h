// What the clock members of 05-02 and 05-03 keep between calls: the date and the time last read
// from or meant for the printer, as automation DATE values.
#pragma once

namespace zorfp {

struct ClockValues {
  double StoredDate = 0;  // the day count; FPGetCurrentDate leaves no time part
  double StoredTime = 0;  // the fraction of a day; FPGetCurrentTime leaves no day count
};

}  // namespace zorfp
