// Argument conversion as automation clients rely on it: every argument type to every C++ type a
// member takes, with the failures DISP_E_TYPEMISMATCH and DISP_E_OVERFLOW.
#include "server/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dates/date_time.h"

namespace zorfp::server {
namespace {

struct Arg {
  VARIANT v;
  explicit Arg(VARTYPE vt) { VariantInit(&v), v.vt = vt; }
  Arg(const Arg& o) : v(o.v) {
    if (v.vt == VT_BSTR) v.bstrVal = SysAllocStringLen(o.v.bstrVal, SysStringLen(o.v.bstrVal));
  }
  ~Arg() { VariantClear(&v); }
};
Arg I4(std::int32_t x) {
  Arg a(VT_I4);
  a.v.lVal = x;
  return a;
}
Arg I8(std::int64_t x) {
  Arg a(VT_I8);
  a.v.llVal = x;
  return a;
}
Arg UI8(std::uint64_t x) {
  Arg a(VT_UI8);
  a.v.ullVal = x;
  return a;
}
Arg UI1(Byte x) {
  Arg a(VT_UI1);
  a.v.bVal = x;
  return a;
}
Arg R8(double x) {
  Arg a(VT_R8);
  a.v.dblVal = x;
  return a;
}
Arg Date(double x) {
  Arg a(VT_DATE);
  a.v.date = x;
  return a;
}
Arg Bool(bool x) {
  Arg a(VT_BOOL);
  a.v.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
  return a;
}
Arg Str(const char* utf8) {
  Arg a(VT_BSTR);
  a.v.bstrVal = Utf8ToBstr(utf8);
  return a;
}
Arg Empty() {
  return Arg(VT_EMPTY);
}
Arg Null() {
  return Arg(VT_NULL);
}
Arg Missing() {
  Arg a(VT_ERROR);
  a.v.scode = DISP_E_PARAMNOTFOUND;
  return a;
}

template <typename T>
struct Case {
  const char* what;
  Arg arg;
  HRESULT hr;
  T value{};
};

template <typename T>
void Check(const std::vector<Case<T>>& cases) {
  for (const Case<T>& c : cases) {
    T out{};
    EXPECT_EQ(ArgTo(c.arg.v, out), c.hr) << c.what;
    if (c.hr == S_OK) {
      EXPECT_EQ(out, c.value) << c.what;
    }
  }
}

TEST(ArgumentConversion, ToByte) {
  Check<Byte>({
      {"int in range", I4(200), S_OK, 200},
      {"int too big", I4(256), DISP_E_OVERFLOW},
      {"negative", I4(-1), DISP_E_OVERFLOW},
      {"decimal text", Str(" 17 "), S_OK, 17},
      {"text too big", Str("300"), DISP_E_OVERFLOW},
      {"not a number", Str("abc"), DISP_E_TYPEMISMATCH},
      {"empty text", Str(""), DISP_E_TYPEMISMATCH},
      {"double rounds half to even", R8(2.5), S_OK, 2},
      {"double rounds half to even, odd", R8(3.5), S_OK, 4},
      {"fraction text rounds", Str("1.6"), S_OK, 2},
      {"true fills the byte", Bool(true), S_OK, 255},
      {"false", Bool(false), S_OK, 0},
      {"empty is zero", Empty(), S_OK, 0},
      {"null does not convert", Null(), DISP_E_TYPEMISMATCH},
      {"missing argument", Missing(), DISP_E_PARAMNOTFOUND},
  });
}

TEST(ArgumentConversion, ToWordDwordInt) {
  Check<std::uint16_t>({{"max", I4(65535), S_OK, 65535}, {"over", I4(65536), DISP_E_OVERFLOW}});
  Check<std::uint32_t>({
      {"max as I8", I8(4294967295LL), S_OK, 4294967295u},
      {"over", I8(4294967296LL), DISP_E_OVERFLOW},
      {"negative", I4(-5), DISP_E_OVERFLOW},
      {"text", Str("4000000000"), S_OK, 4000000000u},
  });
  Check<std::int32_t>({
      {"negative", I4(-7), S_OK, -7},
      {"negative text", Str("-2147483648"), S_OK, std::numeric_limits<std::int32_t>::min()},
      {"over", Str("2147483648"), DISP_E_OVERFLOW},
      {"true is -1", Bool(true), S_OK, -1},
      {"from unsigned byte", UI1(255), S_OK, 255},
      {"NaN", R8(std::nan("")), DISP_E_OVERFLOW},
  });
}

TEST(ArgumentConversion, QwordKeepsEveryDigitFromText) {
  Check<std::uint64_t>({
      {"above 2^53 as text", Str("9007199254740993"), S_OK, 9007199254740993ull},
      {"max as text", Str("18446744073709551615"), S_OK, 18446744073709551615ull},
      {"over max", Str("18446744073709551616"), DISP_E_OVERFLOW},
      {"as UI8", UI8(18446744073709551615ull), S_OK, 18446744073709551615ull},
      {"negative", I4(-1), DISP_E_OVERFLOW},
      {"double", R8(12345.0), S_OK, 12345},
      {"plus sign", Str("+42"), S_OK, 42},
      {"trailing garbage", Str("42x"), DISP_E_TYPEMISMATCH},
  });
}

TEST(ArgumentConversion, ToBool) {
  Check<bool>({
      {"VARIANT_TRUE", Bool(true), S_OK, true},
      {"non-zero int", I4(2), S_OK, true},
      {"zero", I4(0), S_OK, false},
      {"text true", Str("True"), S_OK, true},
      {"text false", Str("FALSE"), S_OK, false},
      {"numeric text", Str("0"), S_OK, false},
      {"other text", Str("yes"), DISP_E_TYPEMISMATCH},
      {"empty", Empty(), S_OK, false},
  });
}

TEST(ArgumentConversion, ToDate) {
  Check<double>({
      {"date", Date(45000.5), S_OK, 45000.5},
      {"ISO date text", Str("2024-03-01"), S_OK, *ToOleDate(*DateTime::From(2024, 3, 1))},
      {"ISO date-time text", Str("2024-03-01T12:00:00"), S_OK, *ToOleDate(*DateTime::From(2024, 3, 1)) + 0.5},
      {"dotted text", Str("01.03.2024"), S_OK, *ToOleDate(*DateTime::From(2024, 3, 1))},
      {"day that does not exist", Str("2023-02-29"), DISP_E_TYPEMISMATCH},
      {"not a date", Str("tomorrow"), DISP_E_TYPEMISMATCH},
      {"number of days", I4(2), S_OK, 2.0},
      {"boolean", Bool(true), DISP_E_TYPEMISMATCH},
      {"beyond year 9999", R8(3e6), DISP_E_OVERFLOW},
  });
}

TEST(ArgumentConversion, ToAnsiString) {
  Check<AnsiString>({
      {"Cyrillic becomes Windows-1251", Str("Чек"), S_OK, "\xD7\xE5\xEA"},
      {"int", I4(-12), S_OK, "-12"},
      {"bool", Bool(true), S_OK, "True"},
      {"empty", Empty(), S_OK, ""},
      {"null", Null(), DISP_E_TYPEMISMATCH},
  });
}

TEST(ArgumentConversion, ByReferenceArguments) {
  std::int32_t x = 42;
  Arg by_ref(VT_I4 | VT_BYREF);
  by_ref.v.plVal = &x;
  Byte b = 0;
  EXPECT_EQ(ArgTo(by_ref.v, b), S_OK);
  EXPECT_EQ(b, 42);

  Arg inner = Str("7");
  Arg variant_ref(VT_VARIANT | VT_BYREF);
  variant_ref.v.pvarVal = &inner.v;
  EXPECT_EQ(ArgTo(variant_ref.v, b), S_OK);
  EXPECT_EQ(b, 7);

  Arg null_ref(VT_I4 | VT_BYREF);
  EXPECT_EQ(ArgTo(null_ref.v, b), DISP_E_TYPEMISMATCH);
}

TEST(Results, VariantTypeFollowsTheCatalogue) {
  const EnumInfo codes{"EErrorCode", {}};
  VARIANT v;
  SetResult(v, std::uint64_t{101}, TypeRef{AutoType::kByte});
  EXPECT_EQ(v.vt, VT_UI1);
  EXPECT_EQ(v.bVal, 101);
  SetResult(v, std::uint64_t{101}, TypeRef{AutoType::kEnum, &codes});
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 101);
  SetResult(v, true, TypeRef{AutoType::kBool});
  EXPECT_EQ(v.vt, VT_BOOL);
  EXPECT_EQ(v.boolVal, VARIANT_TRUE);
  SetResult(v, AnsiString("\xC7\xE0"), TypeRef{AutoType::kString});  // "За"
  ASSERT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(BstrToUtf8(v.bstrVal), "За");
  EXPECT_EQ(SysStringLen(v.bstrVal), 2u);
  VariantClear(&v);
}

TEST(Utf16, RoundTripsOutsideTheBasicPlane) {
  BSTR s = Utf8ToBstr("a€😀");
  EXPECT_EQ(SysStringLen(s), 4u);  // a, €, and a surrogate pair
  EXPECT_EQ(BstrToUtf8(s), "a€😀");
  SysFreeString(s);
  BSTR bad = Utf8ToBstr("\xFF");
  EXPECT_EQ(BstrToUtf8(bad), "\xEF\xBF\xBD");
  SysFreeString(bad);
}

TEST(OleDate, TextAndDaysAgree) {
  const struct {
    const char* text;
    double date;
  } kCases[] = {
      {"1899-12-30", 0.0},
      {"1900-01-01", 2.0},
      {"2024-02-29", 45351.0},
      {"2024-02-29T18:00:00", 45351.75},
      {"1899-12-29T06:00:00", -1.25},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ParseDateText(c.text), c.date) << c.text;
    EXPECT_EQ(DateText(c.date), c.text) << c.text;
  }
  for (const char* bad : {"2024-13-01", "2024-01-01T24:00", "2024-1-01", "2024-01-01X", "31.02.2024"}) {
    EXPECT_EQ(ParseDateText(bad), std::nullopt) << bad;
  }
}

}  // namespace
}  // namespace zorfp::server
