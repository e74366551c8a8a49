// The binding forms: held and queried fields, families over arrays, settings, option bits and
// several names for one function. Each is run the way the dispatcher runs it, through its thunk.
#include "server/binding_forms.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "driver/members.h"
#include "errors/codepage.h"
#include "variants/traits.h"

namespace zorfp::server {
namespace {

using ::testing::ElementsAre;

struct Block {
  bool Flag = false;
  AnsiString Name;
  Money Sums[3];
  std::uint16_t Rate = 0;
  std::uint16_t Rates[2] = {};
  std::uint32_t Bits = 0;
};

Block held;
std::optional<Block> answer;
int queries = 0;
std::uint64_t last_index = 0;

Block& HeldBlock(Driver&) {
  return held;
}
std::optional<Block> QueryBlock(Driver&) {
  ++queries;
  return answer;
}
std::optional<Block> QueryBlockAt(Driver&, std::uint64_t index) {
  last_index = index;
  return answer;
}
std::int32_t SumOfSums(Driver&, const Block& b) {
  return static_cast<std::int32_t>(b.Sums[0].value + b.Sums[1].value + b.Sums[2].value);
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModuleForTesting();
    held = Block{};
    answer.reset();
    queries = 0;
  }
  void TearDown() override { ResetModuleForTesting(); }

  // Runs a read through its thunk, as the dispatcher does, and hands back the VARIANT.
  VARIANT Read(const Binding& b, AutoType type, std::vector<VARIANT> args = {}) {
    std::vector<const VARIANT*> pointers;
    for (const VARIANT& a : args) pointers.push_back(&a);
    VARIANT result;
    VariantInit(&result);
    std::size_t bad = 0;
    EXPECT_EQ(b.thunk(b, d_, pointers, TypeRef{type}, &result, bad), S_OK) << b.name;
    return result;
  }
  void Write(const Binding& b, VARIANT value) {
    const VARIANT* arg = &value;
    std::size_t bad = 0;
    EXPECT_EQ(b.thunk(b, d_, {&arg, 1}, TypeRef{}, nullptr, bad), S_OK) << b.name;
  }
  static VARIANT Int(std::int32_t x) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4, v.lVal = x;
    return v;
  }
  static std::string Text(VARIANT v) {
    const std::string s = BstrToUtf8(v.bstrVal);
    VariantClear(&v);
    return s;
  }

  Driver d_{Traits(VariantId::k05_03)};
};

TEST_F(FormTest, HeldFieldsReadTheKeptValueAsTheClientSeesIt) {
  held.Flag = true;
  held.Name = Utf8ToAnsi("КОД");
  const Binding flag = HeldField<&HeldBlock, &Block::Flag>("DayOpened");
  const Binding name = HeldField<&HeldBlock, &Block::Name>("SerialNumber");
  EXPECT_FALSE(flag.prologue) << "a held value is local: the last call's error text survives it";
  EXPECT_EQ(Read(flag, AutoType::kBool).boolVal, VARIANT_TRUE);
  EXPECT_EQ(Text(Read(name, AutoType::kString)), "КОД");
  PutCP866(d_, true);
  EXPECT_EQ(Utf8ToAnsi(Text(Read(name, AutoType::kString))), AnsiToOemText(held.Name))
      << "texts go out through the client's code page";
  EXPECT_EQ(CppSignature(name), "AnsiString SerialNumber(Driver&)");
}

TEST_F(FormTest, QueryFieldsReadAfreshOrFallBack) {
  const Binding rate = QueryField<&QueryBlock, &Block::Rate, 65535>("GetTaxQuantity");
  const Binding name = QueryField<&QueryBlock, &Block::Name>("GetSerialNumber");
  const Binding sum = QueryField<&QueryBlock, &SumOfSums, -1>("GetDaySaleSumExt");
  EXPECT_TRUE(rate.prologue) << "a query talks to the printer";
  EXPECT_EQ(Read(rate, AutoType::kWord).uiVal, 65535) << "the fallback of a failed query";
  EXPECT_EQ(Text(Read(name, AutoType::kString)), "");
  EXPECT_EQ(Read(sum, AutoType::kInt).lVal, -1);
  answer = Block{.Name = "A", .Sums = {Money{1}, Money{2}, Money{3}}, .Rate = 2000};
  EXPECT_EQ(Read(rate, AutoType::kWord).uiVal, 2000);
  EXPECT_EQ(Text(Read(name, AutoType::kString)), "A");
  EXPECT_EQ(Read(sum, AutoType::kInt).lVal, 6) << "a projection computes from the whole block";
  EXPECT_EQ(queries, 6) << "every read is a query of its own";

  // An indexed property passes its index to the query.
  const Binding at = QueryField<&QueryBlockAt, &Block::Rate>("GetArticlePrice");
  VARIANT code;
  VariantInit(&code);
  code.vt = VT_UI8, code.ullVal = 4820000000001;
  EXPECT_EQ(Read(at, AutoType::kWord, {code}).uiVal, 2000);
  EXPECT_EQ(last_index, 4820000000001u);
}

