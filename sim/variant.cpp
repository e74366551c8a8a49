#include "sim/variant.h"

#include <algorithm>
#include <array>

#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

using enum Variant;

// What the newer family (EP-02 and later) has; each variant below changes only what differs.
constexpr VariantTraits Newer(Variant v, std::string_view tag) {
  return VariantTraits{
      .variant = v,
      .tag = tag,
      .newer_family = true,
      .has_version_tag = true,
      .has_display_switch = true,
      .has_online_print_switch = true,
      .has_receipt_only_flag = false,
      .has_journal_paper = false,
      .has_usb_line = false,
      .status_bit1_is_paper = true,
      .reserve_has_paper_notice = false,
      .has_personalization = false,
      // Only 05-02 and 05-03 have a code for a bad parameter; the others refuse it as not supported.
      .bad_parameter_result = result::kCommandForbidden,
      .payment_forms = 4,
      .item_name_limit = 50,
      .article_code_bytes = 6,
      .item_name_from_memory = true,
      .relative_discount_bit = 0x04000000,
      .discount_sum_unsigned = false,
      .payment_has_info_line = false,
      .tax_rate_slots = 5,
  };
}

// `base` under another variant's name: a variant that differs from it only in a few points.
constexpr VariantTraits Like(VariantTraits base, Variant v, std::string_view tag) {
  base.variant = v;
  base.tag = tag;
  return base;
}

// The older firmware's commands: no article table, the percentage bit one lower, and an information
// line in the payment command.
constexpr void OlderForms(VariantTraits& t) {
  t.newer_family = false;
  t.item_name_from_memory = false;
  t.relative_discount_bit = 0x02000000;
  t.payment_has_info_line = true;
}

constexpr VariantTraits MakeEp01() {
  VariantTraits t = Newer(kEp01, "EP-01");
  OlderForms(t);
  t.article_code_bytes = 4;
  return t;
}

constexpr VariantTraits Make0801() {
  VariantTraits t = Newer(k0801, "08-01");
  OlderForms(t);
  t.has_version_tag = false;
  t.has_display_switch = false;
  t.has_online_print_switch = false;
  t.item_name_limit = 25;
  t.article_code_bytes = 2;
  t.tax_rate_slots = 6;  // F is a programmable rate too
  return t;
}

constexpr VariantTraits MakeEp02() {
  return Newer(kEp02, "EP-02");
}

constexpr VariantTraits MakeEp05() {
  VariantTraits t = Newer(kEp05, "EP-05");
  t.has_receipt_only_flag = true;
  t.has_journal_paper = true;
  return t;
}

constexpr VariantTraits MakeEp06() {
  VariantTraits t = Like(MakeEp05(), kEp06, "EP-06");
  t.status_bit1_is_paper = false;  // it speaks of the electronic journal
  t.reserve_has_paper_notice = true;
  t.has_personalization = true;
  t.payment_forms = 10;
  t.item_name_limit = 70;
  return t;
}

constexpr VariantTraits Make0502() {
  VariantTraits t = Newer(k0502, "05-02");
  t.has_usb_line = true;
  t.bad_parameter_result = result::kBadParameter0502;
  t.discount_sum_unsigned = true;
  return t;
}

constexpr VariantTraits Make0503() {
  VariantTraits t = Like(Make0502(), k0503, "05-03");
  t.status_bit1_is_paper = false;  // it speaks of the electronic journal
  return t;
}

// Indexed by Variant.
constexpr std::array<VariantTraits, kVariantCount> kTraits = {
    MakeEp01(), Make0801(), MakeEp02(), MakeEp05(), MakeEp06(), Make0502(), Make0503(),
};

static_assert(std::all_of(kTraits.begin(), kTraits.end(), [](const VariantTraits& t) {
  return &kTraits[static_cast<std::size_t>(t.variant)] == &t;
}));

constexpr std::array<Variant, kVariantCount> kAll = {kEp01, k0801, kEp02, kEp05, kEp06, k0502, k0503};

}  // namespace

const VariantTraits& Traits(Variant v) {
  return kTraits[static_cast<std::size_t>(v)];
}

std::string_view Tag(Variant v) {
  return Traits(v).tag;
}

std::span<const Variant> AllVariants() {
  return kAll;
}

std::optional<Variant> ParseVariant(std::string_view tag) {
  for (const VariantTraits& t : kTraits) {
    if (t.tag == tag) return t.variant;
  }
  return std::nullopt;
}

}  // namespace zorfp::sim
