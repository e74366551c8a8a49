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
  const Command command = Command(kMemoryRead).UIntLE(address, 2).U8(page).U8(length);
  if (length == 0) {
    if (ExchangeJudged(d, command, Judge::kUnjudged)) d.Reject(texts::kZeroLengthBlock);
    return std::nullopt;
  }
  // Exactly the bytes asked for: more is as much a misfit as fewer.
  return Query<Bytes>(
      d, command,
      [length](AnswerReader& r, Bytes& bytes) {
        const std::span<const Byte> taken = r.Take(length);
        bytes.assign(taken.begin(), taken.end());
      },
      {.judge = Judge::kUnjudged});
}

AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData) {
  const auto bytes = ReadMemory(d, Address, Page, LengthData);
  if (!bytes) return {};
  AnsiString dump;
  for (Byte b : *bytes) dump += std::to_string(b) + ';';
  return ClientTextOut(dump, d.module().settings.CP866);
}

}  // namespace zorfp
