// Automation values at the boundary: an argument VARIANT to the C++ type a member takes, with the
// coercions an automation client expects (numbers from text, booleans from numbers, dates from
// text...), and a C++ result to the VARIANT of the catalogue's type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/bytes.h"
#include "server/catalogue.h"
#include "zorfp/automation.h"

namespace zorfp::server {

// Each returns S_OK, DISP_E_TYPEMISMATCH (cannot convert), DISP_E_OVERFLOW (out of the type's
// range) or DISP_E_PARAMNOTFOUND (a missing optional argument: none is optional here).
HRESULT ArgTo(const VARIANT& v, Byte& out);
HRESULT ArgTo(const VARIANT& v, std::uint16_t& out);
HRESULT ArgTo(const VARIANT& v, std::uint32_t& out);
HRESULT ArgTo(const VARIANT& v, std::int32_t& out);
HRESULT ArgTo(const VARIANT& v, std::uint64_t& out);  // also from a decimal string, without loss
HRESULT ArgTo(const VARIANT& v, bool& out);
HRESULT ArgTo(const VARIANT& v, double& out);      // a date
HRESULT ArgTo(const VARIANT& v, AnsiString& out);  // Windows-1251

// An enumerator's name given as text ("etgTax_B", any case): its value. Automation clients pass
// the number; scripts may write the name.
std::optional<std::int32_t> EnumeratorNamed(const EnumInfo& e, const VARIANT& v);

// `out` is uninitialised on entry. The catalogue's type picks the VARIANT type (an enumeration is
// VT_I4 whatever C++ type holds it).
void SetResult(VARIANT& out, std::uint64_t value, const TypeRef& type);
void SetResult(VARIANT& out, std::int32_t value, const TypeRef& type);
void SetResult(VARIANT& out, bool value, const TypeRef& type);
void SetResult(VARIANT& out, double value, const TypeRef& type);
void SetResult(VARIANT& out, const AnsiString& value, const TypeRef& type);

// OLECHAR is char16_t on Linux and a 16-bit wchar_t on Windows: the same UTF-16 units.
static_assert(sizeof(OLECHAR) == sizeof(char16_t));
inline const char16_t* Units(const OLECHAR* s) {
  return reinterpret_cast<const char16_t*>(s);
}

// UTF-16 BSTR <-> UTF-8, for names and messages.
BSTR AllocBstr(std::u16string_view text);
BSTR Utf8ToBstr(std::string_view utf8);
std::string BstrToUtf8(const OLECHAR* text);    // length-prefixed
std::string OleStrToUtf8(const OLECHAR* text);  // zero-terminated (names)
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zorfp::server
