#include "server/dispatch.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <exception>
#include <new>
#include <vector>

#include "errors/codepage.h"
#include "server/value.h"
#include "variants/traits.h"

namespace zorfp::server {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string ProgId(const ClassInfo& cls) {
  return std::string(Catalogue().name) + "." + cls.coclass;
}

HRESULT Fail(EXCEPINFO* excep, const ClassInfo& cls, const std::u16string& description, SCODE scode) {
  if (excep) {
    *excep = EXCEPINFO{};
    excep->bstrSource = Utf8ToBstr(ProgId(cls));
    excep->bstrDescription = AllocBstr(description);
    excep->scode = scode;
  }
  return DISP_E_EXCEPTION;
}

}  // namespace

Dispatcher::Dispatcher(const ClassInfo& cls) : Dispatcher(cls, BoundMembers(*cls.iface)) {}

Dispatcher::Dispatcher(const ClassInfo& cls, std::span<const BoundMember> members)
    : cls_(cls), members_(members) {
  for (const BoundMember& m : members_) ids_.emplace(Lower(m.info->name), m.info->dispid);
}

const Dispatcher& Dispatcher::For(VariantId id) {
  static const std::array<Dispatcher, kVariantCount> dispatchers = [] {
    const LibraryInfo& lib = Catalogue();
    return std::array<Dispatcher, kVariantCount>{
        Dispatcher(lib.Class(VariantId::k08_01)), Dispatcher(lib.Class(VariantId::kEP_01)),
        Dispatcher(lib.Class(VariantId::kEP_02)), Dispatcher(lib.Class(VariantId::kEP_05)),
        Dispatcher(lib.Class(VariantId::k05_02)), Dispatcher(lib.Class(VariantId::kEP_06)),
        Dispatcher(lib.Class(VariantId::k05_03))};
  }();
  return dispatchers[Index(id)];
}

const BoundMember* Dispatcher::Member(DISPID id) const {
  if (id < 1 || static_cast<std::size_t>(id) > members_.size()) return nullptr;
  return &members_[static_cast<std::size_t>(id) - 1];
}

std::optional<DISPID> Dispatcher::Find(std::string_view name) const {
  const auto it = ids_.find(Lower(name));
  if (it == ids_.end()) return std::nullopt;
  return it->second;
}

