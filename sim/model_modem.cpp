// The data modem of 05-03 and EP-06. It shares the printer's line: the host's unframed status
// request "~~#01#" reaches it between frames, and it answers at once, in one burst, with its length
// byte and status record (or, as configured, with a short or empty record, or not at all).
#include <algorithm>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"

namespace zorfp::sim {
namespace {

constexpr std::string_view kStatusRequest = "~~#01#";

void PutBigEndian(Bytes& r, std::size_t offset, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) r[offset + i] = static_cast<Byte>(value >> (8 * (width - 1 - i)));
}
void PutLittleEndian(Bytes& r, std::size_t offset, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) r[offset + i] = static_cast<Byte>(value >> (8 * i));
}

bool HasModem(Variant v) {
  return v == Variant::k0503 || v == Variant::kEp06;
}

const char* ReplyName(ModemState::Reply r) {
  switch (r) {
    case ModemState::Reply::kRecord:
      return "record";
    case ModemState::Reply::kShort:
      return "short";
    case ModemState::Reply::kEmpty:
      return "empty";
    case ModemState::Reply::kSilent:
      return "silent";
  }
  return "";
}

}  // namespace

Bytes FactoryModemRecord(std::size_t size) {
  Bytes r(kModemExtendedRecord, 0);
  PutLittleEndian(r, 0, 86400, 4);       // running a day
  PutLittleEndian(r, 4, 120, 4);         // since the collection server
  PutLittleEndian(r, 8, 300, 4);         // since the acquirer
  PutLittleEndian(r, 12, 758624400, 4);  // first unsent packet: 15.01.2024 09:00:00
  for (std::size_t i = 0; i < 5; ++i) PutLittleEndian(r, 16 + 4 * i, 1000 + i, 4);  // packet numbers
  PutLittleEndian(r, 36, 5300079, 4);                                               // serial number
  PutLittleEndian(r, 40, 0x1234, 4);                                                // device id
  PutBigEndian(r, 44, 0x0A0B0C0D, 4);                                               // security module id
  PutBigEndian(r, 48, 999, 4);                                                      // signed packets
  PutBigEndian(r, 52, 42, 2);                                                       // acquirer sessions
  PutLittleEndian(r, 56, 4100, 2);                                                  // battery, mV
  PutLittleEndian(r, 58, 12000, 2);                                                 // supply, mV
  PutLittleEndian(r, 60, 150, 2);                                                   // charge, mA
  PutLittleEndian(r, 62, 31, 2);                                                    // degrees
  r[64] = 17;                                                                       // driver stage: PPP
  r[65] = 9;                                                                        // PPP opened
  r[66] = 9;                                                                        // IP opened
  r[67] = 9;                                                                        // Ethernet up
  r[68] = 6;                                                                        // DHCP lease checked
  PutLittleEndian(r, 72, 2, 2);                                                     // failed server sessions
  r[74] = 21;                                                                       // signal: good
  r[75] = 1;
  constexpr std::string_view kUssd = "Balance 100.00 UAH";
  std::copy(kUssd.begin(), kUssd.end(), r.begin() + 76);
  PutLittleEndian(r, 156, 0x0205, 2);     // OS 2.05
  PutLittleEndian(r, 158, 20, 2);         // revision
  PutLittleEndian(r, 160, 758626200, 4);  // 15.01.2024 09:30:00
  for (const auto& [offset, a] : {std::pair<std::size_t, std::array<Byte, 4>>{164, {192, 168, 0, 10}},
                                  {168, {192, 168, 0, 1}},
                                  {172, {255, 255, 255, 0}},
                                  {176, {10, 0, 0, 2}},
                                  {180, {10, 1, 1, 1}}}) {
    std::copy(a.begin(), a.end(), r.begin() + static_cast<std::ptrdiff_t>(offset));
  }
  PutBigEndian(r, 184, 443, 2);
  r.resize(std::min(size, r.size()));
  return r;
}

Bytes HearOutsideFrames(PrinterModel& m, Byte b) {
  if (!HasModem(m.variant)) return {};
  ModemState& modem = m.modem;
  modem.heard.push_back(b);
  if (modem.heard.size() > kStatusRequest.size()) modem.heard.erase(modem.heard.begin());
  if (!std::equal(modem.heard.begin(), modem.heard.end(), kStatusRequest.begin(), kStatusRequest.end())) {
    return {};
  }
  modem.heard.clear();
  ++modem.requests;
  const auto length = static_cast<Byte>(modem.record.size());
  switch (modem.reply) {
    case ModemState::Reply::kRecord: {
      Bytes out{length};
      out.insert(out.end(), modem.record.begin(), modem.record.end());
      return out;
    }
    case ModemState::Reply::kShort: {
      Bytes out{length};
      out.insert(out.end(), modem.record.begin(), modem.record.begin() + modem.record.size() / 2);
      return out;
    }
    case ModemState::Reply::kEmpty:
      return {0};
    case ModemState::Reply::kSilent:
      return {};
  }
  return {};
}

void WriteModemJson(const PrinterModel& m, Json& j) {
  if (!HasModem(m.variant)) return;
  j["modem"] = {{"reply", ReplyName(m.modem.reply)},
                {"record_length", m.modem.record.size()},
                {"requests", m.modem.requests}};
}

}  // namespace zorfp::sim
