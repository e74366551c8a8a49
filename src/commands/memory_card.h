// The printer's memory card (05-02, 05-03): the reports of a day (0x3F), finding a stored report
// (0x37) and reading it block by block (0x38) into a ".ecr" file in MMCReportFolder, and reprinting
// a stored report or one of its receipts (0x33).
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"

namespace zorfp {

bool FPFindMMCReportsOnDate(Driver& d, double ReportDate);
MemoryCardValues& HeldMemoryCard(Driver& d);
bool FPPrintMMC(Driver& d, std::uint16_t Password_Report, std::uint16_t ReportNum, std::uint16_t ReceiptNum,
                bool AllReport, bool RefundReceipt);
bool FPSaveReportFromMMC(Driver& d, std::uint16_t ReportNum);

AnsiString MMCReportFolder(Driver& d);
void PutMMCReportFolder(Driver& d, const AnsiString& value);
bool AutoSaveReportFromMMC(Driver& d);
void PutAutoSaveReportFromMMC(Driver& d, bool value);

// The Z report's copy: the report just printed saved behind the waiting window. True when saved.
bool CopyLastZReportFromCard(Driver& d);

// The steps of a copy, for the waiting window and for tests.
struct CardReport {
  std::uint32_t first_sector = 0;
  std::uint16_t records = 0;
};
std::optional<CardReport> FindCardReport(Driver& d, std::uint16_t number);
std::optional<Bytes> ReadCardBlock(Driver& d, std::uint32_t sector, std::uint16_t position, std::uint16_t count);
// ReportToSave into its file; the outcome is in the call state (ReportedResult 0: saved).
void CopyReportToFile(Driver& d);

// The report file's name: the serial number (its first 10 characters) with every character a
// file name cannot hold replaced, "#", the number, ".ecr". Empty for a serial with nothing left.
std::string ReportFileName(const AnsiString& serial, std::uint16_t number);

}  // namespace zorfp