HRESULT Dispatcher::GetIDsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const {
  if (!names || !ids) return E_POINTER;
  if (count == 0) return S_OK;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const std::optional<DISPID> id = Find(OleStrToUtf8(names[0]));
  if (!id) return DISP_E_UNKNOWNNAME;
  ids[0] = *id;
  const MemberInfo& m = *Member(*id)->info;
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    const std::string name = OleStrToUtf8(names[i]);
    for (std::size_t p = 0; p < m.params.size(); ++p) {
      if (EqualsNoCase(m.params[p].name, name)) ids[i] = static_cast<DISPID>(p);
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT Dispatcher::Invoke(Driver& d, DISPID id, WORD flags, const DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excep, UINT* arg_err) const {
  static const DISPPARAMS kNoParams{};
  if (!params) params = &kNoParams;
  if (params->cNamedArgs > params->cArgs || (params->cArgs && !params->rgvarg) ||
      (params->cNamedArgs && !params->rgdispidNamedArgs)) {
    return E_INVALIDARG;
  }
  const BoundMember* bound = Member(id);
  if (!bound) return DISP_E_MEMBERNOTFOUND;
  const MemberInfo& m = *bound->info;

  // Which accessor the flags ask for: a method answers DISPATCH_METHOD, a property read
  // DISPATCH_PROPERTYGET, a property write DISPATCH_PROPERTYPUT.
  const bool put = (flags & DISPATCH_PROPERTYPUT) && m.writable();
  const bool call = !put && (m.kind == MemberKind::kMethod ? (flags & DISPATCH_METHOD) != 0
                                                           : (flags & DISPATCH_PROPERTYGET) && m.readable());
  if (!put && !call) return DISP_E_MEMBERNOTFOUND;

  // Arguments in declaration order (rgvarg holds them last first). A write takes its value as the
  // named argument DISPID_PROPERTYPUT, or as the last argument from a client that does not name it.
  const std::size_t arity = m.params.size() + (put ? 1 : 0);
  std::vector<const VARIANT*> args(arity, nullptr);
  std::vector<UINT> source(arity, 0);  // index in rgvarg, for arg_err
  const UINT named = params->cNamedArgs;
  const UINT positional = params->cArgs - named;
  for (UINT j = 0; j < named; ++j) {
    const DISPID name = params->rgdispidNamedArgs[j];
    std::size_t slot;
    if (name == DISPID_PROPERTYPUT && put) {
      slot = arity - 1;
    } else if (name >= 0 && static_cast<std::size_t>(name) < m.params.size()) {
      slot = static_cast<std::size_t>(name);
    } else {
      return DISP_E_PARAMNOTFOUND;
    }
    if (args[slot]) return DISP_E_PARAMNOTFOUND;
    args[slot] = &params->rgvarg[j];
    source[slot] = j;
  }
  UINT leading = positional;  // positional arguments, declaration order from rgvarg[cArgs - 1] down
  if (put && !args[arity - 1] && leading > 0) {
    --leading;
    args[arity - 1] = &params->rgvarg[named];
    source[arity - 1] = named;
  }
  if (leading > m.params.size()) return DISP_E_BADPARAMCOUNT;
  for (UINT i = 0; i < leading; ++i) {
    if (args[i]) return DISP_E_BADPARAMCOUNT;
    args[i] = &params->rgvarg[params->cArgs - 1 - i];
    source[i] = params->cArgs - 1 - i;
  }
  for (const VARIANT* a : args) {
    if (!a) return DISP_E_BADPARAMCOUNT;
  }

  // An enumeration argument may name its enumerator.
  std::vector<VARIANT> named_values;
  named_values.reserve(arity);
  for (std::size_t i = 0; i < arity; ++i) {
    const TypeRef& type = i < m.params.size() ? m.params[i].type : m.type;
    if (type.type != AutoType::kEnum) continue;
    if (const std::optional<std::int32_t> value = EnumeratorNamed(*type.enumeration, *args[i])) {
      VARIANT& v = named_values.emplace_back();
      VariantInit(&v);
      v.vt = VT_I4;
      v.lVal = *value;
      args[i] = &v;
    }
  }

  const Binding* binding = put ? bound->put : bound->call;
  if (!binding) {
    return Fail(excep, cls_, AnsiToUtf16(std::string(m.name) + " is not implemented in this build"),
                E_NOTIMPL);
  }
  if (result) VariantInit(result);
  std::size_t bad_arg = 0;
  const auto serialised = d.module().LockCalls();
  try {
    const HRESULT hr = binding->thunk(*binding, d, args, m.type, put ? nullptr : result, bad_arg);
    if (FAILED(hr) && arg_err) *arg_err = source[bad_arg];
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    // A member's own exception text is driver text, in the driver's code page.
    return Fail(excep, cls_, AnsiToUtf16(e.what()), E_FAIL);
  } catch (...) {
    return Fail(excep, cls_, u"Unexpected failure", E_FAIL);
  }
}

std::string FailureText(HRESULT hr) {
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
      return "Unknown name.";
    case DISP_E_MEMBERNOTFOUND:
      return "Member not found.";
    case DISP_E_BADPARAMCOUNT:
      return "Invalid number of parameters.";
    case DISP_E_TYPEMISMATCH:
      return "Type mismatch.";
    case DISP_E_OVERFLOW:
      return "Out of present range.";
    case DISP_E_PARAMNOTFOUND:
      return "Parameter not found.";
    case DISP_E_NONAMEDARGS:
      return "Does not support named arguments.";
    case DISP_E_EXCEPTION:
      return "Exception occurred.";
    case E_NOTIMPL:
      return "Not implemented.";
    case E_OUTOFMEMORY:
      return "Not enough memory.";
    case E_INVALIDARG:
      return "Invalid argument.";
    case E_POINTER:
      return "Invalid pointer.";
    case CLASS_E_CLASSNOTAVAILABLE:
      return "Class not available.";
    default: {
      char text[24];
      std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
      return text;
    }
  }
}

}  // namespace zorfp::server
