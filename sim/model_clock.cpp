// The printer's clock: the host's clock plus an offset, read and set by the host (0x01 to 0x04).
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>
#include <optional>

#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

// Where the printer keeps the date of the last day-closing report: day, month, year in BCD.
constexpr std::uint16_t kLastZDateAddress = 0x0169;

// A BCD byte's value, or nullopt when a nibble is no decimal digit.
std::optional<int> FromBcd(Byte b) {
  if ((b >> 4) > 9 || (b & 0x0F) > 9) return std::nullopt;
  return (b >> 4) * 10 + (b & 0x0F);
}

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysIn(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Day, month, year in the century, as the clock commands carry them.
std::optional<CivilTime> DateFields(std::span<const Byte> p) {
  const auto day = FromBcd(p[0]), month = FromBcd(p[1]), year = FromBcd(p[2]);
  if (!day || !month || !year || *month < 1 || *month > 12) return std::nullopt;
  CivilTime t;
  t.year = 2000 + *year;
  t.month = *month;
  t.day = *day;
  if (t.day < 1 || t.day > DaysIn(t.year, t.month)) return std::nullopt;
  return t;
}

// The date of the last day-closing report, when there has been one.
std::optional<CivilTime> LastDayClosing(PrinterModel& m) {
  ProjectRegisters(m);
  const Bytes b = m.memory.Read(kRegisterPage, kLastZDateAddress, 3);
  if (b[0] == 0 && b[1] == 0 && b[2] == 0) return std::nullopt;
  return DateFields(b);
}

bool Before(const CivilTime& a, const CivilTime& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}

Reply HandleReadDate(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const CivilTime now = m.clock.NowCivil();
  return Reply::Ok({BcdByte(now.day), BcdByte(now.month), BcdByte(now.year % 100)});
}

// Day, month, year; the time of day runs on.
Reply HandleWriteDate(PrinterModel& m, const Request& r) {
  if (r.params.size() != 3) return RefuseBadParameter(m);
  const auto date = DateFields(r.params);
  if (!date) return Reply::Refuse(result::kBadDateTime);
  const auto last = LastDayClosing(m);
  if (last && Before(*date, *last)) return Reply::Refuse(result::kDateBeforeLastZ);
  CivilTime t = m.clock.NowCivil();
  t.year = date->year;
  t.month = date->month;
  t.day = date->day;
  m.clock.Set(t);
  return Reply::Ok();
}

Reply HandleReadTime(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const CivilTime now = m.clock.NowCivil();
  return Reply::Ok({BcdByte(now.hour), BcdByte(now.minute), BcdByte(now.second)});
}

// Hours (0 to 23), minutes, seconds; the date stays.
Reply HandleWriteTime(PrinterModel& m, const Request& r) {
  if (r.params.size() != 3) return RefuseBadParameter(m);
  const auto h = FromBcd(r.params[0]), min = FromBcd(r.params[1]), s = FromBcd(r.params[2]);
  if (!h || !min || !s || *h > 23 || *min > 59 || *s > 59) return Reply::Refuse(result::kBadDateTime);
  CivilTime t = m.clock.NowCivil();
  t.hour = *h;
  t.minute = *min;
  t.second = *s;
  m.clock.Set(t);
  return Reply::Ok();
}

constexpr CommandEntry kClockCommands[] = {
    {0x01, "read date", VariantSet::All(), Effect::kQuery, &HandleReadDate},
    {0x02, "write date", VariantSet::All(), Effect::kChangesState, &HandleWriteDate},
    {0x03, "read time", VariantSet::All(), Effect::kQuery, &HandleReadTime},
    {0x04, "write time", VariantSet::All(), Effect::kChangesState, &HandleWriteTime},
};

}  // namespace

std::span<const CommandEntry> ClockCommands() {
  return kClockCommands;
}

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
