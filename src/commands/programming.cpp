#include "commands/programming.h"

#include <array>

#include "commands/journal.h"
#include "commands/wire.h"
#include "errors/encodings.h"
#include "errors/texts_programming.h"

namespace zorfp {
namespace {

constexpr Byte kSetPassword = 0x05;
constexpr Byte kSetCashier = 0x06;
constexpr Byte kFiscalNumber = 0x15;
constexpr Byte kHeader = 0x16;
constexpr Byte kTextLine = 0x17;
constexpr Byte kLineSpacing = 0x27;  // also the print contrast, by its range
constexpr Byte kLogo = 0x2D;
constexpr Byte kPrintEan13 = 0x31;
constexpr Byte kSetPayName = 0x32;
constexpr Byte kSqueeze = 0x3A;
constexpr Byte kItemsFormat = 0x3C;

constexpr Byte kLastCashier = 9;
constexpr std::size_t kUserNameLimit = 15;
constexpr Byte kKeepName = 0xFF;

constexpr Byte kDoubleWidth = 0x40;
constexpr Byte kDoubleHeight = 0x80;
constexpr std::size_t kEnlargedLineLimit = 20;
constexpr std::size_t kTextLineLimit = 36;
constexpr std::size_t kNumberLength = 12;
constexpr Byte kNumberByte = 0x0C;
constexpr Byte kIdentificationBit = 0x80;

constexpr std::size_t kFiscalNumberLength = 10;

constexpr Byte kLineSpacingLimit = 64;
constexpr Byte kContrastLow = 50;
constexpr Byte kContrastHigh = 200;
constexpr std::uint16_t kItemsFormatLimit = 11136;
constexpr std::size_t kEan13Length = 13;

constexpr std::uint16_t kPasswordTable = 0x3003;
constexpr std::uint16_t kPayNames = 0x2D00;
constexpr Byte kSettingsPage = 0x10;
constexpr std::size_t kPayNameRecord = 16;
constexpr std::size_t kPayNameLimit = 15;

bool Enlarged(bool width, bool height) {
  return width || height;
}

Byte Attributes(bool width, bool height) {
  return static_cast<Byte>((width ? kDoubleWidth : 0) | (height ? kDoubleHeight : 0));
}

std::size_t PlainHeadLineLimit(const Driver& d) {
  return d.traits().id == VariantId::kEP_06 ? 30 : 24;
}

std::string PadLeft(std::string text, std::size_t width, char fill) {
  if (text.size() < width) text.insert(0, width - text.size(), fill);
  return text;
}

bool NewerPassword(Driver& d, std::uint16_t old_password, std::uint16_t new_password, Byte number,
                   const AnsiString* name) {
  if (number > kLastCashier) return d.Refuse(texts::kPasswordUserId);
  Command command(kSetPassword);
  command.UIntLE(old_password, 2).U8(number).UIntLE(new_password, 2);
  if (name != nullptr) {
    if (name->size() > kUserNameLimit) return d.Refuse(texts::kUserNameTooLong);
    command.Text(d, *name);
  }
  return d.Execute(command);
}

// One header line in the printer's code page, checked as the classes have always checked it:
// with an attribute at most 20 characters, otherwise the class's plain width.
bool AddHeadLine(Driver& d, Command& command, int index, const std::string& oem, bool width, bool height) {
  const std::size_t limit = Enlarged(width, height) ? kEnlargedLineLimit : PlainHeadLineLimit(d);
  if (oem.size() > limit) return d.Refuse(texts::kHeadLineTooLong[index]);
  command.OemText(oem, Attributes(width, height));
  return true;
}

bool SendHeader(Driver& d, std::uint16_t password, const std::string (&lines)[kHeadLines],
                const bool (&width)[kHeadLines], const bool (&height)[kHeadLines], const std::string& number,
                bool identification) {
  Command command(kHeader);
  command.UIntLE(password, 2);
  for (int i = 0; i < kHeadLines; ++i) {
    if (!AddHeadLine(d, command, i, lines[i], width[i], height[i])) return false;
  }
  if (number.size() > kNumberLength) {
    return d.Refuse(identification ? texts::kIdentificationNumber : texts::kRegistrationNumber);
  }
  command.U8(identification ? kNumberByte | kIdentificationBit : kNumberByte);
  command.Raw(PadLeft(number, kNumberLength, '0'));
  return d.Execute(command);
}

// A line of the 0x17 command. Any attribute limits the line to 20 characters: with double height
// alone the classic check let 64 and more through, which the length bits cannot even carry.
bool SendTextLine(Driver& d, Byte line_code, const AnsiString& text, bool width, bool height,
                  const DriverError& too_long) {
  const std::size_t limit = Enlarged(width, height) ? kEnlargedLineLimit : kTextLineLimit;
  if (text.size() > limit) return d.Refuse(too_long);
  return d.Execute(Command(kTextLine).U8(line_code).Text(d, text, Attributes(width, height)));
}

// Advertising lines 1 to 3 go out as line codes 0, 2, 3, final lines as 1, 4, 5.
bool SendNumberedLine(Driver& d, Byte num, const std::array<Byte, 3>& codes, const AnsiString& text, bool width,
                      bool height, const DriverError& too_long) {
  if (num >= codes.size()) return d.Refuse(texts::kLineNumber);
  return SendTextLine(d, codes[num], text, width, height, too_long);
}

bool FiscalNumberCharacter(Byte c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0) return true;
  switch (c) {
    case 0xA8:  // Ё
    case 0xB8:  // ё
    case 0xAA:  // Є
    case 0xBA:  // є
    case 0xB2:  // І
    case 0xB3:  // і
    case 0xAF:  // Ї
    case 0xBF:  // ї
      return true;
    default:
      return false;
  }
}

bool Logo(Driver& d, std::uint16_t password, bool on) {
  return d.Execute(Command(kLogo).UIntLE(password, 2).U8(on ? 1 : 0).UIntLE(0, 4));
}

bool PayIndexValid(Byte index) {
  return (index >= 1 && index <= 3) || (index >= 5 && index <= 10);
}

}  // namespace

