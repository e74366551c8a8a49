// The outcome of the most recent call of any driver object: one record for the whole library.
#pragma once

#include <cstdint>

#include "link/bytes.h"

namespace zorfp {

struct AnswerFlags {
  bool ServiceReportOpen = false;   // reserve bit 0
  bool FinishAfterError = false;    // reserve bit 1
  bool PaperOutNotice = false;      // reserve bit 2, EP-06 only
  bool NoPersonalization = false;   // reserve bit 7, EP-06 only
  bool CommandAccepted = false;     // status bit 7 clear
  bool ClockError = false;          // status bit 3
  bool DayOver24Hours = false;      // status bit 5
};

struct LastCall {
  std::uint8_t AnswerStatus = 0;
  std::uint8_t AnswerResult = 0;
  std::uint8_t AnswerReserve = 0;
  Bytes AnswerData;
  std::uint8_t ReportedResult = 0;  // EErrorCode
  std::uint8_t ReportedStatus = 0;  // EStatusFlags, 255 for the driver's own failures
  AnsiString ErrorText;             // Windows-1251, lines separated by CR LF
  AnswerFlags flags;
};

}  // namespace zorfp
