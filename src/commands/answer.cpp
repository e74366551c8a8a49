#include "commands/answer.h"

#include "errors/texts.h"

namespace zorfp {

bool ExchangeUnjudged(Driver& d, const Bytes& command) {
  if (d.Exchange(command)) return true;
  ReportNoAnswer(d.call(), d.lang(), d.reporting());
  return false;
}

bool RequireData(Driver& d, std::size_t size) {
  const std::size_t have = d.Answer().size();
  if (have >= size) return true;
  return d.RejectAnswer(have == 0 ? 102 : 103, have == 0 ? texts::kNoData : texts::kDataFormatError);
}

bool RejectWithDriverStatus(Driver& d, Byte code, const Message& text) {
  ReportDriverError(d.call(), code, text, d.lang(), d.reporting(), /*argument_check=*/true);
  return false;
}

}  // namespace zorfp