bool FPSetPassword(Driver& d, std::uint16_t Old_Password, std::uint16_t New_Password, Byte Num_Cashier,
                   const AnsiString& Name_Cashier) {
  return NewerPassword(d, Old_Password, New_Password, Num_Cashier, &Name_Cashier);
}

bool FPSetPassword(Driver& d, std::uint16_t Old_Password, std::uint16_t New_Password, Byte Number_Cashier) {
  return NewerPassword(d, Old_Password, New_Password, Number_Cashier, nullptr);
}

bool FPSetCashier(Driver& d, Byte Num_Cashier, const AnsiString& Name_Cashier, std::uint16_t Pass_Cashier,
                  bool TakeProgName) {
  if (Num_Cashier > kLastCashier) return d.Refuse(texts::kCashierUserId);
  if (Name_Cashier.size() > kUserNameLimit) return d.Refuse(texts::kUserNameTooLong);
  Command command(kSetCashier);
  command.UIntLE(Pass_Cashier, 2).U8(Num_Cashier);
  if (TakeProgName) {
    command.U8(kKeepName);
  } else {
    command.Text(d, Name_Cashier);
  }
  return d.Execute(command);
}

bool FPSetCashier(Driver& d, Byte Number_Cashier, const AnsiString& Name_Cashier,
                  std::uint16_t Password_Cashier) {
  return FPSetCashier(d, Number_Cashier, Name_Cashier, Password_Cashier, false);
}

std::optional<PasswordTable> ReadPasswords(Driver& d) {
  const auto bytes = ReadMemory(d, kPasswordTable, kSettingsPage, 20);
  if (!bytes) return std::nullopt;
  AnswerReader r(*bytes);
  PasswordTable table;
  for (std::int32_t& p : table.Cashier) p = static_cast<std::int32_t>(r.UIntLE(2));
  table.Prog = static_cast<std::int32_t>(r.UIntLE(2));
  table.Reports = static_cast<std::int32_t>(r.UIntLE(2));
  return table;
}

