// What the memory-card members keep between calls (05-02, 05-03).
#pragma once

#include <cstdint>

#include "link/bytes.h"

namespace zorfp {

struct MemoryCardValues {
  AnsiString MMCReportFolder;  // Windows-1251, as the client set it
  bool AutoSaveReportFromMMC = false;
  std::uint16_t ReportToSave = 0;
  AnsiString ReportSerial;  // the serial number the report file is named after
  std::int32_t MMCFirstReport = 0;
  std::int32_t MMCLastReport = 0;
};

}  // namespace zorfp
