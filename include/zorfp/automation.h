/* The automation types a client of ZORFPdriver needs: GUID, HRESULT, BSTR, VARIANT, DISPPARAMS,
 * EXCEPINFO and the IUnknown, IClassFactory and IDispatch function tables.
 *
 * On Windows they are the system's own. Elsewhere this header defines them with the same layout
 * and calling shape, so that a C or C++ client written against COM compiles and runs unchanged:
 * BSTR is length-prefixed UTF-16 (16-bit units, not wchar_t), VARIANT is 16 bytes on 32-bit and
 * 24 bytes on 64-bit targets, interfaces are structs whose first member points to a function table.
 * The BSTR and VARIANT helpers below are inline (malloc/free based), so a client and the library
 * allocate and free strings the same way without further exports. */
#ifndef ZORFP_AUTOMATION_H_
#define ZORFP_AUTOMATION_H_

#ifdef _WIN32
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>
#else

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
#define ZORFP_INLINE inline
extern "C" {
#else
#define ZORFP_INLINE static inline
#endif

#define STDMETHODCALLTYPE
#define STDAPICALLTYPE
#ifdef __cplusplus
#define EXTERN_C extern "C"
#else
#define EXTERN_C extern
#endif
/* A library entry point: exported, as the platform's own entry points are. */
#define STDAPI EXTERN_C __attribute__((visibility("default"))) HRESULT STDAPICALLTYPE

typedef int32_t HRESULT;
typedef int32_t SCODE;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t UINT;
typedef int32_t INT;
typedef int32_t BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t LCID;
typedef int32_t DISPID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef double DATE;
#ifdef __cplusplus
typedef char16_t OLECHAR;
#else
typedef uint16_t OLECHAR;
#endif
typedef OLECHAR* BSTR;
/* Currency: a 64-bit integer scaled by 10000. */
typedef union tagCY {
  int64_t int64;
} CY;
typedef OLECHAR* LPOLESTR;

typedef struct _GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
#ifdef __cplusplus
#define REFGUID const GUID&
#define REFIID const IID&
#define REFCLSID const CLSID&
#else
#define REFGUID const GUID*
#define REFIID const IID*
#define REFCLSID const CLSID*
#endif

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111L)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001L)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007L)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000AL)
#define DISP_E_BADINDEX ((HRESULT)0x8002000BL)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000FL)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISPID_UNKNOWN ((DISPID)-1)
#define DISPID_VALUE ((DISPID)0)
#define DISPID_PROPERTYPUT ((DISPID)-3)

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0fff
};

typedef struct IUnknown IUnknown;
typedef struct IDispatch IDispatch;
typedef struct IClassFactory IClassFactory;
typedef struct ITypeInfo ITypeInfo; /* not offered on this platform: GetTypeInfo fails */

typedef struct tagVARIANT VARIANT;
struct tagVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    int64_t llVal;
    int32_t lVal;
    uint8_t bVal;
    int16_t iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    char cVal;
    uint16_t uiVal;
    uint32_t ulVal;
    uint64_t ullVal;
    INT intVal;
    UINT uintVal;
    uint8_t* pbVal;
    int16_t* piVal;
    int32_t* plVal;
    int64_t* pllVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    DATE* pdate;
    CY* pcyVal;
    BSTR* pbstrVal;
    VARIANT* pvarVal;
    char* pcVal;
    uint16_t* puiVal;
    uint32_t* pulVal;
    uint64_t* pullVal;
    INT* pintVal;
    UINT* puintVal;
    void* byref;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
};
typedef VARIANT VARIANTARG;

typedef struct tagDISPPARAMS {
  VARIANTARG* rgvarg; /* arguments in reverse order: the last one first */
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct tagEXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(struct tagEXCEPINFO*);
  SCODE scode;
} EXCEPINFO;

typedef struct IUnknownVtbl {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IUnknown* This, REFIID riid, void** ppvObject);
  ULONG(STDMETHODCALLTYPE* AddRef)(IUnknown* This);
  ULONG(STDMETHODCALLTYPE* Release)(IUnknown* This);
} IUnknownVtbl;
struct IUnknown {
  const IUnknownVtbl* lpVtbl;
};

