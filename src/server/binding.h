// Binding member implementations to catalogue members by name.
//
// Each area lists its members in one src/server/bind/<area>.cpp:
//
//   const Bindings kPortBindings{
//       Bind<bool(Byte, std::uint32_t, Byte, Byte)>(&FPInit, "FPInit"),  // an overload: say which
//       Bind(&FPClose, "FPClose"),                                         // the types are deduced
//       Bind(&CashIn, {"FPInToCash", "FPAvans"}),                          // one function, two names
//       BindLocal(&GetByteResult, "GetByteResult"),                        // no printer traffic
//       BindPut(&PutLang, "Lang"),                                         // a property write
//   };
//
// A method and a property read are both `Bind` (`R Name(Driver&, args...)`, an indexed read takes
// its index as the arguments); a property write is `BindPut` (`void PutName(Driver&, value)`).
// Members bound with `Bind` talk to the printer, and the class's call prologue (Driver::BeginCall)
// runs before them; `BindLocal` and `BindPut` serve members that only read or write the driver's
// own state. Properties that return a field of a held or queried block have forms of their own
// (server/binding_forms.h). The C++ types are checked against the catalogue signature of every
// interface that has the name: a binding serves each interface whose signature it fits exactly,
// and ValidateBindings() reports a binding that fits none (a test runs it), so a wrong type is a
// failure, never a coercion.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "driver/driver.h"
#include "server/catalogue.h"
#include "server/value.h"

namespace zorfp::server {

// The C++ side of a signature. Fits() says which catalogue types each may serve.
enum class CppType : std::uint8_t { kVoid, kByte, kWord, kDword, kInt, kQword, kString, kBool, kDate };

template <typename T>
consteval CppType CppTypeOf() {
  using U = std::remove_cvref_t<T>;
  if constexpr (std::is_void_v<U>)
    return CppType::kVoid;
  else if constexpr (std::is_same_v<U, bool>)
    return CppType::kBool;
  else if constexpr (std::is_same_v<U, Byte>)
    return CppType::kByte;
  else if constexpr (std::is_same_v<U, std::uint16_t>)
    return CppType::kWord;
  else if constexpr (std::is_same_v<U, std::uint32_t>)
    return CppType::kDword;
  else if constexpr (std::is_same_v<U, std::int32_t>)
    return CppType::kInt;
  else if constexpr (std::is_same_v<U, std::uint64_t>)
    return CppType::kQword;
  else if constexpr (std::is_same_v<U, AnsiString>)
    return CppType::kString;
  else if constexpr (std::is_same_v<U, double>)
    return CppType::kDate;
  else
    static_assert(sizeof(U) == 0, "a member takes and returns only the catalogue's C++ types");
}

struct Binding;

// Runs one bound function: converts the arguments (in declaration order), runs the call prologue
// where the binding asks for it, calls, stores the result. On a conversion failure, `bad_arg` is
// the position of the argument that did not convert, and nothing is called.
using Thunk = HRESULT (*)(const Binding& b, Driver& d, std::span<const VARIANT* const> args,
                          const TypeRef& result_type, VARIANT* result, std::size_t& bad_arg);

struct Binding {
  enum class Role : std::uint8_t { kCall, kPut };
  const char* name;
  Role role;
  CppType result;
  std::span<const CppType> params;
  void (*fn)();  // the implementation, restored to its type by the thunk
  Thunk thunk;
  bool prologue = true;  // the member talks to the printer: Driver::BeginCall runs first
};

namespace detail {

template <typename R, typename... A>
struct Shape {
  static constexpr std::array<CppType, sizeof...(A)> kParams{CppTypeOf<A>()...};