TEST_F(FormTest, FamiliesBindOneNameToEachElementInOrder) {
  answer = Block{.Sums = {Money{10}, Money{(std::uint64_t{1} << 32) + 5}, Money{30}}};
  held.Sums[1] = Money{(std::uint64_t{1} << 32) + 7};
  const std::vector<Binding> texts = QueryFields<&QueryBlock, &Block::Sums>(Family("GetTurnSaleTax_", "ABC"));
  const std::vector<Binding> ints = HeldFields<&HeldBlock, &Block::Sums, AsLow32>({"X0", "X1"});
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(std::string(texts[1].name), "GetTurnSaleTax_B");
  EXPECT_EQ(Text(Read(texts[1], AutoType::kString)), "4294967301") << "a money register as decimal text";
  ASSERT_EQ(ints.size(), 2u) << "fewer names leave the rest unbound";
  EXPECT_EQ(Read(ints[1], AutoType::kInt).lVal, 7) << "or as its low 32 bits";
  EXPECT_THROW((HeldFields<&HeldBlock, &Block::Sums>({"A", "B", "C", "D"})), std::logic_error);
  EXPECT_THAT(Family("GetPasswordCashier", 7, 8), ElementsAre(::testing::StrEq("GetPasswordCashier7"),
                                                              ::testing::StrEq("GetPasswordCashier8")));
}

TEST_F(FormTest, SettingsKeepWhatTheirFieldHolds) {
  const std::vector<Binding> rate = HeldSetting<&HeldBlock, &Block::Rate, std::int32_t>("TaxCount");
  const std::vector<Binding> rates = HeldSettings<&HeldBlock, &Block::Rates, std::int32_t>(Family("Tax_", "AB"));
  ASSERT_EQ(rate.size(), 2u);
  EXPECT_EQ(rate[1].role, Binding::Role::kPut);
  Write(rate[1], Int(70000));
  EXPECT_EQ(held.Rate, 4464) << "a wider value keeps its low 16 bits";
  EXPECT_EQ(Read(rate[0], AutoType::kInt).lVal, 4464);
  ASSERT_EQ(rates.size(), 4u);
  EXPECT_EQ(std::string(rates[2].name), "Tax_B");
  Write(rates[3], Int(700));
  EXPECT_EQ(held.Rates[1], 700);
  EXPECT_EQ(held.Rates[0], 0);
}

TEST_F(FormTest, BitsAreSetAndClearedAlone) {
  const std::vector<Binding> bits = HeldBits<&HeldBlock, &Block::Bits, 0, 19>("Flag3_");
  ASSERT_EQ(bits.size(), 4u);
  EXPECT_EQ(std::string(bits[2].name), "Flag3_19");
  held.Bits = 0x1;
  VARIANT on;
  VariantInit(&on);
  on.vt = VT_BOOL, on.boolVal = VARIANT_TRUE;
  Write(bits[3], on);
  EXPECT_EQ(held.Bits, 0x80001u);
  EXPECT_EQ(Read(bits[2], AutoType::kBool).boolVal, VARIANT_TRUE);
  on.boolVal = VARIANT_FALSE;
  Write(bits[1], on);
  EXPECT_EQ(held.Bits, 0x80000u);
  EXPECT_EQ(Read(bits[0], AutoType::kBool).boolVal, VARIANT_FALSE);
}

TEST_F(FormTest, OneFunctionUnderSeveralNames) {
  const std::vector<Binding> both = QueryField<&QueryBlock, &Block::Flag>({"GetSmenaOpened", "GetSmenaStatus"});
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(both[0].fn, both[1].fn);
  EXPECT_THAT(ValidateBindings(both), ::testing::IsEmpty()) << "the newer property and the older function";
}

}  // namespace
}  // namespace zorfp::server
