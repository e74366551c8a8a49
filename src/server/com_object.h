// The COM-shaped objects of the server: one driver object per creation request, exposing
// IDispatch over its class's dispatcher (and, where the platform has them, the class's dual
// interface and ISupportErrorInfo: com_platform.h), and the seven class objects that create them,
// with the reference counts DllCanUnloadNow answers from.
#pragma once

#include <atomic>

#include "driver/driver.h"
#include "server/dispatch.h"
#include "zorfp/automation.h"

namespace zorfp::server {

class DriverObject {
 public:
  // Created with one reference, owned by the caller.
  static DriverObject* Create(const ClassInfo& cls);

  IDispatch* dispatch() { return &com_.iface; }
  static DriverObject* From(IDispatch* iface);  // null for an object that is not ours
  // The ISupportErrorInfo interface pointer (com_platform.h), and back to the object from it.
  void* error_info_interface() { return &com_.error_info; }
  static DriverObject* FromErrorInfo(void* iface);

  ULONG AddRef();
  ULONG Release();
  HRESULT QueryInterface(REFIID riid, void** out);
  HRESULT GetTypeInfoCount(UINT* count);
  HRESULT GetTypeInfo(UINT index, ITypeInfo** out);
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
  HRESULT Invoke(DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                 UINT* arg_err);

  const ClassInfo& cls() const { return dispatcher_.cls(); }
  const Dispatcher& dispatcher() const { return dispatcher_; }
  Driver& driver() { return driver_; }

 private:
  explicit DriverObject(const ClassInfo& cls);
  ~DriverObject();

  // What a client holds: the function table first, so that the IDispatch* is this struct's address.
  // `error_info` is the ISupportErrorInfo interface where the platform has one.
  struct Com {
    IDispatch iface;
    const void* error_info;
    DriverObject* self;
  };
  Com com_;
  std::atomic<ULONG> refs_{1};
  const Dispatcher& dispatcher_;
  Driver driver_;
};

// DllGetClassObject: the class object for a class identifier, through the interface asked for.
HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** out);

// DllCanUnloadNow: S_OK when no driver object lives and no class object is referenced or locked.
HRESULT CanUnloadNow();

// Live driver objects (for tests and the unload answer).
long LiveObjects();

}  // namespace zorfp::server