bool FPSetFiscalNumber(Driver& d, std::uint16_t Password_Prog, const AnsiString& FiscalNumber) {
  const AnsiString number = ClientTextIn(FiscalNumber, d.module().settings.CP866);
  if (number.size() > kFiscalNumberLength) return d.Refuse(texts::kFiscalNumberLength);
  for (char c : number) {
    if (!FiscalNumberCharacter(static_cast<Byte>(c))) return d.Refuse(texts::kFiscalNumberCharacters);
  }
  return d.Execute(
      Command(kFiscalNumber).UIntLE(Password_Prog, 2).Raw(AnsiToOemText(PadLeft(number, kFiscalNumberLength, '0'))));
}

bool FPFiscalization(Driver& d, std::uint16_t Password_Prog, const AnsiString& Fiscal_Number) {
  if (Fiscal_Number.size() > kFiscalNumberLength) return d.Refuse(texts::kFiscalNumberLength);
  AnsiString number = Fiscal_Number;
  number.resize(kFiscalNumberLength, ' ');
  return d.Execute(
      Command(kFiscalNumber).UIntLE(Password_Prog, 2).Raw(PrinterTextOut(number, d.module().settings.CP866)));
}

bool FPSetHeadLine(Driver& d, std::uint16_t Password_Prog, const AnsiString& HeadString1, bool DoubleWidth1,
                   bool DoubleHeight1, const AnsiString& HeadString2, bool DoubleWidth2, bool DoubleHeight2,
                   const AnsiString& HeadString3, bool DoubleWidth3, bool DoubleHeight3,
                   const AnsiString& HeadString4, bool TypeID) {
  const bool cp866 = d.module().settings.CP866;
  const std::string lines[kHeadLines] = {PrinterTextOut(HeadString1, cp866), PrinterTextOut(HeadString2, cp866),
                                         PrinterTextOut(HeadString3, cp866)};
  const bool width[kHeadLines] = {DoubleWidth1, DoubleWidth2, DoubleWidth3};
  const bool height[kHeadLines] = {DoubleHeight1, DoubleHeight2, DoubleHeight3};
  return SendHeader(d, Password_Prog, lines, width, height, PrinterTextOut(HeadString4, cp866), TypeID);
}

bool FPSetHeadLine(Driver& d, std::uint16_t Password_Admin, const AnsiString& Str1_Atribute,
                   const AnsiString& Str2_Atribute, const AnsiString& Str3_Atribute,
                   const AnsiString& Str4_Atribute) {
  constexpr std::size_t kOlderLineLimit = 24;
  const AnsiString* lines[] = {&Str1_Atribute, &Str2_Atribute, &Str3_Atribute, &Str4_Atribute};
  for (const AnsiString* line : lines) {
    if (line->size() > kOlderLineLimit) return d.Refuse(texts::kHeadLinesTooLong);
  }
  // EP-01's fourth line is the 12-character registration number.
  if (d.traits().id == VariantId::kEP_01 && Str4_Atribute.size() > kNumberLength) {
    return d.Refuse(texts::kFourthHeadLineTooLong);
  }
  Command command(kHeader);
  command.UIntLE(Password_Admin, 2);
  for (const AnsiString* line : lines) command.Text(d, *line);
  return d.Execute(command);
}

bool FPSetHeader(Driver& d, std::uint16_t Password_Prog, bool IDType) {
  const HeaderValues& h = HeldHeader(d);
  return SendHeader(d, Password_Prog, h.HeadLine, h.DoubleWidth, h.DoubleHeight, h.RegCode, IDType);
}

HeaderValues& HeldHeader(Driver& d) {
  return d.held().programming.header;
}

bool FPSetInitialLines(Driver& d, Byte Num, const AnsiString& TextLine, bool DoubleWidth, bool DoubleHeight) {
  return SendNumberedLine(d, Num, {0, 2, 3}, TextLine, DoubleWidth, DoubleHeight, texts::kPublicityLineLength);
}

bool FPSetFinalLines(Driver& d, Byte Num, const AnsiString& TextLine, bool DoubleWidth, bool DoubleHeight) {
  return SendNumberedLine(d, Num, {1, 4, 5}, TextLine, DoubleWidth, DoubleHeight, texts::kFinalLineLength);
}

