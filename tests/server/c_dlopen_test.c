/* A plain C client that loads libZORFPdriver.so at run time, as a component runtime would:
 * the four exports, class objects, reference counts, late-bound calls through IDispatch.
 * Usage: c_dlopen_test PATH-TO-LIBRARY */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <uchar.h>

#include "zorfp/automation.h"

static int passed, failed;
#define CHECK(cond)                                                  \
  do {                                                               \
    if (cond) {                                                      \
      ++passed;                                                      \
    } else {                                                         \
      ++failed;                                                      \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
    }                                                                \
  } while (0)

typedef HRESULT (*GetClassObjectFn)(REFCLSID, REFIID, void**);
typedef HRESULT (*PlainFn)(void);

static const CLSID kClsid0503 = {0x83F413D9, 0x5053, 0x4017, {0x9C, 0x09, 0xA6, 0x0C, 0xC2, 0xF9, 0x9F, 0x64}};
static const CLSID kClsidEP02 = {0xA351CA1F, 0x8C0C, 0x45AC, {0x9A, 0x0E, 0x25, 0xEA, 0x56, 0x47, 0x5C, 0xE4}};
static const CLSID kUnknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

static GetClassObjectFn get_class_object;

static IDispatch* Create(const CLSID* clsid) {
  IClassFactory* factory = NULL;
  if (get_class_object(clsid, &IID_IClassFactory, (void**)&factory) != S_OK) return NULL;
  IDispatch* object = NULL;
  HRESULT hr = factory->lpVtbl->CreateInstance(factory, NULL, &IID_IDispatch, (void**)&object);
  factory->lpVtbl->Release(factory);
  return hr == S_OK ? object : NULL;
}

static DISPID Id(IDispatch* d, const char16_t* name) {
  OLECHAR buffer[64];
  size_t n = 0;
  while (name[n] && n < 63) buffer[n] = name[n], ++n;
  buffer[n] = 0;
  LPOLESTR names[1] = {buffer};
  DISPID id = DISPID_UNKNOWN;
  d->lpVtbl->GetIDsOfNames(d, &IID_NULL, names, 1, 0, &id);
  return id;
}

/* Invokes with the arguments given in reading order. */
static HRESULT Call(IDispatch* d, const char16_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* result) {
  VARIANT reversed[8];
  for (UINT i = 0; i < count; ++i) reversed[count - 1 - i] = args[i];
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params = {reversed, flags == DISPATCH_PROPERTYPUT ? &put : NULL, count,
                       flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  if (result) VariantInit(result);
  return d->lpVtbl->Invoke(d, Id(d, name), &IID_NULL, 0, flags, &params, result, NULL, NULL);
}

static VARIANT Int(int32_t x) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = x;
  return v;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  /* POSIX guarantees a data pointer from dlsym converts to a function pointer; ISO C does not. */
  void* symbol = dlsym(lib, "DllGetClassObject");
  memcpy(&get_class_object, &symbol, sizeof symbol);
  PlainFn can_unload;
  symbol = dlsym(lib, "DllCanUnloadNow");
  memcpy(&can_unload, &symbol, sizeof symbol);
  CHECK(get_class_object != NULL);
  CHECK(can_unload != NULL);
  CHECK(dlsym(lib, "DllRegisterServer") != NULL);
  CHECK(dlsym(lib, "DllUnregisterServer") != NULL);
  CHECK(dlsym(lib, "_ZN5zorfp6DriverC1ERKNS_13VariantTraitsE") == NULL); /* internals stay hidden */
  if (!get_class_object || !can_unload) return 1;

  CHECK(can_unload() == S_OK);
  void* out = (void*)1;
  CHECK(get_class_object(&kUnknown, &IID_IClassFactory, &out) == CLASS_E_CLASSNOTAVAILABLE);
  CHECK(out == NULL);

  IClassFactory* factory = NULL;
  CHECK(get_class_object(&kClsid0503, &IID_IClassFactory, (void**)&factory) == S_OK);
  CHECK(can_unload() == S_FALSE);
  CHECK(factory->lpVtbl->Release(factory) >= 1); /* class objects live as long as the library */
  CHECK(can_unload() == S_OK);

  IDispatch* a = Create(&kClsid0503);
  IDispatch* b = Create(&kClsid0503);
  IDispatch* other = Create(&kClsidEP02);
  CHECK(a && b && other);
  if (!a || !b || !other) return 1;
  CHECK(can_unload() == S_FALSE);
  CHECK(a->lpVtbl->AddRef(a) == 2);
  CHECK(a->lpVtbl->Release(a) == 1);

  /* Lang is one per class. */
  VARIANT zero = Int(0), result;
  CHECK(Call(a, u"Lang", DISPATCH_PROPERTYPUT, &zero, 1, NULL) == S_OK);
  CHECK(Call(b, u"lang", DISPATCH_PROPERTYGET, NULL, 0, &result) == S_OK);
  CHECK(result.vt == VT_UI1 && result.bVal == 0);
  CHECK(Call(other, u"Lang", DISPATCH_PROPERTYGET, NULL, 0, &result) == S_OK);
  CHECK(result.vt == VT_UI1 && result.bVal == 1);

  /* A refused speed index: the call succeeds, the result is false and the text tells why. */
  VARIANT args[2] = {Int(3), Int(0)};
  CHECK(Call(other, u"FPChangeBaudRate", DISPATCH_METHOD, args, 1, &result) == S_OK);
  CHECK(result.vt == VT_BOOL && result.boolVal == VARIANT_FALSE);
  CHECK(Call(other, u"GetTextErrorMessage", DISPATCH_PROPERTYGET, NULL, 0, &result) == S_OK);
  const char16_t expected[] = u"Неверно задана скорость связи!";
  CHECK(result.vt == VT_BSTR && SysStringLen(result.bstrVal) == sizeof expected / 2 - 1 &&
        memcmp(result.bstrVal, expected, sizeof expected) == 0);
  VariantClear(&result);
  CHECK(Call(other, u"FPChangeBaudRate", DISPATCH_METHOD, args, 2, &result) == DISP_E_BADPARAMCOUNT);
  CHECK(Id(other, u"NoSuchMember") == DISPID_UNKNOWN);

  CHECK(a->lpVtbl->Release(a) == 0);
  CHECK(b->lpVtbl->Release(b) == 0);
  CHECK(can_unload() == S_FALSE);
  CHECK(other->lpVtbl->Release(other) == 0);
  CHECK(can_unload() == S_OK);

  dlclose(lib);
  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
