#include "server/com_object.h"

#include <array>
#include <cstddef>
#include <new>

#include "server/com_platform.h"
#include "variants/traits.h"

namespace zorfp::server {
namespace {

std::atomic<long> g_objects{0};     // driver objects alive
std::atomic<long> g_class_refs{0};  // references clients hold on class objects
std::atomic<long> g_locks{0};       // IClassFactory::LockServer

// ---- driver object function table ----

DriverObject* Self(IDispatch* This) {
  return DriverObject::From(This);
}

HRESULT STDMETHODCALLTYPE ObjQueryInterface(IDispatch* This, REFIID riid, void** out) {
  return Self(This)->QueryInterface(riid, out);
}
ULONG STDMETHODCALLTYPE ObjAddRef(IDispatch* This) {
  return Self(This)->AddRef();
}
ULONG STDMETHODCALLTYPE ObjRelease(IDispatch* This) {
  return Self(This)->Release();
}
HRESULT STDMETHODCALLTYPE ObjGetTypeInfoCount(IDispatch* This, UINT* count) {
  return Self(This)->GetTypeInfoCount(count);
}
HRESULT STDMETHODCALLTYPE ObjGetTypeInfo(IDispatch* This, UINT index, LCID, ITypeInfo** out) {
  return Self(This)->GetTypeInfo(index, out);
}
HRESULT STDMETHODCALLTYPE ObjGetIDsOfNames(IDispatch* This, REFIID riid, LPOLESTR* names, UINT count, LCID,
                                           DISPID* ids) {
  return Self(This)->GetIDsOfNames(riid, names, count, ids);
}
HRESULT STDMETHODCALLTYPE ObjInvoke(IDispatch* This, DISPID id, REFIID riid, LCID, WORD flags,
                                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* arg_err) {
  return Self(This)->Invoke(id, riid, flags, params, result, excep, arg_err);
}

// Not const: the platform's headers declare lpVtbl as a pointer to a mutable table.
IDispatchVtbl kObjectTable = {ObjQueryInterface, ObjAddRef,        ObjRelease, ObjGetTypeInfoCount,
                              ObjGetTypeInfo,    ObjGetIDsOfNames, ObjInvoke};

// ---- class objects ----

struct ClassObject {
  IClassFactory iface;
  const ClassInfo* cls;
};

ClassObject* Factory(IClassFactory* This) {
  return reinterpret_cast<ClassObject*>(This);
}

HRESULT STDMETHODCALLTYPE FactoryQueryInterface(IClassFactory* This, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
  *out = This;
  This->lpVtbl->AddRef(This);
  return S_OK;
}
// The class objects live as long as the library; their count only tells whether a client holds one.
ULONG STDMETHODCALLTYPE FactoryAddRef(IClassFactory*) {
  return static_cast<ULONG>(++g_class_refs + 1);
}
ULONG STDMETHODCALLTYPE FactoryRelease(IClassFactory*) {
  return static_cast<ULONG>(--g_class_refs + 1);
}

HRESULT STDMETHODCALLTYPE FactoryCreateInstance(IClassFactory* This, IUnknown* outer, REFIID riid,
                                                void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  DriverObject* object = DriverObject::Create(*Factory(This)->cls);
  if (!object) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

HRESULT STDMETHODCALLTYPE FactoryLockServer(IClassFactory*, BOOL lock) {
  if (lock) {
    ++g_locks;
  } else {
    --g_locks;
  }
  return S_OK;
}

IClassFactoryVtbl kFactoryTable = {FactoryQueryInterface, FactoryAddRef, FactoryRelease,
                                   FactoryCreateInstance, FactoryLockServer};

// Created with the library, in the server's order.
std::array<ClassObject, kVariantCount>& ClassObjects() {
  static std::array<ClassObject, kVariantCount> objects = [] {
    std::array<ClassObject, kVariantCount> a{};
    for (std::size_t i = 0; i < kVariantCount; ++i) {
      a[i] = ClassObject{{&kFactoryTable}, &Catalogue().Class(ClassOrder()[i]->id)};
    }
    return a;
  }();
  return objects;
}

}  // namespace

DriverObject::DriverObject(const ClassInfo& cls)
    : com_{{DualTable(cls) ? DualTable(cls) : &kObjectTable}, SupportErrorInfoTable(), this},
      dispatcher_(Dispatcher::For(cls.variant)),
      driver_(Traits(cls.variant)) {
  ++g_objects;
}

DriverObject::~DriverObject() {
  --g_objects;
}

DriverObject* DriverObject::Create(const ClassInfo& cls) {
  return new (std::nothrow) DriverObject(cls);
}

DriverObject* DriverObject::From(IDispatch* iface) {
  if (!iface || (iface->lpVtbl != &kObjectTable && !IsDualTable(iface->lpVtbl))) return nullptr;
  return reinterpret_cast<Com*>(iface)->self;
}

DriverObject* DriverObject::FromErrorInfo(void* iface) {
  return reinterpret_cast<Com*>(static_cast<char*>(iface) - offsetof(Com, error_info))->self;
}

ULONG DriverObject::AddRef() {
  return ++refs_;
}

ULONG DriverObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;  // the port stays open if the client left it so, as documented
  return left;
}

HRESULT DriverObject::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  // The class's own interface is the same pointer: its function table starts with IDispatch's.
  const bool dual = com_.iface.lpVtbl != &kObjectTable;
  if (riid == IID_IUnknown || riid == IID_IDispatch || (dual && riid == cls().iface->iid)) {
    *out = dispatch();
    AddRef();
    return S_OK;
  }
  return QueryPlatformInterface(*this, riid, out);
}

HRESULT DriverObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = TypeInfoCount();
  return S_OK;
}

HRESULT DriverObject::GetTypeInfo(UINT index, ITypeInfo** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return ClassTypeInfo(cls(), out);
}

HRESULT DriverObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return dispatcher_.GetIDsOfNames(names, count, ids);
}

HRESULT DriverObject::Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* excep, UINT* arg_err) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  // The failure's message also becomes the thread's error object, for clients that read
  // IErrorInfo, so it is collected even when the caller passes no EXCEPINFO.
  EXCEPINFO own{};
  EXCEPINFO* e = excep ? excep : &own;
  const HRESULT hr = dispatcher_.Invoke(driver_, id, flags, params, result, e, arg_err);
  if (hr == DISP_E_EXCEPTION) SetErrorObject(cls(), *e);
  SysFreeString(own.bstrSource);
  SysFreeString(own.bstrDescription);
  SysFreeString(own.bstrHelpFile);
  return hr;
}

HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (ClassObject& c : ClassObjects()) {
    if (c.cls->clsid == clsid) return FactoryQueryInterface(&c.iface, riid, out);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() {
  return g_objects == 0 && g_class_refs == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

long LiveObjects() {
  return g_objects;
}

}  // namespace zorfp::server
