#include "server/binding.h"

#include <algorithm>
#include <deque>
#include <map>
#include <mutex>

namespace zorfp::server {
namespace {

std::vector<Binding>& Registry() {
  static std::vector<Binding> registry;
  return registry;
}

// Largest and smallest value of an enumeration: a result held in a narrower unsigned type is
// accepted when every value fits it.
bool EnumFitsUnsigned(const EnumInfo& e, std::uint64_t max) {
  return std::all_of(e.values.begin(), e.values.end(), [&](const EnumValue& v) {
    return v.value >= 0 && static_cast<std::uint64_t>(v.value) <= max;
  });
}

bool TypeFits(CppType cpp, const TypeRef& t, bool is_result) {
  switch (cpp) {
    case CppType::kVoid:
      return t.type == AutoType::kVoid;
    case CppType::kByte:
      return t.type == AutoType::kByte ||
             (is_result && t.type == AutoType::kEnum && EnumFitsUnsigned(*t.enumeration, 0xFF));
    case CppType::kWord:
      return t.type == AutoType::kWord ||
             (is_result && t.type == AutoType::kEnum && EnumFitsUnsigned(*t.enumeration, 0xFFFF));
    case CppType::kDword:
      return t.type == AutoType::kDword;
    case CppType::kInt:
      return t.type == AutoType::kInt || t.type == AutoType::kEnum;
    case CppType::kQword:
      return t.type == AutoType::kQword;
    case CppType::kString:
      return t.type == AutoType::kString;
    // A method of the older family returns nothing where the newer one returns its success: one
    // implementation serves both, the older interface drops the result.
    case CppType::kBool:
      return t.type == AutoType::kBool || (is_result && t.type == AutoType::kVoid);
    case CppType::kDate:
      return t.type == AutoType::kDate;
  }
  return false;
}

bool ParamsFit(std::span<const CppType> cpp, std::span<const ParamInfo> params) {
  if (cpp.size() != params.size()) return false;
  for (std::size_t i = 0; i < cpp.size(); ++i) {
    if (!TypeFits(cpp[i], params[i].type, false)) return false;
  }
  return true;
}

std::string_view CppTypeName(CppType t) {
  switch (t) {
    case CppType::kVoid:
      return "void";
    case CppType::kByte:
      return "Byte";
    case CppType::kWord:
      return "uint16_t";
    case CppType::kDword:
      return "uint32_t";
    case CppType::kInt:
      return "int32_t";
    case CppType::kQword:
      return "uint64_t";
    case CppType::kString:
      return "AnsiString";
    case CppType::kBool:
      return "bool";
    case CppType::kDate:
      return "double";
  }
  return "?";
}

}  // namespace

Bindings::Bindings(std::initializer_list<BindingList> bindings) {
  for (const BindingList& list : bindings) Registry().insert(Registry().end(), list.items.begin(), list.items.end());
}

const char* KeepName(std::string name) {
  static std::deque<std::string> names;  // a deque never moves what it holds
  static std::mutex mutex;
  const std::lock_guard lock(mutex);
  return names.emplace_back(std::move(name)).c_str();
}

std::vector<const char*> Family(std::string_view stem, std::string_view letters) {
  std::vector<const char*> out;
  for (char letter : letters) out.push_back(KeepName(std::string(stem) + letter));
  return out;
}

std::vector<const char*> Family(std::string_view stem, int first, int last) {
  std::vector<const char*> out;
  for (int i = first; i <= last; ++i) out.push_back(KeepName(std::string(stem) + std::to_string(i)));
  return out;
}

std::span<const Binding> AllBindings() {
  return Registry();
}

bool Fits(const Binding& b, const MemberInfo& m) {
  if (b.role == Binding::Role::kCall) {
    if (!m.readable()) return false;
    // A property read must produce its value; only a method may return nothing.
    if (m.kind != MemberKind::kMethod && b.result == CppType::kVoid) return false;
    if (m.kind != MemberKind::kMethod && m.type.type == AutoType::kVoid) return false;
    return ParamsFit(b.params, m.params) && TypeFits(b.result, m.type, true);
  }
  if (!m.writable() || b.result != CppType::kVoid || b.params.size() != m.params.size() + 1) return false;
  return ParamsFit(b.params.first(m.params.size()), m.params) && TypeFits(b.params.back(), m.type, false);
}

std::string CppSignature(const Binding& b) {
  std::string s = std::string(CppTypeName(b.result)) + " " + (b.role == Binding::Role::kPut ? "Put" : "") +
                  b.name + "(Driver&";
  for (CppType p : b.params) s += ", " + std::string(CppTypeName(p));
  return s + ")";
}

std::vector<std::string> ValidateBindings(std::span<const Binding> bindings) {
  std::vector<std::string> faults;
  const LibraryInfo& lib = Catalogue();
  for (const Binding& b : bindings) {
    bool named = false;
    bool fits = false;
    std::string signatures;
    for (const InterfaceInfo& i : lib.interfaces) {
      for (const MemberInfo& m : i.members) {
        if (std::string_view(m.name) != b.name) continue;  // bindings spell names as the catalogue does
        named = true;
        if (Fits(b, m)) {
          fits = true;
        } else if (signatures.find(Signature(m)) == std::string::npos) {
          signatures += "\n    " + Signature(m) + " (" + i.name + ")";
        }
      }
    }
    if (!named) {
      faults.push_back(CppSignature(b) + ": no interface has a member of this name");
    } else if (!fits) {
      faults.push_back(CppSignature(b) + ": fits no interface's signature; the catalogue has:" + signatures);
    }
  }
  for (const InterfaceInfo& i : lib.interfaces) {
    for (const MemberInfo& m : i.members) {
      for (Binding::Role role : {Binding::Role::kCall, Binding::Role::kPut}) {
        std::vector<const Binding*> fitting;
        for (const Binding& b : bindings) {
          if (b.role == role && std::string_view(m.name) == b.name && Fits(b, m)) fitting.push_back(&b);
        }
        if (fitting.size() > 1) {
          faults.push_back(std::string(i.name) + "." + m.name + ": bound twice, by " +
                           CppSignature(*fitting[0]) + " and " + CppSignature(*fitting[1]));
        }
      }
    }
  }
  return faults;
}

std::span<const BoundMember> BoundMembers(const InterfaceInfo& iface) {
  // Built on first use, when every binding file's constant has registered.
  static const std::map<const InterfaceInfo*, std::vector<BoundMember>> tables = [] {
    std::map<const InterfaceInfo*, std::vector<BoundMember>> t;
    for (const InterfaceInfo& i : Catalogue().interfaces) {
      std::vector<BoundMember>& members = t[&i];
      for (const MemberInfo& m : i.members) {
        BoundMember bound{&m};
        for (const Binding& b : AllBindings()) {
          if (std::string_view(m.name) != b.name || !Fits(b, m)) continue;
          (b.role == Binding::Role::kCall ? bound.call : bound.put) = &b;
        }
        members.push_back(bound);
      }
    }
    return t;
  }();
  return tables.at(&iface);
}

Coverage CoverageOf(std::span<const BoundMember> members) {
  Coverage c;
  for (const BoundMember& m : members) {
    ++c.members;
    if (m.complete()) {
      ++c.built;
    } else if (m.call || m.put) {
      ++c.partial;
    }
  }
  return c;
}

}  // namespace zorfp::server
