#include "commands/journal.h"

#include <string>

#include "commands/wire.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kMemoryRead = 0x1C;

}  // namespace

std::optional<Bytes> ReadMemory(Driver& d, std::uint16_t address, Byte page, Byte length) {
  if (!ExchangeJudged(d, Command(kMemoryRead).UIntLE(address, 2).U8(page).U8(length), Judge::kUnjudged)) {
    return std::nullopt;
  }
  if (length == 0) {
    d.Reject(texts::kZeroLengthBlock);
    return std::nullopt;
  }
  AnswerReader r(d.Answer());
  const std::span<const Byte> bytes = r.Take(length);
  if (!r.Finish(d, {.more_allowed = true})) return std::nullopt;
  return Bytes(bytes.begin(), bytes.end());
}

AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData) {
  const auto bytes = ReadMemory(d, Address, Page, LengthData);
  if (!bytes) return {};
  AnsiString dump;
  for (Byte b : *bytes) dump += std::to_string(b) + ';';
  return ClientTextOut(dump, d.module().settings.CP866);
}

}  // namespace zorfp
