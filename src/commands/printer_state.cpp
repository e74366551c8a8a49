#include "commands/printer_state.h"

#include "commands/answer.h"
#include "commands/decimal_text.h"
#include "commands/memory.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kPrinterStateRequest = 0x30;
constexpr std::uint16_t kCutterAddress = 0x301A;
constexpr Byte kSettingsPage = 0x10;
constexpr unsigned kCutterDisabled = 0x08;

}  // namespace

std::optional<Byte> ReadPrinterState(Driver& d) {
  d.call().ErrorText.clear();
  if (!ExchangeUnjudged(d, {kPrinterStateRequest})) return std::nullopt;
  if (d.Answer().size() != 1) {
    RejectWithDriverStatus(d, 103, texts::kDataFormatError);
    return std::nullopt;
  }
  return d.Answer()[0];
}

bool ReadPrinterStateFlag(Driver& d, Byte mask) {
  const auto state = ReadPrinterState(d);
  return state && (*state & mask) != 0;
}

bool GetPrnErrorConnection(Driver& d) {
  return ReadPrinterStateFlag(d, kPrinterConnectionError);
}
bool GetReceiptLow(Driver& d) {
  return ReadPrinterStateFlag(d, kReceiptPaperLow);
}
bool GetReceiptEmpty(Driver& d) {
  return ReadPrinterStateFlag(d, kReceiptPaperOut);
}

// Goes through the memory dump text, as the byte's other readers do.
bool GetCutterStatus(Driver& d) {
  const AnsiString dump = FPGetMemoryData(d, kCutterAddress, kSettingsPage, 1);
  if (dump.empty()) {
    d.SetText(texts::kCutterUndefined);
    return false;
  }
  const auto value = ParseInt64(std::string_view(dump).substr(0, dump.size() - 1));
  if (!value) return d.RejectAnswer(112, texts::kTypeMismatch);
  return (*value & kCutterDisabled) == 0;
}

}  // namespace zorfp