typedef struct IClassFactoryVtbl {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IClassFactory* This, REFIID riid, void** ppvObject);
  ULONG(STDMETHODCALLTYPE* AddRef)(IClassFactory* This);
  ULONG(STDMETHODCALLTYPE* Release)(IClassFactory* This);
  HRESULT(STDMETHODCALLTYPE* CreateInstance)(IClassFactory* This, IUnknown* pUnkOuter, REFIID riid,
                                             void** ppvObject);
  HRESULT(STDMETHODCALLTYPE* LockServer)(IClassFactory* This, BOOL fLock);
} IClassFactoryVtbl;
struct IClassFactory {
  const IClassFactoryVtbl* lpVtbl;
};

typedef struct IDispatchVtbl {
  HRESULT(STDMETHODCALLTYPE* QueryInterface)(IDispatch* This, REFIID riid, void** ppvObject);
  ULONG(STDMETHODCALLTYPE* AddRef)(IDispatch* This);
  ULONG(STDMETHODCALLTYPE* Release)(IDispatch* This);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfoCount)(IDispatch* This, UINT* pctinfo);
  HRESULT(STDMETHODCALLTYPE* GetTypeInfo)(IDispatch* This, UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo);
  HRESULT(STDMETHODCALLTYPE* GetIDsOfNames)(IDispatch* This, REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                            LCID lcid, DISPID* rgDispId);
  HRESULT(STDMETHODCALLTYPE* Invoke)(IDispatch* This, DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                     DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                     UINT* puArgErr);
} IDispatchVtbl;
struct IDispatch {
  const IDispatchVtbl* lpVtbl;
};

#if defined(__GNUC__) && !defined(__cplusplus)
#define ZORFP_MAYBE_UNUSED __attribute__((unused))
#else
#define ZORFP_MAYBE_UNUSED
#endif
/* {00000000-0000-0000-C000-000000000046}, {00000001-...}, {00020400-...} */
static const IID ZORFP_MAYBE_UNUSED IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID ZORFP_MAYBE_UNUSED IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID ZORFP_MAYBE_UNUSED IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
static const IID ZORFP_MAYBE_UNUSED IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

#ifdef __cplusplus
inline int IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(&a, &b, sizeof(GUID)) == 0; }
#else
static inline int IsEqualGUID(REFGUID a, REFGUID b) { return memcmp(a, b, sizeof(GUID)) == 0; }
#endif

/* BSTR: a 32-bit byte count, then the UTF-16 units, then a 16-bit zero; the pointer is to the units. */
ZORFP_INLINE BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  char* block = (char*)malloc(sizeof(uint32_t) + (size_t)length * sizeof(OLECHAR) + sizeof(OLECHAR));
  if (!block) return NULL;
  uint32_t bytes = length * (uint32_t)sizeof(OLECHAR);
  memcpy(block, &bytes, sizeof bytes);
  BSTR units = (BSTR)(block + sizeof(uint32_t));
  if (text) memcpy(units, text, (size_t)length * sizeof(OLECHAR));
  else memset(units, 0, (size_t)length * sizeof(OLECHAR));
  units[length] = 0;
  return units;
}
ZORFP_INLINE BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return NULL;
  UINT length = 0;
  while (text[length]) ++length;
  return SysAllocStringLen(text, length);
}
ZORFP_INLINE UINT SysStringByteLen(BSTR text) {
  uint32_t bytes = 0;
  if (text) memcpy(&bytes, (const char*)text - sizeof(uint32_t), sizeof bytes);
  return bytes;
}
ZORFP_INLINE UINT SysStringLen(BSTR text) { return SysStringByteLen(text) / (UINT)sizeof(OLECHAR); }
ZORFP_INLINE void SysFreeString(BSTR text) {
  if (text) free((char*)text - sizeof(uint32_t));
}

ZORFP_INLINE void VariantInit(VARIANT* v) {
  memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}
/* Frees what the VARIANT owns (a string, an interface reference) and leaves it empty. */
ZORFP_INLINE HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_INVALIDARG;
  if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
  if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal) v->punkVal->lpVtbl->Release(v->punkVal);
  VariantInit(v);
  return S_OK;
}

#ifdef __cplusplus
} /* extern "C" */
inline bool operator==(const GUID& a, const GUID& b) { return IsEqualGUID(a, b) != 0; }
#endif

#endif /* _WIN32 */
#endif /* ZORFP_AUTOMATION_H_ */
