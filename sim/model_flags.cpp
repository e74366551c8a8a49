// The option bits and feed lines (05-02, 05-03): read whole (0x34), written whole under the
// programming password (0x35).
#include <nlohmann/json.hpp>

#include "sim/fields.h"
#include "sim/model_commands.h"
#include "sim/model_json.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

constexpr int kMostFeedLines = 16;

// Group 1 (2), group 3 (4), group 4 (1), feed lines (1).
Reply HandleReadFlags(PrinterModel& m, const Request& r) {
  if (!r.params.empty()) return RefuseBadParameter(m);
  const FlagsState& f = m.flags;
  Bytes out;
  AppendUInt(out, f.group1, 2);
  AppendUInt(out, f.group3, 4);
  out.push_back(f.group4);
  out.push_back(f.feed_lines);
  return Reply::Ok(std::move(out));
}

// Password (2), then the four fields as they are read.
Reply HandleWriteFlags(PrinterModel& m, const Request& r) {
  FieldReader in(r.params);
  const auto password = static_cast<std::uint16_t>(in.UInt(2));
  const auto group1 = static_cast<std::uint16_t>(in.UInt(2));
  const auto group3 = static_cast<std::uint32_t>(in.UInt(4));
  const Byte group4 = in.Byte1();
  const Byte feed_lines = in.Byte1();
  if (!in.Complete() || feed_lines > kMostFeedLines) return RefuseBadParameter(m);
  if (password != m.programming.settings.passwords[kProgrammingPassword]) return Reply::Refuse(result::kBadPassword);
  m.flags.group1 = group1;
  m.flags.group3 = group3;
  m.flags.group4 = group4;
  m.flags.feed_lines = feed_lines;
  return Reply::Ok();
}

constexpr VariantSet kFlagKeepers = {Variant::k0502, Variant::k0503};

constexpr CommandEntry kFlagsCommands[] = {
    {0x34, "read option flags", kFlagKeepers, Effect::kQuery, &HandleReadFlags},
    {0x35, "write option flags", kFlagKeepers, Effect::kChangesState, &HandleWriteFlags},
};

}  // namespace

std::span<const CommandEntry> FlagsCommands() {
  return kFlagsCommands;
}

void WriteFlagsJson(const PrinterModel& m, Json& j) {
  if (!kFlagKeepers.Contains(m.variant)) return;
  const FlagsState& f = m.flags;
  j["flags"] = {
      {"group1", f.group1},
      {"group3", f.group3},
      {"group4", f.group4},
      {"feed_lines", f.feed_lines},
  };
}

}  // namespace zorfp::sim
