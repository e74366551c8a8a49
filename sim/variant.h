// The seven protocol variants the simulated printer can speak, and what differs between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

#include "sim/bytes.h"

namespace zorfp::sim {

enum class Variant : std::uint8_t { kEp01, k0801, kEp02, kEp05, kEp06, k0502, k0503 };

inline constexpr int kVariantCount = 7;

struct VariantTraits {
  Variant variant;
  std::string_view tag;  // "EP-01" ...
  // EP-02 and later: header length bytes carry print attributes in bits 6 and 7.
  bool newer_family;
  bool has_version_tag;           // the status block ends with five version bytes
  bool has_display_switch;        // mode flag A bit 7 can be set
  bool has_online_print_switch;   // mode flag B bit 6 can be set
  bool has_receipt_only_flag;     // mode flag B bit 0 carries the inverted receipt-only flag
  bool has_journal_paper;         // a paper control tape, reported by command 0x30
  bool has_usb_line;              // command 0x26 accepts the USB bit
  bool status_bit1_is_paper;      // else bit 1 reports electronic-journal data older than 72 hours
  bool reserve_has_paper_notice;  // reserve bit 2 says the receipt paper is out
  bool has_personalization;       // reserve bit 7 says personalization was not done
  Byte bad_parameter_result;      // what the printer refuses a malformed parameter with
  // Receipts.
  int payment_forms;            // 4, or 10 on EP-06
  std::size_t item_name_limit;  // characters of an item name
  int article_code_bytes;       // width of the article code in the item command: 6, 4 (EP-01), 2 (08-01)
  bool item_name_from_memory;   // name length 0xFF prints the name kept in the article table
  std::uint32_t relative_discount_bit;  // the value bit that marks a percentage in the discount command
  bool discount_sum_unsigned;           // the discount answer gives the size of a discount without a sign
  bool payment_has_info_line;           // the payment command carries an information line (bit 7 of the form)
  int tax_rate_slots;                   // programmable tax rates: 5, or 6 on 08-01 (where F is one of them)
};

const VariantTraits& Traits(Variant v);
std::string_view Tag(Variant v);
std::span<const Variant> AllVariants();

// Exact tag match ("EP-02", "05-03", ...).
std::optional<Variant> ParseVariant(std::string_view tag);

// A set of variants, for the command table.
class VariantSet {
 public:
  constexpr VariantSet() = default;
  constexpr VariantSet(std::initializer_list<Variant> variants) {
    for (Variant v : variants) bits_ |= Bit(v);
  }
  static constexpr VariantSet All() { return VariantSet(0x7F); }
  constexpr VariantSet Without(Variant v) const { return VariantSet(bits_ & ~Bit(v)); }
  constexpr bool Contains(Variant v) const { return (bits_ & Bit(v)) != 0; }

 private:
  constexpr explicit VariantSet(unsigned bits) : bits_(bits) {}
  static constexpr unsigned Bit(Variant v) { return 1u << static_cast<unsigned>(v); }
  unsigned bits_ = 0;
};

}  // namespace zorfp::sim
