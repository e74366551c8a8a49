// The printer's clock: the host's clock plus an offset.
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "sim/model_json.h"

namespace zorfp::sim {

CivilTime ToCivil(DeviceClock::TimePoint t) {
  const std::time_t secs = std::chrono::system_clock::to_time_t(t);
  std::tm tm{};
  localtime_r(&secs, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatCivil(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return buf;
}

CivilTime DeviceClock::NowCivil() const {
  return ToCivil(Now());
}

void DeviceClock::Set(const CivilTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  const auto target = std::chrono::system_clock::from_time_t(std::mktime(&tm));
  // Rounded up, so that the clock reads `t` at once and not a second before it.
  offset_ = std::chrono::ceil<std::chrono::seconds>(target - std::chrono::system_clock::now());
}

void WriteClockJson(const PrinterModel& m, Json& j) {
  j["clock"] = FormatCivil(m.clock.NowCivil());
  j["clock_offset_s"] = m.clock.offset().count();
}

}  // namespace zorfp::sim
