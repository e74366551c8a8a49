// Fuzzes answer collection and decoding: whatever bytes a printer (or line noise) sends, the
// driver must neither read out of bounds nor hang.
#include <cstddef>
#include <cstdint>
#include <deque>

#include "fuzz_support.h"
#include "link/exchange.h"
#include "link/frame.h"

namespace {

using namespace zorfp;

// Serves the input one byte per read, then silence.
class InputPort final : public SerialPort {
 public:
  InputPort(const std::uint8_t* data, std::size_t size) : bytes_(data, data + size) {}
  bool GetLineSettings(LineSettings&) override { return true; }
  bool SetLineSettings(const LineSettings&) override { return true; }
  bool GetTimeouts(PortTimeouts&) override { return true; }
  bool SetTimeouts(const PortTimeouts&) override { return true; }
  void Purge(bool input, bool) override {
    if (input) bytes_.clear();
  }
  std::size_t Write(const Bytes& b) override { return b.size(); }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (bytes_.empty()) return std::nullopt;
    const Byte b = bytes_.front();
    bytes_.pop_front();
    return b;
  }
  bool Close() override { return true; }

 private:
  std::deque<Byte> bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes input(data, data + size);
  ParsedAnswer parsed;
  if (ParseAnswer(input, parsed)) {
    // Whatever decodes must be a frame whose checksum holds.
    if (!VerifyAnswerChecksum(input)) __builtin_trap();
  }
  IsAnswerFrame(input);
  EndsWithFrameEnd(input);

  Settings settings;
  LinkState state;
  LastCall call;
  fuzz::TickingClock clock;
  Environment env;
  const Link link{settings, state, call, clock, env};
  InputPort port(data, size);
  ExchangeCommand(link, ExchangeProfile{"05-03", true}, &port, Bytes{0x00});
  if (call.AnswerData.size() > size) __builtin_trap();
  return 0;
}
