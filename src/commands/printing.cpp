#include "commands/printing.h"

#include <string>
#include <string_view>

#include "commands/status.h"
#include "commands/wire.h"
#include "errors/texts_printing.h"

namespace zorfp {
namespace {

constexpr Byte kTextLine = 0x17;
constexpr Byte kCustomerDisplay = 0x1B;
constexpr Byte kNonFiscalLine = 0x28;
constexpr Byte kEndOfList = 0xFF;
constexpr Byte kReceiptOnlySwitch = 0xFE;
constexpr Byte kBarcode = 0x2F;
constexpr Byte kLineFeed = 0x0E;
constexpr Byte kOpenDrawer = 0x1D;
constexpr Byte kCopyLastReceipt = 0x1E;
constexpr Byte kPrintVersion = 0x20;
constexpr Byte kOnlineSwitch = 0x24;
constexpr Byte kDisplaySwitch = 0x25;
constexpr Byte kCutterSwitch = 0x2E;

constexpr std::size_t kTextLineLimit = 36;
constexpr std::size_t kLargeTextLimit = 20;  // double width or height
constexpr std::size_t kDisplayLimit = 20;
constexpr std::size_t kNonFiscalLimit = 37;
constexpr Byte kDoubleWidth = 0x40;
constexpr Byte kDoubleHeight = 0x80;
constexpr Byte kStation1 = 0x40;
constexpr Byte kStation2 = 0x80;

bool SendTextLine(Driver& d, bool first_last, const AnsiString& text, Byte size_bits) {
  const std::size_t limit = size_bits != 0 ? kLargeTextLimit : kTextLineLimit;
  if (text.size() > limit) return d.Refuse(texts::kBadLineLength);
  return d.Execute(Command(kTextLine).U8(first_last ? 1 : 0).Text(d, text, size_bits));
}

bool SendDisplayLine(Driver& d, Byte line_byte, const AnsiString& text) {
  if (text.size() > kDisplayLimit) return d.Refuse(texts::kBadLineLength);
  return d.Execute(Command(kCustomerDisplay).U8(line_byte).Text(d, text));
}

// The next line of a list: up to the first line feed, which goes with a carriage return just
// before it; the rest of the list when there is none.
std::string_view TakeLine(std::string_view& list) {
  const std::size_t lf = list.find('\n');
  std::string_view line = list.substr(0, lf);
  list = lf == std::string_view::npos ? std::string_view{} : list.substr(lf + 1);
  if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// Code 20 with the number of the line (from 1) in front of the text.
bool RefuseLongLine(Driver& d, std::size_t number) {
  d.Refuse(texts::kNonFiscalLineTooLong);
  if (const auto prefix = Pick(texts::kListLineNumber, d.lang())) {
    d.call().ErrorText = *prefix + std::to_string(number) + "\r\n" + d.call().ErrorText;
  }
  return false;
}

enum class LongLine { kCut, kRefuse };

// Prints `list` line by line; a refused line ends it, and the lines before it stay printed.
bool PrintList(Driver& d, std::string_view list, bool end_list, LongLine long_line, Byte station_bits) {
  for (std::size_t number = 1; !list.empty(); ++number) {
    std::string_view line = TakeLine(list);
    if (line.size() > kNonFiscalLimit) {
      if (long_line == LongLine::kRefuse) return RefuseLongLine(d, number);
      line = line.substr(0, kNonFiscalLimit);
    }
    if (!d.Execute(Command(kNonFiscalLine).Text(d, AnsiString(line), station_bits))) return false;
  }
  return !end_list || d.Execute(Command(kNonFiscalLine).U8(kEndOfList));
}

// The switch toggles, so it is sent only when the printer's mode differs from the one wanted. The
// printer's status bit says which mode it is in (the driver's memory may be stale: another program,
// or a restart of the printer); the memory serves when the status cannot be read.
bool SwitchReceiptOnly(Driver& d, bool wanted) {
  bool& mode = d.held().printing.ReceiptOnly;
  if (const auto status = ReadStatus(d)) mode = status->ServiceReportOnlyReceipt;
  if (mode == wanted) return true;
  if (!d.Execute(Command(kNonFiscalLine).U8(kReceiptOnlySwitch))) return false;
  mode = wanted;
  return true;
}

bool SendBarcode(Driver& d, const AnsiString& text, std::size_t limit, Byte highest) {
  const std::string bytes = PrinterTextOut(text, d.module().settings.CP866);
  if (bytes.size() > limit) return d.Refuse(texts::kBarcodeLength);
  for (const char c : bytes) {
    if (static_cast<Byte>(c) > highest) return d.Refuse(texts::kIllegalCharacter);
  }
  return d.Execute(Command(kBarcode).OemText(bytes));
}

}  // namespace

bool FPSetString(Driver& d, bool StrFirstLast, const AnsiString& MessageString, bool DoubleWidth,
                 bool DoubleHeight) {
  const Byte size_bits = (DoubleWidth ? kDoubleWidth : 0) | (DoubleHeight ? kDoubleHeight : 0);
  return SendTextLine(d, StrFirstLast, MessageString, size_bits);
}

bool FPSetString(Driver& d, bool StrFirstLast, const AnsiString& MessageString) {
  return SendTextLine(d, StrFirstLast, MessageString, 0);
}

bool FPSendCustomer(Driver& d, Byte Line, const AnsiString& Msg) {
  if (Line > 4) return d.Refuse(texts::kBadDisplayLine);
  return SendDisplayLine(d, Line == 0 ? 0 : static_cast<Byte>(Line - 1), Msg);
}

bool FPSendCustomer(Driver& d, bool StrFirstLast, const AnsiString& MessageString) {
  return SendDisplayLine(d, StrFirstLast ? 1 : 0, MessageString);
}

bool FPTransPrint(Driver& d, const AnsiString& List, bool EndList) {
  const LongLine long_line = d.traits().id == VariantId::k05_03 ? LongLine::kCut : LongLine::kRefuse;
  return PrintList(d, List, EndList, long_line, 0);
}

bool FPTransPrint(Driver& d, const AnsiString& List, bool EndList, bool ReceiptOnly) {
  if (!SwitchReceiptOnly(d, ReceiptOnly)) return false;
  return PrintList(d, List, EndList, LongLine::kRefuse, 0);
}

bool FPTransPrintNew(Driver& d, const AnsiString& List, bool EndList, Byte Station) {
  const Byte station_bits = Station == 1 ? kStation1 : Station == 2 ? kStation2 : 0;
  return PrintList(d, List, EndList, LongLine::kCut, station_bits);
}

bool FPPrintCODE128C(Driver& d, const AnsiString& CODE128C) {
  return SendBarcode(d, CODE128C, 20, 99);
}

bool FPPrintCODE128(Driver& d, const AnsiString& CODE128) {
  return SendBarcode(d, CODE128, 16, 127);
}

bool FPLineFeed(Driver& d) {
  return d.Execute(Command(kLineFeed));
}
bool FPOpenBox(Driver& d) {
  return d.Execute(Command(kOpenDrawer));
}
bool FPCopyLastCheck(Driver& d) {
  return d.Execute(Command(kCopyLastReceipt));
}
bool FPPrintVersion(Driver& d) {
  return d.Execute(Command(kPrintVersion));
}
bool FPCplOnLine(Driver& d) {
  return d.Execute(Command(kOnlineSwitch));
}
bool FPCplInd(Driver& d) {
  return d.Execute(Command(kDisplaySwitch));
}
bool FPCplCutter(Driver& d) {
  return d.Execute(Command(kCutterSwitch));
}

}  // namespace zorfp
