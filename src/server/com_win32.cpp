// What a driver object offers on Windows beyond IUnknown and IDispatch: the class's dual
// interface (the generated function table), ISupportErrorInfo with the thread's error object, and
// type information read from the library's own type library resource.
#include <windows.h>  // with ole2.h: the automation API

#include <string>
#include <vector>

#include "link/module_path.h"
#include "server/com_platform.h"
#include "server/dispatch.h"
#include "server/dual.h"
#include "server/value.h"

namespace zorfp::server {
namespace {

DriverObject* Owner(ISupportErrorInfo* This) {
  return DriverObject::FromErrorInfo(This);
}

HRESULT STDMETHODCALLTYPE ErrQueryInterface(ISupportErrorInfo* This, REFIID riid, void** out) {
  return Owner(This)->QueryInterface(riid, out);
}
ULONG STDMETHODCALLTYPE ErrAddRef(ISupportErrorInfo* This) {
  return Owner(This)->AddRef();
}
ULONG STDMETHODCALLTYPE ErrRelease(ISupportErrorInfo* This) {
  return Owner(This)->Release();
}
// Both ways of calling a member leave their failures' messages in the error object.
HRESULT STDMETHODCALLTYPE ErrInterfaceSupportsErrorInfo(ISupportErrorInfo* This, REFIID riid) {
  return riid == Owner(This)->cls().iface->iid || riid == IID_IDispatch ? S_OK : S_FALSE;
}

ISupportErrorInfoVtbl kSupportErrorInfoTable = {ErrQueryInterface, ErrAddRef, ErrRelease,
                                                ErrInterfaceSupportsErrorInfo};

// Read once from the library file's resource; kept for the library's lifetime.
ITypeLib* TypeLibrary() {
  static ITypeLib* const library = []() -> ITypeLib* {
    ITypeLib* loaded = nullptr;
    const std::filesystem::path path = ModuleFileName();  // a program linking the server has none
    if (path.empty() || FAILED(::LoadTypeLibEx(path.c_str(), REGKIND_NONE, &loaded))) return nullptr;
    return loaded;
  }();
  return library;
}

void SetError(const ClassInfo& cls, BSTR source, BSTR description) {
  ICreateErrorInfo* create = nullptr;
  if (FAILED(::CreateErrorInfo(&create))) return;
  create->lpVtbl->SetGUID(create, cls.iface->iid);
  create->lpVtbl->SetSource(create, source);
  create->lpVtbl->SetDescription(create, description);
  IErrorInfo* info = nullptr;
  if (SUCCEEDED(create->lpVtbl->QueryInterface(create, IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
    ::SetErrorInfo(0, info);
    info->lpVtbl->Release(info);
  }
  create->lpVtbl->Release(create);
}

}  // namespace

IDispatchVtbl* DualTable(const ClassInfo& cls) {
  for (std::size_t i = 0; i < kDualTableCount; ++i) {
    if (kDualTables[i].iid == cls.iface->iid) return kDualTables[i].table;
  }
  return nullptr;
}

bool IsDualTable(const IDispatchVtbl* table) {
  for (std::size_t i = 0; i < kDualTableCount; ++i) {
    if (kDualTables[i].table == table) return true;
  }
  return false;
}

const void* SupportErrorInfoTable() {
  return &kSupportErrorInfoTable;
}

HRESULT QueryPlatformInterface(DriverObject& object, REFIID riid, void** out) {
  *out = nullptr;
  if (riid != IID_ISupportErrorInfo) return E_NOINTERFACE;
  *out = object.error_info_interface();
  object.AddRef();
  return S_OK;
}

UINT TypeInfoCount() {
  return TypeLibrary() ? 1 : 0;
}

HRESULT ClassTypeInfo(const ClassInfo& cls, ITypeInfo** out) {
  *out = nullptr;
  ITypeLib* library = TypeLibrary();
  if (!library) return E_NOTIMPL;
  return library->lpVtbl->GetTypeInfoOfGuid(library, cls.iface->iid, out);
}

void SetErrorObject(const ClassInfo& cls, const EXCEPINFO& excep) {
  SetError(cls, excep.bstrSource, excep.bstrDescription);
}

namespace dual {
namespace {

template <VARTYPE kType, typename T, typename Field>
HRESULT Take(VARIANT& v, T* out, Field field) {
  if (!out) return E_POINTER;
  if (v.vt != kType && FAILED(::VariantChangeType(&v, &v, 0, kType))) return DISP_E_TYPEMISMATCH;
  *out = field(v);
  return S_OK;
}

}  // namespace

HRESULT Out(VARIANT& v, unsigned char* out) {
  return Take<VT_UI1>(v, out, [](const VARIANT& x) { return x.bVal; });
}
HRESULT Out(VARIANT& v, unsigned short* out) {
  return Take<VT_UI2>(v, out, [](const VARIANT& x) { return x.uiVal; });
}
HRESULT Out(VARIANT& v, ULONG* out) {
  return Take<VT_UI4>(v, out, [](const VARIANT& x) { return x.ulVal; });
}
HRESULT Out(VARIANT& v, LONG* out) {
  return Take<VT_I4>(v, out, [](const VARIANT& x) { return x.lVal; });
}
HRESULT Out(VARIANT& v, UINT64* out) {
  return Take<VT_UI8>(v, out, [](const VARIANT& x) { return x.ullVal; });
}
HRESULT Out(VARIANT& v, VARIANT_BOOL* out) {
  return Take<VT_BOOL>(v, out, [](const VARIANT& x) { return x.boolVal; });
}
HRESULT Out(VARIANT& v, DATE* out) {
  return Take<VT_DATE>(v, out, [](const VARIANT& x) { return x.date; });
}
HRESULT Out(VARIANT& v, BSTR* out) {
  const HRESULT hr = Take<VT_BSTR>(v, out, [](const VARIANT& x) { return x.bstrVal; });
  if (SUCCEEDED(hr)) v.vt = VT_EMPTY;  // the string is the caller's now
  return hr;
}

HRESULT Run(IDispatch* self, DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  DriverObject* object = DriverObject::From(self);
  if (!object) return E_UNEXPECTED;
  std::vector<VARIANT> reversed(args, args + count);  // DISPPARAMS holds the last argument first
  for (UINT i = 0; i < count / 2; ++i) std::swap(reversed[i], reversed[count - 1 - i]);
  DISPID value_id = DISPID_PROPERTYPUT;
  const bool put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), put ? &value_id : nullptr, count, put ? 1u : 0u};
  EXCEPINFO excep{};
  UINT arg_err = 0;
  HRESULT hr = object->Invoke(id, IID_NULL, flags, &params, result, &excep, &arg_err);
  if (hr == DISP_E_EXCEPTION) {
    hr = FAILED(excep.scode) ? excep.scode : E_FAIL;  // the error object holds the message already
  } else if (FAILED(hr)) {
    BSTR source = Utf8ToBstr(std::string(Catalogue().name) + "." + object->cls().coclass);
    BSTR description = Utf8ToBstr(FailureText(hr));
    SetError(object->cls(), source, description);
    ::SysFreeString(source);
    ::SysFreeString(description);
  }
  ::SysFreeString(excep.bstrSource);
  ::SysFreeString(excep.bstrDescription);
  ::SysFreeString(excep.bstrHelpFile);
  return hr;
}

}  // namespace dual
}  // namespace zorfp::server
