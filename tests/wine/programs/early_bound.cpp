// An early-bound client of ZORFPdriver.dll: it reads the registered type library, creates a
// ZOR_05_03 object by ProgID and calls it through the dual interface's function table (the header
// widl writes for the type library), against the simulator on the COM port it is given.
//
//   early_bound PORT UNBUILT_MEMBER
//
// UNBUILT_MEMBER names a method without arguments that the build does not implement yet ("-" for
// none): called through its function-table slot it must fail with its message in IErrorInfo.
#include <windows.h>
// After the system's headers, before zorfp_h.h: this file defines the library's identifiers.
#include <initguid.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "checks.h"
#include "zorfp_h.h"

namespace {

Checks checks;

std::wstring Text(BSTR s) {
  std::wstring out = s ? std::wstring(s, SysStringLen(s)) : std::wstring();
  SysFreeString(s);
  return out;
}

std::wstring Wide(const char* ascii) {
  return std::wstring(ascii, ascii + std::strlen(ascii));
}

// The function-table half of a dual interface is marked OLE-automation compatible.
bool IsOleAutomation(ITypeInfo* dispatch_info) {
  HREFTYPE ref = 0;
  ITypeInfo* info = nullptr;
  if (FAILED(dispatch_info->GetRefTypeOfImplType(-1, &ref)) ||
      FAILED(dispatch_info->GetRefTypeInfo(ref, &info))) {
    return false;
  }
  TYPEATTR* ta = nullptr;
  info->GetTypeAttr(&ta);
  const bool ole = ta->typekind == TKIND_INTERFACE && (ta->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
  info->ReleaseTypeAttr(ta);
  info->Release();
  return ole;
}

// The library: six enumerations, seven dual automation interfaces, seven creatable coclasses.
void CheckTypeLibrary() {
  ITypeLib* lib = nullptr;
  if (!checks.Check(SUCCEEDED(LoadRegTypeLib(LIBID_ZORFP, 1, 0, 0, &lib)), "the type library is registered"))
    return;
  BSTR name = nullptr, help = nullptr;
  lib->GetDocumentation(-1, &name, &help, nullptr, nullptr);
  checks.Check(Text(name) == L"ZORFP", "library name");
  checks.Check(Text(help) == L"ZORFP (Fiscal printer driver) ", "library help string");
  TLIBATTR* attr = nullptr;
  lib->GetLibAttr(&attr);
  checks.Check(attr->wMajorVerNum == 1 && attr->wMinorVerNum == 0 && attr->lcid == 0,
               "version 1.0, locale 0");
  lib->ReleaseTLibAttr(attr);

  int enums = 0, duals = 0, coclasses = 0;
  bool coclass_help = true;
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    ITypeInfo* info = nullptr;
    lib->GetTypeInfo(i, &info);
    TYPEATTR* ta = nullptr;
    info->GetTypeAttr(&ta);
    BSTR type_name = nullptr, type_help = nullptr;
    info->GetDocumentation(MEMBERID_NIL, &type_name, &type_help, nullptr, nullptr);
    const std::wstring n = Text(type_name), h = Text(type_help);
    if (ta->typekind == TKIND_ENUM) ++enums;
    if (ta->typekind == TKIND_DISPATCH && (ta->wTypeFlags & TYPEFLAG_FDUAL) && IsOleAutomation(info)) {
      ++duals;
      if (n == L"IZOR_EP_01")
        checks.Check((ta->wTypeFlags & TYPEFLAG_FREPLACEABLE) != 0, "IZOR_EP_01 is replaceable");
    }
    if (ta->typekind == TKIND_COCLASS) {
      ++coclasses;
      coclass_help = coclass_help && h == n + L" Object" && (ta->wTypeFlags & TYPEFLAG_FCANCREATE);
    }
    info->ReleaseTypeAttr(ta);
    info->Release();
  }
  checks.Check(enums == 6, "six enumerations", std::to_string(enums));
  checks.Check(duals == 7, "seven dual automation interfaces", std::to_string(duals));
  checks.Check(coclasses == 7 && coclass_help, "seven creatable coclasses with their help strings");
  lib->Release();
}

// The interface half of the dual interface: the function-table slots the server fills, IDispatch's
// seven first; a property's read and write share one identifier.
void CheckLayout(ITypeInfo* dispatch_info) {
  HREFTYPE ref = 0;
  ITypeInfo* info = nullptr;
  if (!checks.Check(SUCCEEDED(dispatch_info->GetRefTypeOfImplType(-1, &ref)) &&
                        SUCCEEDED(dispatch_info->GetRefTypeInfo(ref, &info)),
                    "the dual interface has its function table")) {
    return;
  }
  TYPEATTR* ta = nullptr;
  info->GetTypeAttr(&ta);
  bool slots_in_order = true, ids_shared = true;
  MEMBERID last_id = 0;
  INVOKEKIND last_kind = INVOKE_FUNC;
  for (UINT i = 0; i < ta->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    info->GetFuncDesc(i, &f);
    slots_in_order = slots_in_order && f->oVft == static_cast<SHORT>((7 + i) * sizeof(void*));
    if (f->invkind == INVOKE_PROPERTYPUT && last_kind == INVOKE_PROPERTYGET)
      ids_shared = ids_shared && f->memid == last_id;
    last_id = f->memid;
    last_kind = f->invkind;
    info->ReleaseFuncDesc(f);
  }
  checks.Check(ta->cbSizeVft == (7 + ta->cFuncs) * sizeof(void*) && slots_in_order,
               "function-table slots in order", std::to_string(ta->cFuncs) + " slots");
  checks.Check(ids_shared, "a property's read and write share their identifier");
  info->ReleaseTypeAttr(ta);
  info->Release();
}

// Calls a method without arguments through its slot in the function table, as found in the type info.
void CheckFailureThroughSlot(IZOR_05_03* fp, ITypeInfo* dispatch_info, const char* member) {
  HREFTYPE ref = 0;
  ITypeInfo* info = nullptr;
  dispatch_info->GetRefTypeOfImplType(-1, &ref);
  dispatch_info->GetRefTypeInfo(ref, &info);
  std::wstring name = Wide(member);
  LPOLESTR names[] = {name.data()};
  MEMBERID id = 0;
  if (!checks.Check(SUCCEEDED(info->GetIDsOfNames(names, 1, &id)), "slot of " + std::string(member))) return;
  TYPEATTR* ta = nullptr;
  info->GetTypeAttr(&ta);
  SHORT slot = -1;
  for (UINT i = 0; i < ta->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    info->GetFuncDesc(i, &f);
    if (f->memid == id && f->invkind == INVOKE_FUNC && f->cParams == 1) slot = f->oVft;
    info->ReleaseFuncDesc(f);
  }
  info->ReleaseTypeAttr(ta);
  info->Release();
  if (!checks.Check(slot > 0, std::string(member) + " is a method with its result only")) return;

  using Method = HRESULT(STDMETHODCALLTYPE*)(IZOR_05_03*, VARIANT_BOOL*);
  void** table = *reinterpret_cast<void***>(fp);
  VARIANT_BOOL res = VARIANT_TRUE;
  SetErrorInfo(0, nullptr);
  const HRESULT hr = reinterpret_cast<Method>(table[slot / sizeof(void*)])(fp, &res);
  checks.Check(hr == E_NOTIMPL && res == VARIANT_FALSE, std::string(member) + " fails through its slot",
               Hex(hr));
  IErrorInfo* error = nullptr;
  BSTR description = nullptr;
  if (GetErrorInfo(0, &error) == S_OK) {
    error->GetDescription(&description);
    error->Release();
  }
  const std::wstring text = Text(description);
  checks.Check(text == name + L" is not implemented in this build", "its message comes through IErrorInfo",
               Narrow(text.c_str()));
}

void CheckObject(BYTE port, const char* unbuilt) {
  CLSID clsid{};
  checks.Check(SUCCEEDED(CLSIDFromProgID(L"ZORFP.ZOR_05_03", &clsid)) && IsEqualGUID(clsid, CLSID_ZOR_05_03),
               "ProgID ZORFP.ZOR_05_03 names its class");
  IZOR_05_03* fp = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ZOR_05_03, nullptr, CLSCTX_INPROC_SERVER, IID_IZOR_05_03,
                                reinterpret_cast<void**>(&fp));
  if (!checks.Check(SUCCEEDED(hr) && fp, "created through its dual interface", Hex(hr))) return;

