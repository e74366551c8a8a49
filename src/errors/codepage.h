// The two code pages the driver lives with, as fixed tables (the same on every platform):
// Windows-1251 for the driver's and the client's text ("ANSI"), 866 for the printer's ("OEM").
#pragma once

#include <string>
#include <string_view>

#include "link/bytes.h"

namespace zorfp {

char16_t Cp1251ToUnicode(Byte b);
char16_t Cp866ToUnicode(Byte b);

// Unicode to a code page; characters the page lacks become '?'.
Byte UnicodeToCp1251(char16_t c);
Byte UnicodeToCp866(char16_t c);

// Byte-for-byte conversions between the two pages (what CharToOemA and OemToCharA do);
// the length never changes.
std::string AnsiToOem(std::string_view ansi);
AnsiString OemToAnsi(std::string_view oem);

// The client boundary: UTF-8 (C API, command line) and UTF-16 (BSTR).
std::string AnsiToUtf8(std::string_view ansi);

// Names compared as the automation boundary compares them: ASCII letters in either case.
bool EqualsNoCase(std::string_view a, std::string_view b);
AnsiString Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
AnsiString Utf16ToAnsi(std::u16string_view utf16);

}  // namespace zorfp
