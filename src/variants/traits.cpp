#include "variants/traits.h"

#include <algorithm>

#include "errors/codepage.h"

namespace zorfp {
namespace {

constexpr VariantTraits Newer(VariantId id, const char* tag, const char* coclass, const char* driver_class,
                              Byte number) {
  return VariantTraits{
      .id = id,
      .tag = tag,
      .coclass = coclass,
      .driver_class = driver_class,
      .variant_number = number,
      .older_family = false,
      .exchange = {tag, false},
      .has_active_port = false,
      .has_raw_exchange = false,
      .fixed_baud_9600 = false,
      .fixed_per_byte_ms = 0,
      .init_timeout_unit_ms = 1000,
      .init_ex_timeout_unit_ms = 1000,
      .init_reports_failures = true,
      .logs_open = true,
      .open_sets_tag = true,
      .header_length_mask = 0x3F,
      .version_tag = VersionTagForm::kRecognised,
      .own_version_tag = nullptr,
      .serial_number_cut = true,
      .item_name_limit = 50,
      .article_code_bytes = 6,
      .ean13_mark = true,
      .last_payment_form = 3,
      .negates_discounts = false,
  };
}

// The status block and items as the two older classes have them.
constexpr void OlderForms(VariantTraits& t) {
  t.header_length_mask = 0xFF;
  t.version_tag = VersionTagForm::kPlain;
  t.serial_number_cut = false;
  t.ean13_mark = false;
}

constexpr VariantTraits MakeEP02() {
  VariantTraits t = Newer(VariantId::kEP_02, "EP-02", "ZOR_EP_02", "TZOR_EP_02", 2);
  t.ean13_mark = false;
  return t;
}

constexpr VariantTraits MakeEP05() {
  VariantTraits t = Newer(VariantId::kEP_05, "EP-05", "ZOR_EP_05", "TZOR_EP_05", 5);
  t.own_version_tag = "05-02";  // EP-05 firmware reports itself as 05-02
  return t;
}

constexpr VariantTraits MakeEP01() {
  VariantTraits t = Newer(VariantId::kEP_01, "EP-01", "ZOR_EP_01", "TZOR_EP_01", 1);
  t.older_family = true;
  t.init_reports_failures = false;
  OlderForms(t);
  t.article_code_bytes = 4;
  return t;
}

constexpr VariantTraits Make0801() {
  VariantTraits t = Newer(VariantId::k08_01, "08-01", "ZOR_08_01", "TZOR_08_01", 1);
  t.older_family = true;
  t.init_reports_failures = false;
  OlderForms(t);
  t.version_tag = VersionTagForm::kNone;
  t.item_name_limit = 25;
  t.article_code_bytes = 2;
  t.fixed_baud_9600 = true;
  t.fixed_per_byte_ms = 2;
  t.logs_open = false;
  t.open_sets_tag = false;
  return t;
}

constexpr VariantTraits MakeEP06() {
  VariantTraits t = Newer(VariantId::kEP_06, "EP-06", "ZOR_EP_06", "TZOR_EP_06", 6);
  t.exchange.extra_answer_flags = true;
  t.has_raw_exchange = true;
  t.own_version_tag = "\xC5\xCF-06";  // ЕП-06 as Windows-1251 bytes
  t.item_name_limit = 70;
  t.last_payment_form = 9;
  return t;
}

constexpr VariantTraits Make0502() {
  VariantTraits t = Newer(VariantId::k05_02, "05-02", "ZOR_05_02", "TZOR_05_02", 3);
  t.has_active_port = true;
  t.own_version_tag = "05-02";
  t.negates_discounts = true;
  return t;
}

constexpr VariantTraits Make0503() {
  VariantTraits t = Newer(VariantId::k05_03, "05-03", "ZOR_05_03", "TZOR_05_03", 7);
  t.has_active_port = true;
  t.has_raw_exchange = true;
  t.init_timeout_unit_ms = 100;  // FPInit counts its time-outs in tenths of a second here
  t.own_version_tag = "05-03";
  t.negates_discounts = true;
  return t;
}

// Indexed by VariantId.
constexpr std::array<VariantTraits, kVariantCount> kTraits = {
    Make0801(),
    MakeEP01(),
    MakeEP02(),
    MakeEP05(),
    Make0502(),
    MakeEP06(),
    Make0503(),
};

static_assert(std::all_of(kTraits.begin(), kTraits.end(),
                          [](const VariantTraits& t) { return &kTraits[Index(t.id)] == &t; }));

}  // namespace

const VariantTraits& Traits(VariantId id) { return kTraits[Index(id)]; }

const std::array<const VariantTraits*, kVariantCount>& ClassOrder() {
  static const std::array<const VariantTraits*, kVariantCount> order = {
      &Traits(VariantId::k05_03), &Traits(VariantId::kEP_06), &Traits(VariantId::k05_02),
      &Traits(VariantId::kEP_05), &Traits(VariantId::kEP_02), &Traits(VariantId::kEP_01),
      &Traits(VariantId::k08_01),
  };
  return order;
}

std::optional<VariantId> FindVariant(std::string_view name) {
  for (const VariantTraits& t : kTraits) {
    if (EqualsNoCase(name, t.coclass) || EqualsNoCase(name, t.driver_class) || EqualsNoCase(name, t.tag)) {
      return t.id;
    }
  }
  return std::nullopt;
}

}  // namespace zorfp