  IDispatch* dispatch = nullptr;
  fp->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  checks.Check(static_cast<void*>(dispatch) == static_cast<void*>(fp),
               "IDispatch is the dual interface itself");
  ITypeInfo* type_info = nullptr;
  BSTR type_name = nullptr;
  if (dispatch && SUCCEEDED(dispatch->GetTypeInfo(0, 0, &type_info)))
    type_info->GetDocumentation(MEMBERID_NIL, &type_name, nullptr, nullptr, nullptr);
  checks.Check(Text(type_name) == L"IZOR_05_03", "GetTypeInfo describes IZOR_05_03");
  ISupportErrorInfo* support = nullptr;
  fp->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support));
  checks.Check(support && support->InterfaceSupportsErrorInfo(IID_IZOR_05_03) == S_OK,
               "ISupportErrorInfo for IZOR_05_03");
  if (support) support->Release();
  if (type_info) CheckLayout(type_info);

  BYTE lang = 9;
  fp->put_Lang(0);
  fp->get_Lang(&lang);
  checks.Check(lang == 0, "Lang is written and read through put_Lang and get_Lang");

  VARIANT_BOOL res = VARIANT_FALSE;
  fp->FPInit(port, 9600, 1, 1, &res);
  checks.Check(res == VARIANT_TRUE, "FPInit opens COM" + std::to_string(port));
  BSTR serial = nullptr;
  fp->get_GetSerialNumber(&serial);
  const std::wstring serial_text = Text(serial);
  checks.Check(!serial_text.empty(), "the printer's serial number", Narrow(serial_text.c_str()));

  fp->put_Lang(1);
  fp->FPChangeBaudRate(3, VARIANT_FALSE, &res);
  EErrorCode code = eecNoError;
  fp->get_GetByteResult(&code);
  BSTR message = nullptr;
  fp->get_GetTextErrorMessage(&message);
  const std::wstring message_text = Text(message);
  checks.Check(res == VARIANT_FALSE && code == 111 && message_text == L"Неверно задана скорость связи!",
               "a refused argument: code 111 and its Russian text", Narrow(message_text.c_str()));

  // A receipt: two pieces of one item with a 64-bit article code, paid in cash.
  BSTR name = SysAllocString(L"Молоко");
  fp->FPSale(2, 0, VARIANT_FALSE, 1250, etgTax_A, VARIANT_FALSE, name, 4820000000017ull, &res);
  SysFreeString(name);
  LONG total = 0;
  fp->get_GetCheckTotal(&total);
  checks.Check(res == VARIANT_TRUE && total == 2500, "FPSale registers the item",
               "total " + std::to_string(total));
  fp->FPPayment(eptCashPayment, static_cast<ULONG>(total), VARIANT_TRUE, VARIANT_TRUE, &res);
  fp->get_GetByteResult(&code);
  checks.Check(res == VARIANT_TRUE, "FPPayment closes the receipt", "code " + std::to_string(code));

  if (std::strcmp(unbuilt, "-") != 0 && type_info) CheckFailureThroughSlot(fp, type_info, unbuilt);

  // What one early-bound call costs: a property read through the slot, no printer traffic.
  const int calls = 100000;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) fp->get_Lang(&lang);
  const double us =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / calls;
  std::printf("early-bound call: %.2f us\n", us);

  fp->FPClose(&res);
  checks.Check(res == VARIANT_TRUE, "FPClose");
  if (type_info) type_info->Release();
  if (dispatch) dispatch->Release();
  checks.Check(fp->Release() == 0, "the last release frees the object");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: early_bound PORT UNBUILT_MEMBER\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  CheckTypeLibrary();
  CheckObject(static_cast<BYTE>(std::atoi(argv[1])), argv[2]);
  CoUninitialize();
  return checks.Finish();
}
