// Late binding for one class: names to dispatch identifiers (case-insensitive, one identifier per
// member, shared by a property's read and write), and Invoke with the automation rules for
// access flags, argument count, named arguments and argument conversion.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "driver/driver.h"
#include "server/binding.h"
#include "server/catalogue.h"
#include "zorfp/automation.h"

namespace zorfp::server {

class Dispatcher {
 public:
  explicit Dispatcher(const ClassInfo& cls);
  // Over members bound some other way (tests).
  Dispatcher(const ClassInfo& cls, std::span<const BoundMember> members);

  // One per class, built on first use.
  static const Dispatcher& For(VariantId id);

  const ClassInfo& cls() const { return cls_; }
  std::span<const BoundMember> members() const { return members_; }
  const BoundMember* Member(DISPID id) const;

  std::optional<DISPID> Find(std::string_view name) const;

  // The first name is the member, any further names its parameters (identified by position, from 0).
  HRESULT GetIDsOfNames(const LPOLESTR* names, UINT count, DISPID* ids) const;

  // A failure inside the member (an exception) or a member not built yet is DISP_E_EXCEPTION with
  // `excep` filled in; argument faults set `arg_err` to the argument's index in `params->rgvarg`.
  HRESULT Invoke(Driver& d, DISPID id, WORD flags, const DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* arg_err) const;

 private:
  const ClassInfo& cls_;
  std::span<const BoundMember> members_;
  std::unordered_map<std::string, DISPID> ids_;  // lower-case name
};

// The system's text for an automation failure ("Type mismatch."), or the code in hex.
std::string FailureText(HRESULT hr);

}  // namespace zorfp::server
