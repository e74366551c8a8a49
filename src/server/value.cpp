#include "server/value.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

#include "errors/codepage.h"
#include "dates/date_time.h"

namespace zorfp::server {
namespace {

// An argument seen as a number: exact when it was an integer, else a double.
struct Number {
  enum Kind { kSigned, kUnsigned, kReal } kind = kSigned;
  std::int64_t s = 0;
  std::uint64_t u = 0;
  double d = 0;
};

const VARIANT& Deref(const VARIANT& v) {
  if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal) return Deref(*v.pvarVal);
  return v;
}

std::u16string_view View(const OLECHAR* text) {
  if (!text) return {};
  return {Units(text), SysStringLen(const_cast<BSTR>(text))};
}

std::string Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

// Decimal text: an integer stays exact; a fraction or exponent makes it a double.
HRESULT ParseNumber(const std::string& text, Number& n) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  if (first == last) return DISP_E_TYPEMISMATCH;
  if (*first != '-') {
    auto [end, ec] = std::from_chars(first, last, n.u);
    if (end == last) {
      if (ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
      n.kind = Number::kUnsigned;
      return S_OK;
    }
  } else {
    auto [end, ec] = std::from_chars(first, last, n.s);
    if (end == last) {
      if (ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
      n.kind = Number::kSigned;
      return S_OK;
    }
  }
  auto [end, ec] = std::from_chars(first, last, n.d);
  if (end != last || ec != std::errc()) return DISP_E_TYPEMISMATCH;
  n.kind = Number::kReal;
  return S_OK;
}

// Reads a byref value through its pointer; a null pointer does not convert.
template <typename T>
bool ByRef(const VARIANT& v, VARTYPE base, const T* pointer, T& out) {
  if (v.vt != (base | VT_BYREF)) return false;
  out = pointer ? *pointer : T{};
  return true;
}

HRESULT ToNumber(const VARIANT& arg, Number& n) {
  const VARIANT& v = Deref(arg);
  const VARTYPE type = v.vt & ~VT_BYREF;
  const bool by_ref = (v.vt & VT_BYREF) != 0;
  if (by_ref && !v.byref) return DISP_E_TYPEMISMATCH;
  const auto signed_ = [&](std::int64_t x) {
    n.kind = Number::kSigned, n.s = x;
    return S_OK;
  };
  const auto unsigned_ = [&](std::uint64_t x) {
    n.kind = Number::kUnsigned, n.u = x;
    return S_OK;
  };
  const auto real = [&](double x) {
    n.kind = Number::kReal, n.d = x;
    return S_OK;
  };
  switch (type) {
    case VT_EMPTY:
      return by_ref ? DISP_E_TYPEMISMATCH : signed_(0);
    case VT_I1:
      return signed_(static_cast<signed char>(by_ref ? *v.pcVal : v.cVal));
    case VT_I2:
      return signed_(by_ref ? *v.piVal : v.iVal);
    case VT_I4:
      return signed_(by_ref ? *v.plVal : v.lVal);
    case VT_INT:
      return signed_(by_ref ? *v.pintVal : v.intVal);
    case VT_I8:
      return signed_(by_ref ? *v.pllVal : v.llVal);
    case VT_UI1:
      return unsigned_(by_ref ? *v.pbVal : v.bVal);
    case VT_UI2:
      return unsigned_(by_ref ? *v.puiVal : v.uiVal);
    case VT_UI4:
      return unsigned_(by_ref ? *v.pulVal : v.ulVal);
    case VT_UINT:
      return unsigned_(by_ref ? *v.puintVal : v.uintVal);
    case VT_UI8:
      return unsigned_(by_ref ? *v.pullVal : v.ullVal);
    case VT_R4:
      return real(by_ref ? *v.pfltVal : v.fltVal);
    case VT_R8:
      return real(by_ref ? *v.pdblVal : v.dblVal);
    case VT_DATE:
      return real(by_ref ? *v.pdate : v.date);
    case VT_CY:
      return real(static_cast<double>(by_ref ? v.pcyVal->int64 : v.cyVal.int64) / 10000.0);
    case VT_BOOL:
      return signed_((by_ref ? *v.pboolVal : v.boolVal) ? -1 : 0);  // True is -1
    case VT_BSTR: {
      const std::string text = Trim(BstrToUtf8(by_ref ? *v.pbstrVal : v.bstrVal));
      if (text.empty()) return DISP_E_TYPEMISMATCH;
      return ParseNumber(text, n);
    }
    case VT_ERROR:
      if ((by_ref ? *v.pscode : v.scode) == DISP_E_PARAMNOTFOUND) return DISP_E_PARAMNOTFOUND;
      return DISP_E_TYPEMISMATCH;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

// To an integer type: a double is rounded half to even, as automation does; out of range overflows.
template <typename T>
HRESULT ToInteger(const VARIANT& v, T& out) {
  Number n;
  if (HRESULT hr = ToNumber(v, n); FAILED(hr)) return hr;
  using Limits = std::numeric_limits<T>;
  switch (n.kind) {
    case Number::kSigned:
      if constexpr (Limits::is_signed) {
        if (n.s < Limits::min() || n.s > Limits::max()) return DISP_E_OVERFLOW;
      } else {
        // A boolean True (-1) fills every bit of an unsigned type, as automation converts it.
        if (n.s == -1 && Deref(v).vt == VT_BOOL) {
          out = Limits::max();
          return S_OK;
        }
        if (n.s < 0 || static_cast<std::uint64_t>(n.s) > Limits::max()) return DISP_E_OVERFLOW;
      }
      out = static_cast<T>(n.s);
      return S_OK;
    case Number::kUnsigned:
      if (n.u > static_cast<std::uint64_t>(Limits::max())) return DISP_E_OVERFLOW;
      out = static_cast<T>(n.u);
      return S_OK;
    case Number::kReal: {
      if (!std::isfinite(n.d)) return DISP_E_OVERFLOW;
      const double r = std::nearbyint(n.d);  // the default rounding mode: half to even
      // Compare in long double: 2^64 - 1 is not a double.
      if (static_cast<long double>(r) < static_cast<long double>(Limits::min()) ||
          static_cast<long double>(r) > static_cast<long double>(Limits::max())) {
        return DISP_E_OVERFLOW;
      }
      out = static_cast<T>(r);
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

std::string NumberText(const Number& n) {
  switch (n.kind) {
    case Number::kSigned:
      return std::to_string(n.s);
    case Number::kUnsigned:
      return std::to_string(n.u);
    case Number::kReal: {
      char text[64];
      auto [end, ec] = std::to_chars(text, text + sizeof text, n.d);
      return std::string(text, end);
    }
  }
  return {};
}

}  // namespace

HRESULT ArgTo(const VARIANT& v, Byte& out) {
  return ToInteger(v, out);
}
HRESULT ArgTo(const VARIANT& v, std::uint16_t& out) {
  return ToInteger(v, out);
}
HRESULT ArgTo(const VARIANT& v, std::uint32_t& out) {
  return ToInteger(v, out);
}
HRESULT ArgTo(const VARIANT& v, std::int32_t& out) {
  return ToInteger(v, out);
}
HRESULT ArgTo(const VARIANT& v, std::uint64_t& out) {
  return ToInteger(v, out);
}

HRESULT ArgTo(const VARIANT& arg, bool& out) {
  const VARIANT& v = Deref(arg);
  if (v.vt == VT_BSTR || v.vt == (VT_BSTR | VT_BYREF)) {
    const std::string text =
        Trim(BstrToUtf8(v.vt == VT_BSTR ? v.bstrVal : (v.pbstrVal ? *v.pbstrVal : nullptr)));
    if (EqualsNoCase(text, "true")) return out = true, S_OK;
    if (EqualsNoCase(text, "false")) return out = false, S_OK;
  }
  Number n;
  if (HRESULT hr = ToNumber(v, n); FAILED(hr)) return hr;
  out = n.kind == Number::kSigned ? n.s != 0 : n.kind == Number::kUnsigned ? n.u != 0 : n.d != 0;
  return S_OK;
}

HRESULT ArgTo(const VARIANT& arg, double& out) {
  const VARIANT& v = Deref(arg);
  if (v.vt == VT_BSTR || v.vt == (VT_BSTR | VT_BYREF)) {
    const std::string text =
        Trim(BstrToUtf8(v.vt == VT_BSTR ? v.bstrVal : (v.pbstrVal ? *v.pbstrVal : nullptr)));
    const std::optional<double> date = ParseDateText(text);
    if (!date) return DISP_E_TYPEMISMATCH;
    out = *date;
    return S_OK;
  }
  if (v.vt == VT_BOOL) return DISP_E_TYPEMISMATCH;
  Number n;
  if (HRESULT hr = ToNumber(v, n); FAILED(hr)) return hr;
  out = n.kind == Number::kSigned     ? static_cast<double>(n.s)
        : n.kind == Number::kUnsigned ? static_cast<double>(n.u)
                                      : n.d;
  if (!FromOleDate(out)) return DISP_E_OVERFLOW;
  return S_OK;
}

HRESULT ArgTo(const VARIANT& arg, AnsiString& out) {
  const VARIANT& v = Deref(arg);
  if (v.vt == VT_BSTR) return out = Utf16ToAnsi(View(v.bstrVal)), S_OK;
  if (v.vt == (VT_BSTR | VT_BYREF)) {
    if (!v.pbstrVal) return DISP_E_TYPEMISMATCH;
    return out = Utf16ToAnsi(View(*v.pbstrVal)), S_OK;
  }
  if (v.vt == VT_EMPTY) return out.clear(), S_OK;
  if (v.vt == VT_BOOL) return out = v.boolVal ? "True" : "False", S_OK;
  if (v.vt == VT_DATE) return out = DateText(v.date), S_OK;
  Number n;
  if (HRESULT hr = ToNumber(v, n); FAILED(hr)) return hr;
  out = NumberText(n);
  return S_OK;
}

std::optional<std::int32_t> EnumeratorNamed(const EnumInfo& e, const VARIANT& arg) {
  const VARIANT& v = Deref(arg);
  const OLECHAR* text = v.vt == VT_BSTR                              ? v.bstrVal
                        : v.vt == (VT_BSTR | VT_BYREF) && v.pbstrVal ? *v.pbstrVal
                                                                     : nullptr;
  if (!text) return std::nullopt;
  const std::string name = Trim(BstrToUtf8(text));
  for (const EnumValue& value : e.values) {
    if (EqualsNoCase(value.name, name)) return value.value;
  }
  return std::nullopt;
}

void SetResult(VARIANT& out, std::uint64_t value, const TypeRef& type) {
  VariantInit(&out);
  switch (type.type) {
    case AutoType::kByte:
      out.vt = VT_UI1, out.bVal = static_cast<Byte>(value);
      break;
    case AutoType::kWord:
      out.vt = VT_UI2, out.uiVal = static_cast<std::uint16_t>(value);
      break;
    case AutoType::kDword:
      out.vt = VT_UI4, out.ulVal = static_cast<std::uint32_t>(value);
      break;
    case AutoType::kInt:
    case AutoType::kEnum:
      out.vt = VT_I4, out.lVal = static_cast<std::int32_t>(value);
      break;
    default:
      out.vt = VT_UI8, out.ullVal = value;
      break;
  }
}

void SetResult(VARIANT& out, std::int32_t value, const TypeRef&) {
  VariantInit(&out);
  out.vt = VT_I4;
  out.lVal = value;
}

void SetResult(VARIANT& out, bool value, const TypeRef&) {
  VariantInit(&out);
  out.vt = VT_BOOL;
  out.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetResult(VARIANT& out, double value, const TypeRef&) {
  VariantInit(&out);
  out.vt = VT_DATE;
  out.date = value;
}

void SetResult(VARIANT& out, const AnsiString& value, const TypeRef&) {
  VariantInit(&out);
  out.vt = VT_BSTR;
  out.bstrVal = AllocBstr(AnsiToUtf16(value));
  if (!out.bstrVal) throw std::bad_alloc();
}

BSTR AllocBstr(std::u16string_view text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
}

// UTF-8 and UTF-16 without a code page: names, messages and the C API's strings. Ill-formed input
// becomes U+FFFD rather than failing.
BSTR Utf8ToBstr(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 0x6) {
      len = 2, cp = c & 0x1F;
    } else if ((c >> 4) == 0xE) {
      len = 3, cp = c & 0x0F;
    } else if ((c >> 3) == 0x1E) {
      len = 4, cp = c & 0x07;
    }
    if (len > 1) {
      bool ok = i + len <= s.size();
      for (std::size_t k = 1; ok && k < len; ++k) {
        const unsigned char cc = static_cast<unsigned char>(s[i + k]);
        ok = (cc & 0xC0) == 0x80;
        cp = (cp << 6) | (cc & 0x3F);
      }
      if (!ok) cp = 0xFFFD, len = 1;
    }
    i += len;
    if (cp >= 0x10000 && cp <= 0x10FFFF) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp));
    }
  }
  return AllocBstr(out);
}

std::string BstrToUtf8(const OLECHAR* text) {
  return Utf16ToUtf8(View(text));
}

std::string OleStrToUtf8(const OLECHAR* text) {
  if (!text) return {};
  return Utf16ToUtf8(std::u16string_view(Units(text)));
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace zorfp::server
