// The variant table: a variant built on another one must not keep that one's name.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "sim/variant.h"

namespace zorfp::sim {
namespace {

TEST(VariantTest, EachTagNamesItsOwnVariant) {
  const std::vector<std::string_view> tags = {"EP-01", "08-01", "EP-02", "EP-05", "EP-06", "05-02", "05-03"};
  ASSERT_EQ(AllVariants().size(), tags.size());
  for (Variant v : AllVariants()) {
    const std::string_view tag = tags[static_cast<std::size_t>(v)];
    EXPECT_EQ(Tag(v), tag);
    EXPECT_EQ(Traits(v).variant, v) << tag;
    EXPECT_EQ(ParseVariant(tag), v) << tag;
  }
  EXPECT_EQ(ParseVariant("ep-02"), std::nullopt);  // exact match only
}

}  // namespace
}  // namespace zorfp::sim