bool FPSetHeaderLineAdd1(Driver& d, const AnsiString& Text, bool DoubleWidth, bool DoubleHeight) {
  return SendTextLine(d, 6, Text, DoubleWidth, DoubleHeight, texts::kHeaderLineAdd1Length);
}

bool FPSetHeaderLineAdd2(Driver& d, const AnsiString& Text, bool DoubleWidth, bool DoubleHeight) {
  return SendTextLine(d, 7, Text, DoubleWidth, DoubleHeight, texts::kHeaderLineAdd2Length);
}

bool FPEnableLogo(Driver& d, std::uint16_t Password_Prog) {
  return Logo(d, Password_Prog, true);
}

bool FPDisableLogo(Driver& d, std::uint16_t Password_Prog) {
  return Logo(d, Password_Prog, false);
}

bool FPLineSP(Driver& d, Byte Distance) {
  if (Distance >= kLineSpacingLimit) return d.Refuse(texts::kLineInterval);
  return d.Execute(Command(kLineSpacing).U8(Distance));
}

bool FPSetContrast(Driver& d, Byte Value) {
  if (Value < kContrastLow || Value > kContrastHigh) return d.Refuse(texts::kContrastValue);
  return d.Execute(Command(kLineSpacing).U8(Value));
}

bool FPSetFormat(Driver& d, std::uint16_t Password_Prog, std::uint16_t ItemsQuantity) {
  if (ItemsQuantity > kItemsFormatLimit) return d.Refuse(texts::kItemsQuantityFormat);
  return d.Execute(Command(kItemsFormat).UIntLE(Password_Prog, 2).UIntLE(ItemsQuantity, 2));
}

bool FPSqueeze(Driver& d) {
  return d.Execute(Command(kSqueeze));
}

bool FPPrintEAN13(Driver& d, const AnsiString& EAN13) {
  std::string digits = PrinterTextOut(EAN13, d.module().settings.CP866);
  if (digits.size() > kEan13Length) return d.Refuse(texts::kEan13Length);
  for (char c : digits) {
    if (c < '0' || c > '9') return d.Refuse(texts::kIllegalCharacter);
  }
  digits = PadLeft(digits, kEan13Length, '0');
  int sum = 0;
  for (std::size_t i = 0; i + 1 < kEan13Length; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  if ((10 - sum % 10) % 10 != digits.back() - '0') return d.Refuse(texts::kEan13CheckSum);
  return d.Execute(Command(kPrintEan13).Raw(digits));
}

bool PrintEAN13(Driver& d) {
  return d.module().PrintEAN13;
}

void PutPrintEAN13(Driver& d, bool value) {
  d.module().PrintEAN13 = value;
}

bool FPSetPayName(Driver& d, std::uint16_t Password_Prog, Byte PayIndex, const AnsiString& PayName) {
  if (!PayIndexValid(PayIndex)) return d.Refuse(texts::kPaymentIndex);
  if (PayName.empty() || PayName.size() > kPayNameLimit) return d.Refuse(texts::kPaymentName);
  // The name is always converted: the printer's record is in its own code page, whatever CP866 says.
  return d.Execute(Command(kSetPayName)
                       .UIntLE(Password_Prog, 2)
                       .U8(static_cast<Byte>(PayIndex - 1))
                       .OemText(AnsiToOemText(PayName)));
}

// The record's length byte is checked against the record: a length past it would read the next
// form's record as this name. A length of 0 is an empty name.
bool FPGetPayName(Driver& d, Byte PayIndex) {
  if (!PayIndexValid(PayIndex)) return d.Refuse(texts::kPaymentIndex);
  const auto address = static_cast<std::uint16_t>(kPayNames + kPayNameRecord * (PayIndex - 1));
  const auto record = ReadMemory(d, address, kSettingsPage, kPayNameRecord);
  if (!record) return false;
  const std::size_t length = (*record)[0];
  if (length > kPayNameRecord - 1) return d.Reject(texts::kDataFormatError);
  d.PayName = PrinterText(std::span(*record).subspan(1, length));
  return true;
}

AnsiString GetPayName(Driver& d) {
  return ClientTextOut(d.PayName, d.module().settings.CP866);
}

}  // namespace zorfp
