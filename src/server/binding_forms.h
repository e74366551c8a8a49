// Binding forms for the shapes that repeat: properties that return one field of a block the class
// holds or that a query reads afresh, families of such properties over an array, and option bits.
// Each is one line of a binding list (src/server/bind/<area>.cpp):
//
//   HeldField<&HeldStatus, &StatusBlock::DayOpened>("DayOpened"),
//   QueryField<&ReadStatus, &StatusBlock::DayOpened>({"GetSmenaOpened", "GetSmenaStatus"}),
//   QueryField<&ReadDayTotals, &DayTotals::SaleReceipts, 65535>("GetSaleCheckNumber"),
//   QueryFields<&ReadDayTotals, &DayTotals::SaleGroups>(Family("GetTurnSaleTax_", "ABCDEF")),
//   HeldFields<&HeldDayReport, &DayTotals::SaleGroups, AsLow32>(Family("GetDayTurnTaxSale_", "ABCDEF")),
//   HeldSettings<&HeldTaxes, &TaxValues::Tax, std::int32_t>(Family("Tax_", "ABCDE")),
//   HeldBits<&HeldFlags, &OptionFlags::Group1, 0, 2, 3>("Flag1_"),
//
// A source is a function of the driver (and of a property's index arguments): `Block& (Driver&)`
// for a block the class holds, `std::optional<Block> (Driver&, ...)` for a query, which is empty
// when the query failed (the call state then says why). A field is a data member of the block or
// a projection `R (Driver&, const Block&)` for a value computed from it. What the client receives
// is the field seen through a view: `AsClient` (the default: texts through ClientTextOut, money
// registers as decimal text, the rest as they stand) or `AsLow32` (a register's low 32 bits as an
// int); a failed query gives `Fallback` (0, false or empty unless said).
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "commands/wire.h"
#include "errors/encodings.h"
#include "server/binding.h"

namespace zorfp::server {

// The client's view of a value the driver holds.
inline AnsiString ToClient(const Driver& d, const AnsiString& text) {
  return ClientTextOut(text, d.module().settings.CP866);
}
inline AnsiString ToClient(const Driver& d, Money money) {
  return ToClient(d, std::to_string(money.value));
}
// A signed register wider than the interface's int: shown cut to 32 bits, as the client's type
// requires (a total above 2^31 - 1 wraps).
inline std::int32_t ToClient(const Driver&, std::int64_t value) {
  return static_cast<std::int32_t>(value);
}
template <typename T>
  requires(std::is_arithmetic_v<T> && !std::is_same_v<T, std::int64_t>)
T ToClient(const Driver&, T value) {
  return value;
}

// How the client sees a field.
struct AsClient {
  template <typename T>
  static auto Of(const Driver& d, const T& value) {
    return ToClient(d, value);
  }
};
struct AsLow32 {
  static std::int32_t Of(const Driver&, Money money) { return money.Low32(); }
};

namespace detail {

template <typename M>
struct MemberOf;
template <typename B, typename F>
struct MemberOf<F B::*> {
  using Block = B;
  using Field = F;
};

// The value of `Field` of `block` as the client receives it.
template <auto Field, typename View, typename Block>
auto Project(Driver& d, const Block& block) {
  if constexpr (std::is_member_object_pointer_v<decltype(Field)>) {
    return View::Of(d, block.*Field);
  } else {
    return Field(d, block);
  }
}

template <typename R, auto Fallback>
R FallbackValue() {
  if constexpr (std::is_same_v<R, AnsiString>) {
    return R();
  } else {
    return static_cast<R>(Fallback);
  }
}

// Element I of an array member, as a projection.
template <auto Array, std::size_t I, typename View>
struct Element {
  using Block = typename MemberOf<decltype(Array)>::Block;
  static auto Get(Driver& d, const Block& block) { return View::Of(d, (block.*Array)[I]); }
};

template <auto Source, auto Field, auto Fallback, typename View, typename Sig = decltype(Source)>
struct FieldRead;

// A query: the field of a fresh answer, or the fallback.
template <auto Source, auto Field, auto Fallback, typename View, typename Block, typename... A>
struct FieldRead<Source, Field, Fallback, View, std::optional<Block> (*)(Driver&, A...)> {
  using R = decltype(Project<Field, View>(std::declval<Driver&>(), std::declval<const Block&>()));
  static R Get(Driver& d, A... args) {
    const std::optional<Block> block = Source(d, args...);
    return block ? Project<Field, View>(d, *block) : FallbackValue<R, Fallback>();
  }
};

// A held block: the field as it was kept.
template <auto Source, auto Field, auto Fallback, typename View, typename Block, typename... A>
struct FieldRead<Source, Field, Fallback, View, Block& (*)(Driver&, A...)> {
  using R = decltype(Project<Field, View>(std::declval<Driver&>(), std::declval<const Block&>()));
  static R Get(Driver& d, A... args) { return Project<Field, View>(d, Source(d, args...)); }
};

inline std::vector<Binding> Named(Binding b, std::initializer_list<const char*> names) {
  std::vector<Binding> out;
  for (const char* name : names) {
    b.name = name;
    out.push_back(b);
  }
  return out;
}

// One binding per element of `Array`, named in order; fewer names than elements leave the rest
// unbound.
template <template <auto> typename Make, auto Array, typename View>
std::vector<Binding> PerElement(const std::vector<const char*>& names) {
  using Field = typename MemberOf<decltype(Array)>::Field;
  constexpr std::size_t kCount = std::extent_v<Field>;
  if (names.size() > kCount) throw std::logic_error("more names than elements");
  std::vector<Binding> out;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((I < names.size() ? out.push_back(Make<&Element<Array, I, View>::Get>::Make(names[I])) : void()), ...);
  }(std::make_index_sequence<kCount>{});
  return out;
}

// Element projections are complete views already.
struct AsProjected {};

template <auto Source, auto Fallback>
struct QueryMaker {
  template <auto Field>
  struct Of {
    static Binding Make(const char* name) {
      return Bind(&FieldRead<Source, Field, Fallback, AsProjected>::Get, name);
    }
  };
};
template <auto Source>
struct HeldMaker {
  template <auto Field>
  struct Of {
    static Binding Make(const char* name) {
      return BindLocal(&FieldRead<Source, Field, 0, AsProjected>::Get, name);
    }
  };
};

// A read-write property over a field the class holds, as the client type `Client`.
template <auto Source, auto Field, typename Client>
struct Setting {
  static Client Get(Driver& d) { return static_cast<Client>(Source(d).*Field); }
  static void Put(Driver& d, Client value) {
    using F = typename MemberOf<decltype(Field)>::Field;
    Source(d).*Field = static_cast<F>(value);
  }
};
template <auto Source, auto Array, std::size_t I, typename Client>
struct ElementSetting {
  static Client Get(Driver& d) { return static_cast<Client>((Source(d).*Array)[I]); }
  static void Put(Driver& d, Client value) {
    using F = std::remove_extent_t<typename MemberOf<decltype(Array)>::Field>;
    (Source(d).*Array)[I] = static_cast<F>(value);
  }
};

template <auto Source, auto Word, unsigned Bit>
struct BitSetting {
  static bool Get(Driver& d) { return ((Source(d).*Word >> Bit) & 1u) != 0; }
  static void Put(Driver& d, bool value) {
    auto& word = Source(d).*Word;
    using W = std::remove_reference_t<decltype(word)>;
    word = value ? static_cast<W>(word | (W{1} << Bit)) : static_cast<W>(word & ~(W{1} << Bit));
  }
};

}  // namespace detail

