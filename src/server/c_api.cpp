// The flat C API over the driver objects' IDispatch: what an automation client does (name to
// identifier, Invoke with VARIANT arguments), with UTF-8 strings and status codes instead.
#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "server/com_object.h"
#include "server/dispatch.h"
#include "server/value.h"
#include "zorfp/zorfp.h"

struct zorfp_object {
  IDispatch* dispatch;
  std::string class_name;
  zorfp::VariantId variant;
  std::string string_result;  // holds a string result until the next call
};

namespace {

using zorfp::server::BstrToUtf8;
using zorfp::server::FailureText;
using zorfp::server::Utf8ToBstr;

thread_local std::string g_last_error;

zorfp_status Failed(zorfp_status status, std::string text) {
  g_last_error = std::move(text);
  return status;
}

zorfp_status StatusOf(HRESULT hr) {
  switch (hr) {
    case S_OK:
      return ZORFP_OK;
    case DISP_E_UNKNOWNNAME:
      return ZORFP_E_UNKNOWN_NAME;
    case DISP_E_MEMBERNOTFOUND:
      return ZORFP_E_MEMBER_NOT_FOUND;
    case DISP_E_BADPARAMCOUNT:
    case DISP_E_PARAMNOTFOUND:
      return ZORFP_E_BAD_PARAM_COUNT;
    case DISP_E_TYPEMISMATCH:
      return ZORFP_E_TYPE_MISMATCH;
    case DISP_E_OVERFLOW:
      return ZORFP_E_OVERFLOW;
    case DISP_E_EXCEPTION:
      return ZORFP_E_EXCEPTION;
    case E_OUTOFMEMORY:
      return ZORFP_E_OUT_OF_MEMORY;
    default:
      return ZORFP_E_FAILED;
  }
}

// Arguments become VARIANTs as a script would pass them; the member's own conversion does the rest.
bool ToVariant(const zorfp_value& value, VARIANT& v) {
  VariantInit(&v);
  switch (value.kind) {
    case ZORFP_EMPTY:
      return true;
    case ZORFP_INT:
      v.vt = VT_I8, v.llVal = value.as.i;
      return true;
    case ZORFP_UINT:
      v.vt = VT_UI8, v.ullVal = value.as.u;
      return true;
    case ZORFP_BOOL:
      v.vt = VT_BOOL, v.boolVal = value.as.b ? VARIANT_TRUE : VARIANT_FALSE;
      return true;
    case ZORFP_DATE:
      v.vt = VT_DATE, v.date = value.as.date;
      return true;
    case ZORFP_STRING:
      if (!value.as.s) return false;
      v.vt = VT_BSTR;
      v.bstrVal = Utf8ToBstr(value.as.s);
      if (!v.bstrVal) throw std::bad_alloc();
      return true;
  }
  return false;
}

void FromVariant(const VARIANT& v, zorfp_object& object, zorfp_value& out) {
  out = zorfp_value{};
  switch (v.vt) {
    case VT_UI1:
      out.kind = ZORFP_UINT, out.as.u = v.bVal;
      break;
    case VT_UI2:
      out.kind = ZORFP_UINT, out.as.u = v.uiVal;
      break;
    case VT_UI4:
      out.kind = ZORFP_UINT, out.as.u = v.ulVal;
      break;
    case VT_UI8:
      out.kind = ZORFP_UINT, out.as.u = v.ullVal;
      break;
    case VT_I4:
      out.kind = ZORFP_INT, out.as.i = v.lVal;
      break;
    case VT_BOOL:
      out.kind = ZORFP_BOOL, out.as.b = v.boolVal != VARIANT_FALSE;
      break;
    case VT_DATE:
      out.kind = ZORFP_DATE, out.as.date = v.date;
      break;
    case VT_BSTR:
      object.string_result = BstrToUtf8(v.bstrVal);
      out.kind = ZORFP_STRING, out.as.s = object.string_result.c_str();
      break;
    default:
      break;
  }
}

zorfp_status Invoke(zorfp_object* object, const char* member, WORD flags, const zorfp_value* args,
                    size_t count, zorfp_value* result) {
  if (!object || !member || (count && !args)) return Failed(ZORFP_E_INVALID_ARGUMENT, "Invalid argument.");
  IDispatch* d = object->dispatch;
  BSTR name = Utf8ToBstr(member);
  DISPID id = DISPID_UNKNOWN;
  const HRESULT found = d->lpVtbl->GetIDsOfNames(d, IID_NULL, &name, 1, 0, &id);
  SysFreeString(name);
  if (FAILED(found)) {
    return Failed(StatusOf(found), std::string(member) + ": unknown name in " + object->class_name + ".");
  }

  std::vector<VARIANT> vars(count);  // last argument first
  struct Clear {
    std::vector<VARIANT>& v;
    ~Clear() {
      for (VARIANT& x : v) VariantClear(&x);
    }
  } clear{vars};
  for (size_t i = 0; i < count; ++i) {
    if (!ToVariant(args[i], vars[count - 1 - i])) {
      return Failed(ZORFP_E_INVALID_ARGUMENT,
                    std::string(member) + ": argument " + std::to_string(i + 1) + " has no value.");
    }
  }
  DISPID put_id = DISPID_PROPERTYPUT;
  const bool put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS params{vars.data(), put ? &put_id : nullptr, static_cast<UINT>(count), put ? 1u : 0u};
  VARIANT out;
  VariantInit(&out);
  EXCEPINFO excep{};
  UINT arg_err = 0;
  const HRESULT hr = d->lpVtbl->Invoke(d, id, IID_NULL, 0, flags, &params, &out, &excep, &arg_err);
  std::string description = BstrToUtf8(excep.bstrDescription);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrHelpFile);
  if (FAILED(hr)) {
    VariantClear(&out);
    zorfp_status status = StatusOf(hr);
    if (hr == DISP_E_EXCEPTION && excep.scode == E_NOTIMPL) status = ZORFP_E_NOT_IMPLEMENTED;
    std::string text = std::string(member) + ": ";
    if (hr == DISP_E_EXCEPTION) {
      text = description.empty() ? text + FailureText(hr) : description;
    } else {
      text += FailureText(hr);
      if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW) {
        text += " (argument " + std::to_string(count - arg_err) + ")";
      }
    }
    return Failed(status, text);
  }
  if (result) FromVariant(out, *object, *result);
  VariantClear(&out);
  g_last_error.clear();
  return ZORFP_OK;
}

