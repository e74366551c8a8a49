// What distinguishes the seven driver classes. Commands are written once and read what differs
// from here; the seven records themselves live in variants/.
#pragma once

#include <cstdint>

#include "link/bytes.h"
#include "link/exchange.h"

namespace zorfp {

// Also the order in which the error evaluation resolves one language from the seven settings.
enum class VariantId : std::uint8_t { k08_01, kEP_01, kEP_02, kEP_05, k05_02, kEP_06, k05_03 };
inline constexpr std::size_t kVariantCount = 7;

// What the status block's last five bytes are to a class.
enum class VersionTagForm : std::uint8_t {
  kNone,        // 08-01: the block ends with the fourth header line
  kPlain,       // EP-01: taken as text like the others
  kRecognised,  // newer classes: only the forms the driver knows are kept
};

inline constexpr std::size_t Index(VariantId id) { return static_cast<std::size_t>(id); }

struct VariantTraits {
  VariantId id;
  const char* tag;             // "EP-01", written into every log record
  const char* coclass;         // "ZOR_EP_01"
  const char* driver_class;    // "TZOR_EP_01"
  Byte variant_number;         // third argument of the error evaluation
  bool older_family;           // EP-01, 08-01: methods without results, driver failures as text only
  ExchangeProfile exchange;    // tag and answer flags of the exchange
  bool has_active_port;        // 05-02, 05-03: long jobs run on the port set for the waiting window
  bool has_raw_exchange;       // 05-03, EP-06: unframed modem exchange

  // Opening the port.
  bool fixed_baud_9600;        // 08-01: no baud-rate argument
  std::uint32_t fixed_per_byte_ms;   // non-zero: per-byte time-out instead of 19200 / baud
  unsigned init_timeout_unit_ms;     // FPInit: ms per ReadTimeOut/WriteTimeOut unit
  unsigned init_ex_timeout_unit_ms;  // FPInitEx
  bool init_reports_failures;  // codes and texts on a failed open (not EP-01, 08-01)
  bool logs_open;              // an open-port record (not 08-01)
  bool open_sets_tag;          // opening sets ProtocolTag (not 08-01)

  // Status block.
  Byte header_length_mask;     // newer: the low 6 bits of a header-line length byte; older: all 8
  VersionTagForm version_tag;
  const char* own_version_tag; // Windows-1251; a tag this class's printer may send as it stands, or null
  bool serial_number_cut;      // newer: the first 10 characters of text 1, trimmed; older: all of it

  // Sale and refund items.
  std::size_t item_name_limit;  // characters: 50; EP-06 70; 08-01 25
  int article_code_bytes;       // 6 newer; EP-01 4; 08-01 2
  bool ean13_mark;              // the item status may carry the EAN-13 mark (EP-05 and later)

  // Payment and discounts.
  Byte last_payment_form;       // 3 (four forms); EP-06 9 (ten forms)
  bool negates_discounts;       // 05-02, 05-03: a discount always reads as a negative sum
};

}  // namespace zorfp
