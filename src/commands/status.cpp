#include "commands/status.h"

#include "errors/encodings.h"

namespace zorfp {
namespace {

AnsiString ToClient(Driver& d, const AnsiString& text) {
  return ClientTextOut(text, d.module().settings.CP866);
}

CurrentStatus& Held(Driver& d) {
  return d.module().values[Index(d.traits().id)].current_status;
}

CurrentStatus ToCurrentStatus(const StatusBlock& b) {
  CurrentStatus s;
  s.BeginingPayments = b.A(kPaymentBegun);
  s.CashDrawerOpened = !b.A(kCashDrawer);
  s.RefundReceiptType = b.A(kRefundReceipt);
  s.TaxesAdded = b.A(kTaxesAdded);
  s.DayOpened = b.A(kDayOpen);
  s.ReceiptOpened = b.A(kReceiptOpen);
  s.DisplayMode = b.A(kCustomerDisplay);
  s.TaxChanged = b.B(kTaxesChanged);
  s.NonFiscalReportOpened = b.B(kServiceReportOpen);
  s.FiscalMode = b.B(kFiscalized);
  s.Failure = b.B(kLastCommandFailed);
  s.OnlinePrintMode = b.B(kOnlinePrint);
  s.SerialText = b.serial_text;
  s.FiscalNumber = b.fiscal_number;
  s.HeadLine1 = b.header[0];
  s.HeadLine2 = b.header[1];
  s.HeadLine3 = b.header[2];
  s.RegCode = b.header[3];
  s.FirmwareVersion = b.version_tag;
  s.FiscalizationDateTime = FiscalizationDateTime(b);
  return s;
}

}  // namespace

std::optional<StatusBlock> ReadStatus(Driver& d) {
  d.call().ErrorText.clear();
  StatusBlock block;
  if (!DecodeStatusAnswer(d, block)) return std::nullopt;
  return block;
}

bool ReadStatusFlagA(Driver& d, Byte mask) {
  const auto block = ReadStatus(d);
  return block && block->A(mask);
}

bool ReadStatusFlagB(Driver& d, Byte mask) {
  const auto block = ReadStatus(d);
  return block && block->B(mask);
}

AnsiString ReadStatusText(Driver& d, AnsiString (*pick)(const StatusBlock&)) {
  const auto block = ReadStatus(d);
  return block ? ToClient(d, pick(*block)) : AnsiString();
}

bool GetBoxStatus(Driver& d) {
  return ReadStatusFlagA(d, kCashDrawer);
}
bool GetSmenaOpened(Driver& d) {
  return ReadStatusFlagA(d, kDayOpen);
}
bool GetSmenaStatus(Driver& d) {
  return ReadStatusFlagA(d, kDayOpen);
}
bool GetCheckOpened(Driver& d) {
  return ReadStatusFlagA(d, kReceiptOpen);
}
bool GetCheckOpenedStatus(Driver& d) {
  return ReadStatusFlagA(d, kReceiptOpen);
}
bool GetCheckType(Driver& d) {
  return ReadStatusFlagA(d, kRefundReceipt);
}
bool GetCheckStatus(Driver& d) {
  return ReadStatusFlagA(d, kRefundReceipt);
}
bool GetWorkMode(Driver& d) {
  return ReadStatusFlagB(d, kFiscalized);
}
bool GetFiscalizationStatus(Driver& d) {
  return ReadStatusFlagB(d, kFiscalized);
}
bool GetPrintMode(Driver& d) {
  return ReadStatusFlagB(d, kOnlinePrint);
}
bool GetRegistrationRegim(Driver& d) {
  return ReadStatusFlagB(d, kOnlinePrint);
}
bool GetLastCommandStatus(Driver& d) {
  return ReadStatusFlagB(d, kLastCommandFailed);
}
bool GetErrorCommandStatus(Driver& d) {
  return ReadStatusFlagB(d, kLastCommandFailed);
}

AnsiString GetSerialNumber(Driver& d) {
  if (!d.traits().serial_number_cut) {
    return ReadStatusText(d, [](const StatusBlock& b) { return b.serial_text; });
  }
  return ReadStatusText(d, [](const StatusBlock& b) { return CutSerialNumber(b.serial_text); });
}

AnsiString GetFiscalNumber(Driver& d) {
  return ReadStatusText(d, [](const StatusBlock& b) { return b.fiscal_number; });
}

AnsiString GetHardwareVersion(Driver& d) {
  return ReadStatusText(d, [](const StatusBlock& b) { return b.version_tag; });
}

// A block that could not be read leaves the held values as they were.
bool FPGetCurrentStatus(Driver& d) {
  const auto block = ReadStatus(d);
  if (!block) return false;
  Held(d) = ToCurrentStatus(*block);
  return true;
}

bool BeginingPayments(Driver& d) {
  return Held(d).BeginingPayments;
}
bool RefundReceiptType(Driver& d) {
  return Held(d).RefundReceiptType;
}
bool DayOpened(Driver& d) {
  return Held(d).DayOpened;
}
bool ReceiptOpened(Driver& d) {
  return Held(d).ReceiptOpened;
}
bool FiscalMode(Driver& d) {
  return Held(d).FiscalMode;
}
bool Failure(Driver& d) {
  return Held(d).Failure;
}
bool OnlinePrintMode(Driver& d) {
  return Held(d).OnlinePrintMode;
}
AnsiString SerialNumber(Driver& d) {
  return ToClient(d, CutSerialNumber(Held(d).SerialText));
}
AnsiString FiscalNumber(Driver& d) {
  return ToClient(d, Held(d).FiscalNumber);
}
AnsiString FirmwareVersion(Driver& d) {
  return ToClient(d, Held(d).FirmwareVersion);
}

}  // namespace zorfp