  static HRESULT Run(const Binding& b, Driver& d, std::span<const VARIANT* const> args,
                     const TypeRef& result_type, VARIANT* result, std::size_t& bad_arg) {
    std::tuple<std::remove_cvref_t<A>...> values;
    HRESULT hr = S_OK;
    const auto convert = [&]<std::size_t I>() {
      if (FAILED(hr)) return;
      hr = ArgTo(*args[I], std::get<I>(values));
      if (FAILED(hr)) bad_arg = I;
    };
    [&]<std::size_t... I>(std::index_sequence<I...>) {
      (convert.template operator()<I>(), ...);
    }
    (std::index_sequence_for<A...>{});
    if (FAILED(hr)) return hr;
    if (b.prologue) d.BeginCall();
    const auto f = reinterpret_cast<R (*)(Driver&, A...)>(b.fn);
    if constexpr (std::is_void_v<R>) {
      std::apply([&](auto&... a) { f(d, a...); }, values);
      if (result) VariantInit(result);
    } else {
      R value = std::apply([&](auto&... a) { return f(d, a...); }, values);
      if (result && result_type.type == AutoType::kVoid) {
        VariantInit(result);  // an older interface's method: the success flag is dropped
      } else if (result) {
        if constexpr (std::is_same_v<R, bool> || std::is_same_v<R, std::int32_t> ||
                      std::is_same_v<R, double> || std::is_same_v<R, AnsiString>) {
          SetResult(*result, value, result_type);
        } else {
          SetResult(*result, static_cast<std::uint64_t>(value), result_type);
        }
      }
    }
    return S_OK;
  }
};

template <typename Sig>
struct Pointer;
template <typename R, typename... A>
struct Pointer<R(A...)> {
  using type = R (*)(Driver&, A...);
};

}  // namespace detail

// A method or property read; types deduced from an unambiguous function.
template <typename R, typename... A>
Binding Bind(R (*fn)(Driver&, A...), const char* name) {
  using S = detail::Shape<R, A...>;
  return {name, Binding::Role::kCall, CppTypeOf<R>(), S::kParams, reinterpret_cast<void (*)()>(fn), &S::Run};
}

// The same for one overload of several: Bind<bool(Byte, bool)>(&FPChangeBaudRate, "FPChangeBaudRate").
template <typename Sig>
Binding Bind(typename detail::Pointer<Sig>::type fn, const char* name) {
  return Bind(fn, name);
}

// A member that reads the driver's own state and never talks to the printer (settings, call
// results, held values): no call prologue, so the error text of the last call survives it.
template <typename R, typename... A>
Binding BindLocal(R (*fn)(Driver&, A...), const char* name) {
  Binding b = Bind(fn, name);
  b.prologue = false;
  return b;
}

// A property write: `void PutName(Driver&, [index...,] value)`. It stores; it never talks to the
// printer.
template <typename... A>
Binding BindPut(void (*fn)(Driver&, A...), const char* name) {
  Binding b = BindLocal(fn, name);
  b.role = Binding::Role::kPut;
  return b;
}

// One or several bindings: what a line of a binding list stands for.
struct BindingList {
  BindingList(Binding b) : items{b} {}  // NOLINT(google-explicit-constructor): a list's one line
  BindingList(std::vector<Binding> bs) : items(std::move(bs)) {}  // NOLINT(google-explicit-constructor)
  std::vector<Binding> items;
};

// One function under several names (a newer and an older name of one member).
template <typename R, typename... A>
std::vector<Binding> Bind(R (*fn)(Driver&, A...), std::initializer_list<const char*> names) {
  std::vector<Binding> out;
  for (const char* name : names) out.push_back(Bind(fn, name));
  return out;
}

template <typename Sig>
std::vector<Binding> Bind(typename detail::Pointer<Sig>::type fn, std::initializer_list<const char*> names) {
  return Bind(fn, names);
}

// A name that lives as long as the program, for bindings whose names are made from parts.
const char* KeepName(std::string name);

// Names of a numbered family: Family("Tax_", "ABCDE") gives Tax_A to Tax_E; Family("GetPasswordCashier",
// 1, 8) gives GetPasswordCashier1 to GetPasswordCashier8.
std::vector<const char*> Family(std::string_view stem, std::string_view letters);
std::vector<const char*> Family(std::string_view stem, int first, int last);

// Registers its bindings for the whole program when constructed (as a namespace-scope constant).
class Bindings {
 public:
  Bindings(std::initializer_list<BindingList> bindings);
};

// Everything registered so far.
std::span<const Binding> AllBindings();

// What a catalogue member is bound to; null where nothing is built yet.
struct BoundMember {
  const MemberInfo* info = nullptr;
  const Binding* call = nullptr;  // method or property read
  const Binding* put = nullptr;   // property write

  bool complete() const { return (!info->readable() || call) && (!info->writable() || put); }
};

// Whether a binding's C++ signature serves a catalogue member (role, argument and result types).
bool Fits(const Binding& b, const MemberInfo& m);

// One line per fault: a binding whose name no interface has, one that fits no interface's
// signature of that name, two bindings that fit the same member. Empty when all is well.
std::vector<std::string> ValidateBindings(std::span<const Binding> bindings);

// The interface's members with their bindings, in interface order (built once, after start-up).
std::span<const BoundMember> BoundMembers(const InterfaceInfo& iface);

std::string CppSignature(const Binding& b);

// How much of an interface is built: members with every accessor bound, members with some.
struct Coverage {
  std::size_t members = 0;
  std::size_t built = 0;
  std::size_t partial = 0;  // a read/write property with one accessor bound
};
Coverage CoverageOf(std::span<const BoundMember> members);

}  // namespace zorfp::server
