// The printing reports (X, Z, article and periodic), the number and date of the last Z report, and
// the Z report of 05-02 and 05-03 behind the waiting window with its copy from the memory card.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace zorfp {

bool FPArtReport(Driver& d, std::uint16_t Password_Report);  // EP-01, 08-01
bool FPDayReport(Driver& d, std::uint16_t Password_Report);
bool FPXArtReport(Driver& d, std::uint16_t Password_Report);
// Direct on most classes; 05-02 and 05-03 run it behind the waiting window, then copy the new
// report from the memory card when AutoSaveReportFromMMC is on.
bool FPDayClrReport(Driver& d, std::uint16_t Password_Report);
// Both 0: all articles. Otherwise the range, smaller number first; numbers that do not fit the
// six-byte field are refused.
bool FPXArtReportExt(Driver& d, std::uint16_t Password_Report, std::uint64_t FirstArtNumber,
                     std::uint64_t LastArtNumber);
bool FPXArtReportExtEx(Driver& d, std::uint16_t Password_Report, const AnsiString& FirstArtNumberStr,
                       const AnsiString& LastArtNumberStr);
bool FPPeriodicReport(Driver& d, std::uint16_t Password_Report, double FirstDay, double LastDay);
bool FPPeriodicReportShort(Driver& d, std::uint16_t Password_Report, double FirstDay, double LastDay);
bool FPPeriodicNumberReport(Driver& d, std::uint16_t Password_Report, std::uint16_t FirstNumber,
                            std::uint16_t LastNumber);

// The stored next-Z number minus one (a stored 1 reads as 1); nullopt when it cannot be read.
std::optional<std::uint16_t> ReadLastZNumber(Driver& d);
AnsiString GetNumZReport(Driver& d);  // FPGetNumZReport of the older classes
std::int32_t GetNumZReportExt(Driver& d);
AnsiString GetLastDateZReport(Driver& d);
double GetLastDateZReportExt(Driver& d);

}  // namespace zorfp
