#include "commands/memory.h"

#include <string>

#include "commands/answer.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kMemoryRead = 0x1C;

}  // namespace

std::optional<Bytes> ReadMemory(Driver& d, std::uint16_t address, Byte page, Byte length) {
  Bytes command{kMemoryRead};
  PutUIntLE(command, address, 2);
  command.push_back(page);
  command.push_back(length);
  if (!ExchangeUnjudged(d, command)) return std::nullopt;
  if (length == 0) {
    d.RejectAnswer(102, texts::kZeroLengthBlock);
    return std::nullopt;
  }
  if (!RequireData(d, length)) return std::nullopt;
  return Bytes(d.Answer().begin(), d.Answer().begin() + length);
}

AnsiString FPGetMemoryData(Driver& d, std::uint16_t Address, Byte Page, Byte LengthData) {
  const auto bytes = ReadMemory(d, Address, Page, LengthData);
  if (!bytes) return {};
  AnsiString dump;
  for (Byte b : *bytes) dump += std::to_string(b) + ';';
  return ClientTextOut(dump, d.module().settings.CP866);
}

}  // namespace zorfp
