// What the generated function tables of the dual interfaces (zorfp_gen.py vtables) call. The
// IDispatch slots forward to the driver object; every member slot puts its arguments into
// VARIANTs and runs the member through the class's dispatcher, so an early-bound call takes the
// same binding, argument checks and failure reporting as a late-bound one. Windows only: the
// slot types come from the header widl writes for the type library.
#pragma once

#include <cstddef>
#include <type_traits>

#include "server/com_object.h"
#include "zorfp_h.h"

namespace zorfp::server {

struct DualTableEntry {
  IID iid;
  IDispatchVtbl* table;
};
// Generated: one per interface, in the catalogue's order.
extern const DualTableEntry kDualTables[];
extern const std::size_t kDualTableCount;

// A slot with no [out, retval] value (a property write, a method that returns nothing).
inline constexpr std::nullptr_t kNoResult = nullptr;

namespace dual {

// Arguments: each C type of the slots to the VARIANT the dispatcher converts from.
inline void In(VARIANT& v, unsigned char x) {
  v.vt = VT_UI1;
  v.bVal = x;
}
inline void In(VARIANT& v, unsigned short x) {
  v.vt = VT_UI2;
  v.uiVal = x;
}
inline void In(VARIANT& v, ULONG x) {
  v.vt = VT_UI4;
  v.ulVal = x;
}
inline void In(VARIANT& v, LONG x) {
  v.vt = VT_I4;
  v.lVal = x;
}
inline void In(VARIANT& v, UINT64 x) {
  v.vt = VT_UI8;
  v.ullVal = x;
}
// The string stays the caller's: it is never freed here.
inline void In(VARIANT& v, BSTR x) {
  v.vt = VT_BSTR;
  v.bstrVal = x;
}
inline void In(VARIANT& v, VARIANT_BOOL x) {
  v.vt = VT_BOOL;
  v.boolVal = x;
}
inline void In(VARIANT& v, DATE x) {
  v.vt = VT_DATE;
  v.date = x;
}
template <typename E>
requires std::is_enum_v<E>
void In(VARIANT& v, E x) {
  v.vt = VT_I4;
  v.lVal = static_cast<LONG>(x);
}

// Results: the dispatcher's VARIANT to the slot's [out, retval] type; a string passes to the caller.
HRESULT Out(VARIANT& v, unsigned char* out);
HRESULT Out(VARIANT& v, unsigned short* out);
HRESULT Out(VARIANT& v, ULONG* out);
HRESULT Out(VARIANT& v, LONG* out);
HRESULT Out(VARIANT& v, UINT64* out);
HRESULT Out(VARIANT& v, BSTR* out);
HRESULT Out(VARIANT& v, VARIANT_BOOL* out);
HRESULT Out(VARIANT& v, DATE* out);
template <typename E>
requires std::is_enum_v<E> HRESULT Out(VARIANT& v, E* out) {
  LONG value = 0;
  const HRESULT hr = Out(v, &value);
  if (SUCCEEDED(hr)) *out = static_cast<E>(value);
  return hr;
}

// Invokes member `id` of the object behind `self` with `args` in declaration order. A failure
// inside the member returns its code with the message as the thread's error object (IErrorInfo).
HRESULT Run(IDispatch* self, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result);

template <typename I>
DriverObject* Object(I* This) {
  return DriverObject::From(reinterpret_cast<IDispatch*>(This));
}

}  // namespace dual

template <typename I, typename R, typename... A>
HRESULT CallMember(I* This, DISPID id, WORD flags, R* result, A... args) {
  if (!result) return E_POINTER;
  *result = R{};
  VARIANT in[sizeof...(A) + 1];
  std::size_t i = 0;
  (dual::In(in[i++], args), ...);
  VARIANT out;
  VariantInit(&out);
  HRESULT hr = dual::Run(reinterpret_cast<IDispatch*>(This), id, flags, in, sizeof...(A), &out);
  if (SUCCEEDED(hr)) hr = dual::Out(out, result);
  VariantClear(&out);
  return hr;
}

template <typename I, typename... A>
HRESULT CallMember(I* This, DISPID id, WORD flags, std::nullptr_t, A... args) {
  VARIANT in[sizeof...(A) + 1];
  std::size_t i = 0;
  (dual::In(in[i++], args), ...);
  return dual::Run(reinterpret_cast<IDispatch*>(This), id, flags, in, sizeof...(A), nullptr);
}

// IDispatch's seven slots, typed for interface I.
template <typename I>
HRESULT STDMETHODCALLTYPE DualQueryInterface(I* This, REFIID riid, void** out) {
  return dual::Object(This)->QueryInterface(riid, out);
}
template <typename I>
ULONG STDMETHODCALLTYPE DualAddRef(I* This) {
  return dual::Object(This)->AddRef();
}
template <typename I>
ULONG STDMETHODCALLTYPE DualRelease(I* This) {
  return dual::Object(This)->Release();
}
template <typename I>
HRESULT STDMETHODCALLTYPE DualGetTypeInfoCount(I* This, UINT* count) {
  return dual::Object(This)->GetTypeInfoCount(count);
}
template <typename I>
HRESULT STDMETHODCALLTYPE DualGetTypeInfo(I* This, UINT index, LCID, ITypeInfo** out) {
  return dual::Object(This)->GetTypeInfo(index, out);
}
template <typename I>
HRESULT STDMETHODCALLTYPE DualGetIDsOfNames(I* This, REFIID riid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) {
  return dual::Object(This)->GetIDsOfNames(riid, names, count, ids);
}
template <typename I>
HRESULT STDMETHODCALLTYPE DualInvoke(I* This, DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  return dual::Object(This)->Invoke(id, riid, flags, params, result, excep, arg_err);
}

}  // namespace zorfp::server
