// A member of the driver's class called by its name, as a client calls it: the arguments become
// automation values, the dispatcher runs the member's binding (and the class's call prologue),
// and the result comes back as the C++ type the test asks for. A dispatch failure fails the test.
//
//   EXPECT_TRUE(Call<bool>(d, "DayOpened"));
//   Call(d, "FPAvans", 500u);
//   Put(d, "Flag1_0", true);
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "driver/driver.h"
#include "errors/codepage.h"
#include "server/dispatch.h"
#include "server/value.h"

namespace zorfp::testing {
namespace detail {

inline VARIANT ToVariant(Byte x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UI1, v.bVal = x;
  return v;
}
inline VARIANT ToVariant(std::uint16_t x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UI2, v.uiVal = x;
  return v;
}
inline VARIANT ToVariant(std::uint32_t x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UI4, v.ulVal = x;
  return v;
}
inline VARIANT ToVariant(std::int32_t x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4, v.lVal = x;
  return v;
}
inline VARIANT ToVariant(std::uint64_t x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UI8, v.ullVal = x;
  return v;
}
inline VARIANT ToVariant(bool x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL, v.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}
inline VARIANT ToVariant(double date) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DATE, v.date = date;
  return v;
}
// Windows-1251 text, as members take it.
inline VARIANT ToVariant(const AnsiString& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR, v.bstrVal = server::Utf8ToBstr(AnsiToUtf8(text));
  return v;
}
inline VARIANT ToVariant(const char* text) {
  return ToVariant(AnsiString(text));
}

// Arguments in reading order; DISPPARAMS holds them last first.
inline HRESULT Invoke(Driver& d, std::string_view name, WORD flags, std::vector<VARIANT> args, VARIANT* result) {
  const server::Dispatcher& disp = server::Dispatcher::For(d.traits().id);
  const std::optional<DISPID> id = disp.Find(name);
  if (!id) return DISP_E_UNKNOWNNAME;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  const bool is_put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), is_put ? &put : nullptr, static_cast<UINT>(reversed.size()),
                    is_put ? 1u : 0u};
  EXCEPINFO excep{};
  UINT arg_err = 0;
  const HRESULT hr = disp.Invoke(d, *id, flags, &params, result, &excep, &arg_err);
  if (hr == DISP_E_EXCEPTION) ADD_FAILURE() << name << ": " << server::BstrToUtf8(excep.bstrDescription);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrSource);
  for (VARIANT& v : reversed) VariantClear(&v);
  return hr;
}

}  // namespace detail

template <typename R = void, typename... A>
R Call(Driver& d, std::string_view name, const A&... args) {
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = detail::Invoke(d, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                    {detail::ToVariant(args)...}, &result);
  EXPECT_EQ(hr, S_OK) << name << " on " << d.traits().coclass << ": " << server::FailureText(hr);
  if constexpr (std::is_void_v<R>) {
    VariantClear(&result);
  } else {
    std::remove_cvref_t<R> value{};
    if (SUCCEEDED(hr)) {
      EXPECT_EQ(server::ArgTo(result, value), S_OK) << name;
    }
    VariantClear(&result);
    return value;
  }
}

template <typename T>
void Put(Driver& d, std::string_view name, const T& value) {
  const HRESULT hr = detail::Invoke(d, name, DISPATCH_PROPERTYPUT, {detail::ToVariant(value)}, nullptr);
  EXPECT_EQ(hr, S_OK) << name << " on " << d.traits().coclass << ": " << server::FailureText(hr);
}

}  // namespace zorfp::testing
