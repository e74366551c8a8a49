// The interface catalogue as the running library sees it: the tables generated from
// catalogue/zorfp.catalogue (gen/zorfp_gen.py), read by dispatch, registration and the tools.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "driver/variant_traits.h"
#include "errors/codepage.h"
#include "zorfp/automation.h"

namespace zorfp::server {

// The automation types of the signatures. Every enumeration is one 32-bit type (kEnum) with its
// own value list.
enum class AutoType : std::uint8_t {
  kVoid,
  kByte,
  kWord,
  kDword,
  kInt,
  kQword,
  kString,
  kBool,
  kDate,
  kEnum
};

struct EnumValue {
  const char* name;
  std::int32_t value;
};

struct EnumInfo {
  const char* name;
  std::span<const EnumValue> values;
};

struct TypeRef {
  AutoType type = AutoType::kVoid;
  const EnumInfo* enumeration = nullptr;  // set for kEnum only
};

struct ParamInfo {
  const char* name;
  TypeRef type;
};

// A read/write property is one member with one identifier for both accessors.
enum class MemberKind : std::uint8_t { kMethod, kGet, kPut, kGetPut };

struct MemberInfo {
  const char* name;
  MemberKind kind;
  std::span<const ParamInfo> params;  // a property's index parameters
  TypeRef type;                       // a method's result (kVoid: none), a property's type
  DISPID dispid;                      // position in the interface, from 1
  const char* area;
  const char* doc;

  bool readable() const { return kind != MemberKind::kPut; }
  bool writable() const { return kind == MemberKind::kPut || kind == MemberKind::kGetPut; }
};

struct InterfaceInfo {
  const char* name;
  GUID iid;
  const char* help;
  std::span<const MemberInfo> members;

  const MemberInfo* Find(std::string_view name) const;  // case-insensitive
  const MemberInfo* Member(DISPID dispid) const;
};

struct ClassInfo {
  const char* coclass;  // "ZOR_05_03"
  GUID clsid;
  const char* help;  // "ZOR_05_03 Object"
  const InterfaceInfo* iface;
  const char* tag;  // "05-03"
  VariantId variant;
};

struct LibraryInfo {
  const char* name;
  GUID libid;
  std::uint16_t major;
  std::uint16_t minor;
  const char* help;
  std::span<const EnumInfo> enums;
  std::span<const InterfaceInfo> interfaces;
  std::span<const ClassInfo> classes;  // in the catalogue's order; the server's order is ClassOrder()

  const ClassInfo& Class(VariantId id) const;
  // By coclass name, ProgID ("ZORFP.ZOR_05_03"), driver class or tag, case-insensitive.
  const ClassInfo* FindClass(std::string_view name) const;
  const ClassInfo* FindClass(const GUID& clsid) const;
};

// Generated.
const LibraryInfo& Catalogue();

// "byte", "ETaxGroup"...: as the catalogue writes the type.
std::string_view TypeName(const TypeRef& type);
// "FPInit(PortNumber byte, BaudRate dword, ...) -> bool", "Lang: byte (read/write)".
std::string Signature(const MemberInfo& member);
// "{D3ED6F85-6413-466D-B761-172455D91B79}"
std::string GuidText(const GUID& guid);


}  // namespace zorfp::server
