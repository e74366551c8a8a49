// Without a system type library there is no dual function table, no type information and no
// thread error object: the message of a failure reaches the client through EXCEPINFO alone.
#include "server/com_platform.h"

namespace zorfp::server {

IDispatchVtbl* DualTable(const ClassInfo&) {
  return nullptr;
}

bool IsDualTable(const IDispatchVtbl*) {
  return false;
}

const void* SupportErrorInfoTable() {
  return nullptr;
}

HRESULT QueryPlatformInterface(DriverObject&, REFIID, void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

UINT TypeInfoCount() {
  return 0;
}

HRESULT ClassTypeInfo(const ClassInfo&, ITypeInfo** out) {
  *out = nullptr;
  return E_NOTIMPL;
}

void SetErrorObject(const ClassInfo&, const EXCEPINFO&) {}

}  // namespace zorfp::server
