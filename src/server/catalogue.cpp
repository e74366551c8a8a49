#include "server/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "variants/traits.h"

namespace zorfp::server {

const MemberInfo* InterfaceInfo::Find(std::string_view member_name) const {
  for (const MemberInfo& m : members) {
    if (EqualsNoCase(m.name, member_name)) return &m;
  }
  return nullptr;
}

const MemberInfo* InterfaceInfo::Member(DISPID dispid) const {
  if (dispid < 1 || static_cast<std::size_t>(dispid) > members.size()) return nullptr;
  return &members[static_cast<std::size_t>(dispid) - 1];
}

const ClassInfo& LibraryInfo::Class(VariantId id) const {
  for (const ClassInfo& c : classes) {
    if (c.variant == id) return c;
  }
  std::abort();  // the generator emits all seven
}

const ClassInfo* LibraryInfo::FindClass(std::string_view class_name) const {
  const std::string prefix = std::string(name) + ".";
  if (class_name.size() > prefix.size() && EqualsNoCase(class_name.substr(0, prefix.size()), prefix)) {
    class_name.remove_prefix(prefix.size());
  }
  const std::optional<VariantId> id = FindVariant(class_name);
  return id ? &Class(*id) : nullptr;
}

const ClassInfo* LibraryInfo::FindClass(const GUID& clsid) const {
  for (const ClassInfo& c : classes) {
    if (c.clsid == clsid) return &c;
  }
  return nullptr;
}

std::string_view TypeName(const TypeRef& type) {
  switch (type.type) {
    case AutoType::kVoid:
      return "void";
    case AutoType::kByte:
      return "byte";
    case AutoType::kWord:
      return "word";
    case AutoType::kDword:
      return "dword";
    case AutoType::kInt:
      return "int";
    case AutoType::kQword:
      return "qword";
    case AutoType::kString:
      return "string";
    case AutoType::kBool:
      return "bool";
    case AutoType::kDate:
      return "date";
    case AutoType::kEnum:
      return type.enumeration->name;
  }
  return "?";
}

std::string Signature(const MemberInfo& m) {
  std::string params;
  for (const ParamInfo& p : m.params) {
    if (!params.empty()) params += ", ";
    params += std::string(p.name) + " " + std::string(TypeName(p.type));
  }
  if (m.kind == MemberKind::kMethod) {
    std::string s = std::string(m.name) + "(" + params + ")";
    if (m.type.type != AutoType::kVoid) s += " -> " + std::string(TypeName(m.type));
    return s;
  }
  std::string s = m.name;
  if (!m.params.empty()) s += "[" + params + "]";
  s += ": " + std::string(TypeName(m.type));
  switch (m.kind) {
    case MemberKind::kGet:
      return s + " (read)";
    case MemberKind::kPut:
      return s + " (write)";
    default:
      return s + " (read/write)";
  }
}

std::string GuidText(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return text;
}

}  // namespace zorfp::server
