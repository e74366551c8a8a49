/* The in-process server entry points of ZORFPdriver, for clients that load the library
 * themselves (dlopen / LoadLibrary) and use the class objects directly. */
#ifndef ZORFP_SERVER_H_
#define ZORFP_SERVER_H_

#include "zorfp/automation.h"
#include "zorfp/zorfp.h"

#ifndef _WIN32 /* the system headers declare them on Windows */

/* The class object of one of the seven classes, through IClassFactory or IUnknown;
 * CLASS_E_CLASSNOTAVAILABLE (and a null object) for any other class identifier. */
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);
/* S_OK when no driver object is alive and no class object is referenced or locked; else S_FALSE. */
STDAPI DllCanUnloadNow(void);
/* Registers the type library and the seven classes (on Linux into a per-user registry file:
 * $ZORFP_REGISTRY, else $XDG_CONFIG_HOME/zorfp/registry.reg, else ~/.config/zorfp/registry.reg). */
STDAPI DllRegisterServer(void);
/* Removes what DllRegisterServer wrote. */
STDAPI DllUnregisterServer(void);

#endif

#endif /* ZORFP_SERVER_H_ */
