#include "dates/local_tm.h"

namespace zorfp {

std::tm LocalTm(std::time_t t) {
  std::tm tm{};
  ::localtime_r(&t, &tm);
  return tm;
}

}  // namespace zorfp
