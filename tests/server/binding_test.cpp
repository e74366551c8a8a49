// Bindings are checked against the catalogue: the program's own must all fit, and a binding whose
// C++ types differ from every interface's signature is reported, not coerced.
#include "server/binding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "variants/traits.h"

namespace zorfp::server {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

// Stand-ins with the shapes under test; never called.
bool NoArgs(Driver&) {
  return true;
}
std::int32_t IntResult(Driver&) {
  return 0;
}
void NoResult(Driver&) {}
bool TakesWord(Driver&, std::uint16_t) {
  return true;
}
Byte ByteResult(Driver&) {
  return 0;
}
std::uint16_t WordResult(Driver&) {
  return 0;
}
std::int32_t IntFromQword(Driver&, std::uint64_t) {
  return 0;
}
AnsiString TextFromQword(Driver&, std::uint64_t) {
  return {};
}
void PutByte(Driver&, Byte) {}
void PutBool(Driver&, bool) {}
bool SaleNewer(Driver&, std::int32_t, Byte, bool, std::int32_t, std::int32_t, bool, const AnsiString&,
               std::uint64_t) {
  return true;
}
bool SaleNewerByteTax(Driver&, std::int32_t, Byte, bool, std::int32_t, Byte, bool, const AnsiString&,
                      std::uint64_t) {
  return true;
}

TEST(Bindings, EveryBindingOfTheProgramFitsTheCatalogue) {
  EXPECT_THAT(ValidateBindings(AllBindings()), IsEmpty());
}

TEST(Bindings, MismatchesAreReported) {
  const struct {
    const char* what;
    Binding binding;
    const char* fault;  // empty: fits
  } kCases[] = {
      {"bool method", Bind(&NoArgs, "FPClose"), ""},
      {"wrong result type", Bind(&IntResult, "FPClose"), "fits no interface's signature"},
      {"no such member", Bind(&NoArgs, "FPCloseAll"), "no interface has a member of this name"},
      {"name spelled in another case", Bind(&NoArgs, "fpclose"), "no interface has a member of this name"},
      {"wrong argument type", Bind(&TakesWord, "FPChangeBaudRate"),
       "FPChangeBaudRate(SpeedIndex byte) -> bool"},
      {"newer bool result serves an older method without one", Bind(&NoArgs, "FPLineFeed"), ""},
      {"void cannot serve a bool method", Bind(&NoResult, "FPNullCheck"), "fits no interface's signature"},
      {"byte holds every EErrorCode", Bind(&ByteResult, "GetByteResult"), ""},
      {"word holds every EStatusFlags", Bind(&WordResult, "GetByteStatus"), ""},
      {"an enumeration argument is int32_t", Bind(&SaleNewer, "FPSale"), ""},
      {"not a byte", Bind(&SaleNewerByteTax, "FPSale"), "fits no interface's signature"},
      {"indexed read", Bind(&IntFromQword, "GetArticlePrice"), ""},
      {"indexed read of the wrong type", Bind(&TextFromQword, "GetArticlePrice"),
       "fits no interface's signature"},
      {"write", BindPut(&PutByte, "Lang"), ""},
      {"write of the wrong type", BindPut(&PutBool, "Lang"), "fits no interface's signature"},
      {"write to a read-only property", BindPut(&PutBool, "GetCutterStatus"),
       "fits no interface's signature"},
      {"write-only property", BindPut(&PutBool, "DHHeadLine1"), ""},
      {"read of a write-only property", Bind(&NoArgs, "DHHeadLine1"), "fits no interface's signature"},
      {"a method is not a write", BindPut(&PutByte, "FPChangeRate"), "fits no interface's signature"},
  };
  for (const auto& c : kCases) {
    const std::vector<std::string> faults = ValidateBindings({&c.binding, 1});
    if (*c.fault == '\0') {
      EXPECT_THAT(faults, IsEmpty()) << c.what;
    } else {
      ASSERT_THAT(faults, SizeIs(1)) << c.what;
      EXPECT_THAT(faults[0], HasSubstr(c.fault)) << c.what;
    }
  }
}

TEST(Bindings, TwoBindingsForOneMemberAreReported) {
  const Binding twice[] = {Bind(&ByteResult, "GetByteResult"), Bind(&IntResult, "GetByteResult")};
  const std::vector<std::string> faults = ValidateBindings(twice);
  ASSERT_THAT(faults, SizeIs(5));  // the five newer interfaces, where both fit EErrorCode
  EXPECT_THAT(faults[0], HasSubstr("bound twice"));
}

const BoundMember& Bound(VariantId id, const char* name) {
  const InterfaceInfo& i = *Catalogue().Class(id).iface;
  return BoundMembers(i)[static_cast<std::size_t>(i.Find(name)->dispid) - 1];
}

TEST(Bindings, EachInterfaceGetsTheOverloadOfItsSignature) {
  const auto fn = [](const BoundMember& m) { return m.call ? CppSignature(*m.call) : std::string("none"); };
  EXPECT_EQ(fn(Bound(VariantId::k08_01, "FPInit")), "bool FPInit(Driver&, Byte, Byte, Byte)");
  EXPECT_EQ(fn(Bound(VariantId::kEP_01, "FPInit")), "bool FPInit(Driver&, Byte, uint32_t, Byte, Byte)");
  EXPECT_EQ(fn(Bound(VariantId::kEP_02, "FPChangeBaudRate")), "bool FPChangeBaudRate(Driver&, Byte)");
  EXPECT_EQ(fn(Bound(VariantId::k05_03, "FPChangeBaudRate")), "bool FPChangeBaudRate(Driver&, Byte, bool)");
  EXPECT_EQ(fn(Bound(VariantId::kEP_01, "GetByteResult")), "Byte GetByteResult(Driver&)");
  EXPECT_TRUE(Bound(VariantId::kEP_06, "Lang").complete());
}

TEST(Bindings, CoverageCountsMembersWithEveryAccessorBound) {
  const MemberInfo lang{"Lang", MemberKind::kGetPut, {}, {AutoType::kByte}, 1, "", ""};
  const MemberInfo close{"FPClose", MemberKind::kMethod, {}, {AutoType::kBool}, 2, "", ""};
  const MemberInfo sale{"FPSale", MemberKind::kMethod, {}, {AutoType::kBool}, 3, "", ""};
  const Binding get = Bind(&ByteResult, "Lang");
  const Binding put = BindPut(&PutByte, "Lang");
  const BoundMember half[] = {{&lang, &get, nullptr}, {&close, &get, nullptr}, {&sale}};
  const Coverage c = CoverageOf(half);
  EXPECT_EQ(c.members, 3u);
  EXPECT_EQ(c.built, 1u);
  EXPECT_EQ(c.partial, 1u);
  const BoundMember whole[] = {{&lang, &get, &put}};
  EXPECT_EQ(CoverageOf(whole).built, 1u);
  // The port, settings and call-result members of 08-01 are at least these ten.
  EXPECT_GE(CoverageOf(BoundMembers(*Catalogue().Class(VariantId::k08_01).iface)).built, 10u);
}

}  // namespace
}  // namespace zorfp::server