// A property that sends its query on every read and returns one field of the answer.
template <auto Source, auto Field, auto Fallback = 0, typename View = AsClient>
std::vector<Binding> QueryField(std::initializer_list<const char*> names) {
  return detail::Named(Bind(&detail::FieldRead<Source, Field, Fallback, View>::Get, ""), names);
}
template <auto Source, auto Field, auto Fallback = 0, typename View = AsClient>
Binding QueryField(const char* name) {
  return Bind(&detail::FieldRead<Source, Field, Fallback, View>::Get, name);
}

// Properties over the elements of an array field of a query's answer, one name each, in order.
template <auto Source, auto Array, auto Fallback = 0, typename View = AsClient>
std::vector<Binding> QueryFields(const std::vector<const char*>& names) {
  return detail::PerElement<detail::QueryMaker<Source, Fallback>::template Of, Array, View>(names);
}

// A property that returns one field of a block the class holds; no printer traffic.
template <auto Source, auto Field, typename View = AsClient>
std::vector<Binding> HeldField(std::initializer_list<const char*> names) {
  return detail::Named(BindLocal(&detail::FieldRead<Source, Field, 0, View>::Get, ""), names);
}
template <auto Source, auto Field, typename View = AsClient>
Binding HeldField(const char* name) {
  return BindLocal(&detail::FieldRead<Source, Field, 0, View>::Get, name);
}

// Properties over the elements of an array the class holds.
template <auto Source, auto Array, typename View = AsClient>
std::vector<Binding> HeldFields(const std::vector<const char*>& names) {
  return detail::PerElement<detail::HeldMaker<Source>::template Of, Array, View>(names);
}

// A read-write property over a field the class holds, seen by the client as `Client` (a wider
// client value keeps what the field can hold, as a cast does).
template <auto Source, auto Field, typename Client = typename detail::MemberOf<decltype(Field)>::Field>
std::vector<Binding> HeldSetting(const char* name) {
  using S = detail::Setting<Source, Field, Client>;
  return {BindLocal(&S::Get, name), BindPut(&S::Put, name)};
}

// The same over each element of an array field, one name each, in order.
template <auto Source, auto Array, typename Client>
std::vector<Binding> HeldSettings(const std::vector<const char*>& names) {
  using Field = typename detail::MemberOf<decltype(Array)>::Field;
  constexpr std::size_t kCount = std::extent_v<Field>;
  if (names.size() > kCount) throw std::logic_error("more names than elements");
  std::vector<Binding> out;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((I < names.size() ? (out.push_back(BindLocal(&detail::ElementSetting<Source, Array, I, Client>::Get,
                                                  names[I])),
                          out.push_back(BindPut(&detail::ElementSetting<Source, Array, I, Client>::Put,
                                                names[I])))
                       : void()),
     ...);
  }(std::make_index_sequence<kCount>{});
  return out;
}

// Read-write bool properties over single bits of a held word, named `stem` + the bit number.
template <auto Source, auto Word, unsigned... Bits>
std::vector<Binding> HeldBits(std::string_view stem) {
  std::vector<Binding> out;
  ((out.push_back(BindLocal(&detail::BitSetting<Source, Word, Bits>::Get,
                            KeepName(std::string(stem) + std::to_string(Bits)))),
    out.push_back(BindPut(&detail::BitSetting<Source, Word, Bits>::Put, out.back().name))),
   ...);
  return out;
}

}  // namespace zorfp::server
