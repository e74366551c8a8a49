#include "dates/bcd.h"

#include "dates/date_time.h"

namespace zorfp {

using namespace std::chrono;

std::optional<year_month_day> DateFromBcd(const BcdDate& bcd) {
  const auto t = DateTime::From(CompleteYear(static_cast<int>(BcdValue(bcd.year))),
                                static_cast<int>(BcdValue(bcd.month)), static_cast<int>(BcdValue(bcd.day)));
  if (!t) return std::nullopt;
  return t->date;
}

std::optional<BcdDate> BcdFromDate(const year_month_day& date) {
  if (!date.ok() || date.year() < year{2000} || date.year() > year{2099}) return std::nullopt;
  return BcdDate{BcdByte(static_cast<unsigned>(date.day())), BcdByte(static_cast<unsigned>(date.month())),
                 BcdByte(static_cast<unsigned>(static_cast<int>(date.year()) - 2000))};
}

std::optional<seconds> TimeFromBcd(const BcdTime& bcd) {
  const unsigned h = BcdValue(bcd.hours), m = BcdValue(bcd.minutes), s = BcdValue(bcd.seconds);
  if (h > 23 || m > 59 || s > 59) return std::nullopt;
  return hours{h} + minutes{m} + seconds{s};
}

BcdTime BcdFromTime(milliseconds time_of_day) {
  const hh_mm_ss<milliseconds> t{time_of_day};
  return BcdTime{BcdByte(static_cast<unsigned>(t.hours().count())),
                 BcdByte(static_cast<unsigned>(t.minutes().count())),
                 BcdByte(static_cast<unsigned>(t.seconds().count()))};
}

}  // namespace zorfp