// The signatures as text, made once per class for the life of the library.
const std::vector<std::string>& Signatures(zorfp::VariantId id) {
  static std::vector<std::string> all[zorfp::kVariantCount];
  static std::once_flag once[zorfp::kVariantCount];
  const auto i = static_cast<std::size_t>(id);
  std::call_once(once[i], [&] {
    for (const zorfp::server::BoundMember& m : zorfp::server::Dispatcher::For(id).members()) {
      all[i].push_back(zorfp::server::Signature(*m.info));
    }
  });
  return all[i];
}

}  // namespace

extern "C" {

ZORFP_API zorfp_status zorfp_create(const char* class_name, zorfp_object** out) {
  try {
    if (!out) return Failed(ZORFP_E_INVALID_ARGUMENT, "Invalid argument.");
    *out = nullptr;
    if (!class_name) return Failed(ZORFP_E_INVALID_ARGUMENT, "Invalid argument.");
    const zorfp::server::ClassInfo* cls = zorfp::server::Catalogue().FindClass(class_name);
    if (!cls) return Failed(ZORFP_E_UNKNOWN_CLASS, std::string("No class named ") + class_name + ".");
    IClassFactory* factory = nullptr;
    HRESULT hr =
        zorfp::server::GetClassObject(cls->clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return Failed(StatusOf(hr), FailureText(hr));
    IDispatch* dispatch = nullptr;
    hr =
        factory->lpVtbl->CreateInstance(factory, nullptr, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    factory->lpVtbl->Release(factory);
    if (FAILED(hr)) return Failed(StatusOf(hr), FailureText(hr));
    *out = new zorfp_object{dispatch, cls->coclass, cls->variant, {}};
    g_last_error.clear();
    return ZORFP_OK;
  } catch (const std::bad_alloc&) {
    return Failed(ZORFP_E_OUT_OF_MEMORY, "Not enough memory.");
  } catch (const std::exception& e) {
    return Failed(ZORFP_E_FAILED, e.what());
  }
}

ZORFP_API void zorfp_release(zorfp_object* object) {
  if (!object) return;
  object->dispatch->lpVtbl->Release(object->dispatch);
  delete object;
}

ZORFP_API const char* zorfp_class_name(const zorfp_object* object) {
  return object ? object->class_name.c_str() : "";
}

ZORFP_API zorfp_status zorfp_call(zorfp_object* object, const char* member, const zorfp_value* args,
                                  size_t count, zorfp_value* result) {
  try {
    if (result) *result = zorfp_value{};
    return Invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, count, result);
  } catch (const std::bad_alloc&) {
    return Failed(ZORFP_E_OUT_OF_MEMORY, "Not enough memory.");
  } catch (const std::exception& e) {
    return Failed(ZORFP_E_FAILED, e.what());
  }
}

ZORFP_API zorfp_status zorfp_set(zorfp_object* object, const char* property, const zorfp_value* value) {
  try {
    if (!value) return Failed(ZORFP_E_INVALID_ARGUMENT, "Invalid argument.");
    return Invoke(object, property, DISPATCH_PROPERTYPUT, value, 1, nullptr);
  } catch (const std::bad_alloc&) {
    return Failed(ZORFP_E_OUT_OF_MEMORY, "Not enough memory.");
  } catch (const std::exception& e) {
    return Failed(ZORFP_E_FAILED, e.what());
  }
}

ZORFP_API const char* zorfp_version(void) {
  return ZORFP_VERSION_TEXT;
}

ZORFP_API size_t zorfp_member_count(const zorfp_object* object) {
  return object ? zorfp::server::Dispatcher::For(object->variant).members().size() : 0;
}

ZORFP_API zorfp_status zorfp_member_at(const zorfp_object* object, size_t index, zorfp_member_info* out) {
  try {
    if (!object || !out) return Failed(ZORFP_E_INVALID_ARGUMENT, "Invalid argument.");
    const auto members = zorfp::server::Dispatcher::For(object->variant).members();
    if (index >= members.size()) return Failed(ZORFP_E_INVALID_ARGUMENT, "No member at that index.");
    const zorfp::server::BoundMember& m = members[index];
    *out = zorfp_member_info{};
    out->name = m.info->name;
    out->signature = Signatures(object->variant)[index].c_str();
    out->doc = m.info->doc ? m.info->doc : "";
    out->readable = m.info->readable();
    out->writable = m.info->writable();
    out->is_method = m.info->kind == zorfp::server::MemberKind::kMethod;
    out->param_count = m.info->params.size();
    out->built = m.complete();
    g_last_error.clear();
    return ZORFP_OK;
  } catch (const std::bad_alloc&) {
    return Failed(ZORFP_E_OUT_OF_MEMORY, "Not enough memory.");
  }
}

ZORFP_API const char* zorfp_last_error(void) {
  return g_last_error.c_str();
}

ZORFP_API const char* zorfp_status_text(zorfp_status status) {
  switch (status) {
    case ZORFP_OK:
      return "ok";
    case ZORFP_E_INVALID_ARGUMENT:
      return "invalid argument";
    case ZORFP_E_UNKNOWN_CLASS:
      return "unknown class";
    case ZORFP_E_UNKNOWN_NAME:
      return "unknown name";
    case ZORFP_E_MEMBER_NOT_FOUND:
      return "member not found";
    case ZORFP_E_BAD_PARAM_COUNT:
      return "wrong number of arguments";
    case ZORFP_E_TYPE_MISMATCH:
      return "type mismatch";
    case ZORFP_E_OVERFLOW:
      return "overflow";
    case ZORFP_E_NOT_IMPLEMENTED:
      return "not implemented";
    case ZORFP_E_EXCEPTION:
      return "exception";
    case ZORFP_E_OUT_OF_MEMORY:
      return "out of memory";
    case ZORFP_E_FAILED:
      return "failed";
  }
  return "unknown status";
}

}  // extern "C"
