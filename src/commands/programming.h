// Programming the printer's fixed texts and tables, and the service settings: cashiers and their
// passwords (commands 0x05, 0x06, the password table read from memory), the fiscal number (0x15),
// the header (0x16) and the advertising, final and extra header lines (0x17), line spacing and
// contrast (0x27), the logo (0x2D), EAN-13 barcodes (0x31), payment-form names (0x32 and a memory
// read, EP-06), squeezed printing (0x3A) and the items format (0x3C). The members that only send
// a command are these functions; the properties are bindings (server/bind/programming.cpp).
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"

namespace zorfp {

// Cashiers and passwords. The newer classes and EP-01 share the signatures; 08-01 has no name in
// FPSetPassword and no "keep the name" switch in FPSetCashier.
bool FPSetPassword(Driver& d, std::uint16_t Old_Password, std::uint16_t New_Password, Byte Num_Cashier,
                   const AnsiString& Name_Cashier);
bool FPSetPassword(Driver& d, std::uint16_t Old_Password, std::uint16_t New_Password, Byte Number_Cashier);
bool FPSetCashier(Driver& d, Byte Num_Cashier, const AnsiString& Name_Cashier, std::uint16_t Pass_Cashier,
                  bool TakeProgName);
bool FPSetCashier(Driver& d, Byte Number_Cashier, const AnsiString& Name_Cashier, std::uint16_t Password_Cashier);

// The password table: cashiers 1 to 8, the programming and the reports password.
struct PasswordTable {
  std::int32_t Cashier[8] = {};
  std::int32_t Prog = 0;
  std::int32_t Reports = 0;
};
std::optional<PasswordTable> ReadPasswords(Driver& d);

// The fiscal number: the newer classes' checked and zero-padded form, the older classes' own.
bool FPSetFiscalNumber(Driver& d, std::uint16_t Password_Prog, const AnsiString& FiscalNumber);
bool FPFiscalization(Driver& d, std::uint16_t Password_Prog, const AnsiString& Fiscal_Number);

// The header: three lines with their attributes and the tax or identification number.
bool FPSetHeadLine(Driver& d, std::uint16_t Password_Prog, const AnsiString& HeadString1, bool DoubleWidth1,
                   bool DoubleHeight1, const AnsiString& HeadString2, bool DoubleWidth2, bool DoubleHeight2,
                   const AnsiString& HeadString3, bool DoubleWidth3, bool DoubleHeight3,
                   const AnsiString& HeadString4, bool TypeID);
// Older classes: four plain strings.
bool FPSetHeadLine(Driver& d, std::uint16_t Password_Admin, const AnsiString& Str1_Atribute,
                   const AnsiString& Str2_Atribute, const AnsiString& Str3_Atribute, const AnsiString& Str4_Atribute);
// 05-02, 05-03: the header from the held lines, flags and registration code.
bool FPSetHeader(Driver& d, std::uint16_t Password_Prog, bool IDType);
HeaderValues& HeldHeader(Driver& d);

// Lines before and after the receipt and the extra header lines.
bool FPSetInitialLines(Driver& d, Byte Num, const AnsiString& TextLine, bool DoubleWidth, bool DoubleHeight);
bool FPSetFinalLines(Driver& d, Byte Num, const AnsiString& TextLine, bool DoubleWidth, bool DoubleHeight);
bool FPSetHeaderLineAdd1(Driver& d, const AnsiString& Text, bool DoubleWidth, bool DoubleHeight);
bool FPSetHeaderLineAdd2(Driver& d, const AnsiString& Text, bool DoubleWidth, bool DoubleHeight);

// Service settings.
bool FPEnableLogo(Driver& d, std::uint16_t Password_Prog);
bool FPDisableLogo(Driver& d, std::uint16_t Password_Prog);
bool FPLineSP(Driver& d, Byte Distance);
bool FPSetContrast(Driver& d, Byte Value);
bool FPSetFormat(Driver& d, std::uint16_t Password_Prog, std::uint16_t ItemsQuantity);
bool FPSqueeze(Driver& d);
bool FPPrintEAN13(Driver& d, const AnsiString& EAN13);
// The EAN-13 mark on sale items: one switch for every class.
bool PrintEAN13(Driver& d);
void PutPrintEAN13(Driver& d, bool value);

// Payment-form names (EP-06): indexes 1 to 3 and 5 to 10 (cash, 4, has its fixed name).
bool FPSetPayName(Driver& d, std::uint16_t Password_Prog, Byte PayIndex, const AnsiString& PayName);
bool FPGetPayName(Driver& d, Byte PayIndex);
AnsiString GetPayName(Driver& d);

}  // namespace zorfp
