#include "sim/variant.h"

#include <array>

#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

// Variants 1, 2 and 5 have no code for a bad parameter; they refuse it as not supported.
constexpr std::array<VariantTraits, kVariantCount> kTraits = {{
    {.variant = Variant::kEp01,
     .tag = "EP-01",
     .number = 1,
     .newer_family = false,
     .has_version_tag = true,
     .has_display_switch = true,
     .has_online_print_switch = true,
     .has_receipt_only_flag = false,
     .has_journal_paper = false,
     .has_usb_line = false,
     .status_bit1_is_paper = true,
     .reserve_has_paper_notice = false,
     .has_personalization = false,
     .bad_parameter_result = result::kCommandForbidden},
    {.variant = Variant::k0801,
     .tag = "08-01",
     .number = 1,
     .newer_family = false,
     .has_version_tag = false,
     .has_display_switch = false,
     .has_online_print_switch = false,
     .has_receipt_only_flag = false,
     .has_journal_paper = false,
     .has_usb_line = false,
     .status_bit1_is_paper = true,
     .reserve_has_paper_notice = false,
     .has_personalization = false,
     .bad_parameter_result = result::kCommandForbidden},
    {.variant = Variant::kEp02,
     .tag = "EP-02",
     .number = 2,
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
     .bad_parameter_result = result::kCommandForbidden},
    {.variant = Variant::kEp05,
     .tag = "EP-05",
     .number = 5,
     .newer_family = true,
     .has_version_tag = true,
     .has_display_switch = true,
     .has_online_print_switch = true,
     .has_receipt_only_flag = true,
     .has_journal_paper = true,
     .has_usb_line = false,
     .status_bit1_is_paper = true,
     .reserve_has_paper_notice = false,
     .has_personalization = false,
     .bad_parameter_result = result::kCommandForbidden},
    {.variant = Variant::kEp06,
     .tag = "EP-06",
     .number = 6,
     .newer_family = true,
     .has_version_tag = true,
     .has_display_switch = true,
     .has_online_print_switch = true,
     .has_receipt_only_flag = true,
     .has_journal_paper = true,
     .has_usb_line = false,
     .status_bit1_is_paper = false,
     .reserve_has_paper_notice = true,
     .has_personalization = true,
     .bad_parameter_result = result::kCommandForbidden},
    {.variant = Variant::k0502,
     .tag = "05-02",
     .number = 3,
     .newer_family = true,
     .has_version_tag = true,
     .has_display_switch = true,
     .has_online_print_switch = true,
     .has_receipt_only_flag = false,
     .has_journal_paper = false,
     .has_usb_line = true,
     .status_bit1_is_paper = true,
     .reserve_has_paper_notice = false,
     .has_personalization = false,
     .bad_parameter_result = result::kBadParameter0502},
    {.variant = Variant::k0503,
     .tag = "05-03",
     .number = 7,
     .newer_family = true,
     .has_version_tag = true,
     .has_display_switch = true,
     .has_online_print_switch = true,
     .has_receipt_only_flag = false,
     .has_journal_paper = false,
     .has_usb_line = true,
     .status_bit1_is_paper = false,
     .reserve_has_paper_notice = false,
     .has_personalization = false,
     .bad_parameter_result = result::kBadParameter0502},
}};

constexpr std::array<Variant, kVariantCount> kAll = {Variant::kEp01, Variant::k0801, Variant::kEp02,
                                                     Variant::kEp05, Variant::kEp06, Variant::k0502,
                                                     Variant::k0503};

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
