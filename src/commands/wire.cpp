#include "commands/wire.h"

#include <cstring>

#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {

Command& Command::U8(Byte value) {
  bytes_.push_back(value);
  return *this;
}

Command& Command::UIntLE(std::uint64_t value, int width) {
  PutUIntLE(bytes_, value, width);
  return *this;
}

Command& Command::SignMagnitude32(std::int64_t value) {
  const std::uint64_t magnitude = static_cast<std::uint64_t>(value < 0 ? -value : value) & 0x7FFFFFFFu;
  return UIntLE(magnitude | (value < 0 ? 0x80000000u : 0u), 4);
}

Command& Command::Bcd(unsigned value) {
  return U8(BcdByte(value));
}

Command& Command::Date(const BcdDate& date) {
  return U8(date.day).U8(date.month).U8(date.year);
}

Command& Command::Time(const BcdTime& time) {
  return U8(time.hours).U8(time.minutes).U8(time.seconds);
}

Command& Command::Raw(std::span<const Byte> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Command& Command::Raw(std::string_view bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Command& Command::OemText(std::string_view oem, Byte length_flags) {
  return U8(static_cast<Byte>(oem.size() | length_flags)).Raw(oem);
}

Command& Command::Text(const Driver& d, const AnsiString& text, Byte length_flags) {
  return OemText(PrinterTextOut(text, d.module().settings.CP866), length_flags);
}

std::span<const Byte> AnswerReader::Take(std::size_t length) {
  if (failed_ || length > left()) {
    failed_ = true;
    pos_ = data_.size();
    return {};
  }
  const std::span<const Byte> out = data_.subspan(pos_, length);
  pos_ += length;
  return out;
}

std::uint64_t AnswerReader::UIntLE(int width) {
  const std::span<const Byte> bytes = Take(static_cast<std::size_t>(width));
  return bytes.empty() ? 0 : zorfp::UIntLE(bytes);
}

std::int64_t AnswerReader::SignMagnitude32() {
  const std::span<const Byte> bytes = Take(4);
  return bytes.empty() ? 0 : zorfp::SignMagnitude32(bytes);
}

BcdDate AnswerReader::Date() {
  BcdDate date;
  date.day = U8();
  date.month = U8();
  date.year = U8();
  return date;
}

BcdTime AnswerReader::Time() {
  BcdTime time;
  time.hours = U8();
  time.minutes = U8();
  time.seconds = U8();
  return time;
}

AnsiString PrinterText(std::span<const Byte> oem) {
  std::string text(oem.begin(), oem.end());
  text.resize(std::strlen(text.c_str()));
  return OemToAnsiText(text);
}

bool AnswerReader::Finish(Driver& d, const QueryRules& rules) const {
  if (!failed_ && (rules.more_allowed || left() == 0)) return true;
  const DriverError& no_data = rules.no_data != nullptr ? *rules.no_data : texts::kNoData;
  const DriverError& error = data_.empty() && rules.empty_is_no_data ? no_data : texts::kDataFormatError;
  return rules.misfit_refused ? d.Refuse(error) : d.Reject(error);
}

bool SpoiledAnswer(const Driver& d, const std::function<bool(AnswerReader&)>& fits) {
  const LastCall& call = d.call();
  if (call.AnswerStatus != 0 || call.AnswerResult != 0) return false;
  AnswerReader reader(call.AnswerData);
  return !fits(reader);
}

bool ExchangeJudged(Driver& d, const Bytes& command, Judge judge, const AnswerCheck& usable) {
  if (!d.Exchange(command, usable)) {
    d.ReportNoAnswer();
    return false;
  }
  switch (judge) {
    case Judge::kEvaluate:
      return d.Evaluate();
    case Judge::kWhenStatusSet:
      return d.call().AnswerStatus == 0 || d.Evaluate();
    case Judge::kReportOnly:
      d.Evaluate();
      return true;
    case Judge::kUnjudged:
      return true;
  }
  return false;
}

}  // namespace zorfp
