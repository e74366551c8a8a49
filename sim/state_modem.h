// The data modem behind the printer's line (05-03, EP-06): it answers the unframed status request
// "~~#01#" with its status record in one burst (model_modem.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#include "sim/bytes.h"

namespace zorfp::sim {

inline constexpr std::size_t kModemBaseRecord = 76;
inline constexpr std::size_t kModemExtendedRecord = 189;

// A record of `size` bytes with the modem's factory values (76 or 189).
Bytes FactoryModemRecord(std::size_t size);

struct ModemState {
  enum class Reply {
    kRecord,  // the length byte and the whole record
    kShort,   // the length byte of the whole record, then only half of it
    kEmpty,   // a length byte of 0
    kSilent,  // nothing at all
  };
  Reply reply = Reply::kRecord;
  // The record after the length byte: 76 bytes, or 189 with the extended part. Tests set fields
  // at their offsets (least significant byte first unless the layout says otherwise).
  Bytes record = FactoryModemRecord(kModemExtendedRecord);
  std::uint32_t requests = 0;
  Bytes heard;  // the last bytes outside frames, to spot the request in
};

}  // namespace zorfp::sim
