// The library's entry points, exported by name; nothing else of the server is visible outside.
#include "server/com_object.h"
#include "server/registration.h"
#include "zorfp/server.h"

extern "C" {

ZORFP_API HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  try {
    return zorfp::server::GetClassObject(rclsid, riid, ppv);
  } catch (...) {
    return E_UNEXPECTED;
  }
}

ZORFP_API HRESULT DllCanUnloadNow(void) {
  return zorfp::server::CanUnloadNow();
}

ZORFP_API HRESULT DllRegisterServer(void) {
  return zorfp::server::RegisterServer();
}

ZORFP_API HRESULT DllUnregisterServer(void) {
  return zorfp::server::UnregisterServer();
}

}  // extern "C"
