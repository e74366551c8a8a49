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
};

}  // namespace zorfp
