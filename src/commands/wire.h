// How a member meets the wire: commands built field by field with `Command`, answers read field by
// field with `AnswerReader`, and `Query`, which runs the exchange, judges the answer and reads it.
//
//   std::optional<DrawerCash> ReadDrawer(Driver& d) {
//     return Query<DrawerCash>(d, Command(0x21), [](AnswerReader& r, DrawerCash& c) { c.sum = r.Money40(); });
//   }
//
// A reader never reads past the end of an answer: a field that is not there reads as zero and
// marks the reader failed. When the member has read its fields, the reader checks once that the
// answer held exactly those (or at least those, where more may follow) and reports code 102 (no
// data at all) or 103 (any other misfit) itself. Fields are read front to back, so the layouts of
// every answer, whether their tables count the bytes from 0 or from 1, are read the same way.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "dates/bcd.h"
#include "driver/driver.h"
#include "errors/encodings.h"

namespace zorfp {

// A command: its code, then its fields in order. Multi-byte numbers go least significant byte first.
class Command {
 public:
  explicit Command(Byte code) : bytes_{code} {}

  Command& U8(Byte value);
  Command& UIntLE(std::uint64_t value, int width);
  // Magnitude in the low 31 bits, bit 31 set for a negative value.
  Command& SignMagnitude32(std::int64_t value);
  Command& Bcd(unsigned value);
  Command& Date(const BcdDate& date);  // day, month, year
  Command& Time(const BcdTime& time);  // hours, minutes, seconds
  Command& Raw(std::span<const Byte> bytes);
  Command& Raw(std::string_view bytes);
  // A length byte (with `length_flags` added) and the text, already in the printer's code page.
  Command& OemText(std::string_view oem, Byte length_flags = 0);
  // The same for client text, converted as the CP866 setting says.
  Command& Text(const Driver& d, const AnsiString& text, Byte length_flags = 0);

  const Bytes& bytes() const& { return bytes_; }
  operator const Bytes&() const& { return bytes_; }

 private:
  Bytes bytes_;
};

// Whether a query's answer must have been executed before it is read.
enum class Judge {
  kEvaluate,       // status and result judged first; a refusal ends the query
  kWhenStatusSet,  // judged only when the status byte is not 0
  kReportOnly,     // judged and reported, but read whatever it says
  kUnjudged,       // read whatever the printer's status and result say
};

struct QueryRules {
  Judge judge = Judge::kEvaluate;
  bool more_allowed = false;     // data after the fields read is ignored
  bool empty_is_no_data = true;  // no data at all is 102 (else 103, like any other misfit)
  bool misfit_refused = false;   // a misfit also sets status 255, as an argument refusal does
  const DriverError* no_data = nullptr;  // the text of 102 where a member has its own
};

// Printer text (code page 866) as the driver's own (Windows-1251), ending at its first NUL.
AnsiString PrinterText(std::span<const Byte> oem);

class AnswerReader {
 public:
  explicit AnswerReader(std::span<const Byte> data) : data_(data) {}

  Byte U8() { return static_cast<Byte>(UIntLE(1)); }
  std::uint64_t UIntLE(int width);
  std::int64_t SignMagnitude32();
  Money Money40() { return Money{UIntLE(5)}; }
  unsigned Bcd() { return BcdValue(U8()); }
  BcdDate Date();
  BcdTime Time();
  // PrinterText of the next `length` bytes.
  AnsiString Text(std::size_t length) { return PrinterText(Take(length)); }
  std::span<const Byte> Take(std::size_t length);
  void Skip(std::size_t length) { Take(length); }

  std::size_t left() const { return data_.size() - pos_; }
  bool failed() const { return failed_; }

  // After the last field: whether the answer fitted what was read from it as `rules` say.
  bool Fits(const QueryRules& rules) const { return !failed_ && (rules.more_allowed || left() == 0); }
  // The same, reporting 102 for an answer without data and 103 for any other misfit.
  bool Finish(Driver& d, const QueryRules& rules) const;

 private:
  std::span<const Byte> data_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

// The class's exchange, judged as `rules` say: false (the call state telling why) when there is
// no answer or the printer refused the command. `usable` may send for a decoded answer again.
bool ExchangeJudged(Driver& d, const Bytes& command, Judge judge, const AnswerCheck& usable = {});

// Whether an answer that reports success (status and result 0) is one the member can read: an
// answer cut or shortened on the line does not fit, and is worth sending for again. A refusal is
// the printer's real answer whatever data it carries.
bool SpoiledAnswer(const Driver& d, const std::function<bool(AnswerReader&)>& fits);

// Exchanges `command`, judges the answer, reads its data into a fresh T with `read` and checks
// that the answer fitted. nullopt when anything failed; the call state then says why. An answer
// that does not fit is sent for again within the attempts RepeatCount allows.
template <typename T, typename Read>
std::optional<T> Query(Driver& d, const Bytes& command, Read&& read, QueryRules rules = {}) {
  const auto fits = [&](AnswerReader& r) {
    T trial{};
    read(r, trial);
    return r.Fits(rules);
  };
  const auto usable = [&] { return !SpoiledAnswer(d, fits); };
  if (!ExchangeJudged(d, command, rules.judge, usable)) return std::nullopt;
  AnswerReader reader(d.Answer());
  T value{};
  read(reader, value);
  if (!reader.Finish(d, rules)) return std::nullopt;
  return value;
}

}  // namespace zorfp
