// The library's entry points, exported by name; nothing else of the server is visible outside
// (ZORFPdriver.map on Linux, ZORFPdriver.def on Windows).
#include "server/com_object.h"
#include "server/registration.h"
#include "zorfp/server.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  try {
    return zorfp::server::GetClassObject(rclsid, riid, ppv);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

STDAPI DllCanUnloadNow(void) {
  return zorfp::server::CanUnloadNow();
}

STDAPI DllRegisterServer(void) {
  return zorfp::server::RegisterServer();
}

STDAPI DllUnregisterServer(void) {
  return zorfp::server::UnregisterServer();
}
