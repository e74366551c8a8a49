// (c) Instructions per sale exchange. The printer is a port in memory that answers every frame at
// once, so that nothing but the driver's own work is counted:
//
//   valgrind --tool=callgrind --toggle-collect='zorfp::FPSale*' ./sale_instructions 1000
//
// and divide the reported instruction count by the number of sales.
#include <cstdio>
#include <cstdlib>
#include <array>

#include "commands/items.h"
#include "driver/members.h"
#include "errors/codepage.h"
#include "variants/traits.h"

namespace {

using namespace zorfp;

// Answers each frame with ACK and an answer frame echoing sequence number and command, status,
// result and reserve 0, and an item reply (cost and total). The answer is laid out once and only
// its echoed bytes and checksum change, so that the printer's own instructions stay few next to
// the driver's.
class InstantPrinter final : public SerialPort {
 public:
  bool GetLineSettings(LineSettings&) override { return true; }
  bool SetLineSettings(const LineSettings&) override { return true; }
  bool GetTimeouts(PortTimeouts&) override { return true; }
  bool SetTimeouts(const PortTimeouts&) override { return true; }
  void Purge(bool input, bool) override {
    if (input) next_ = end_;
  }
  std::size_t Write(const Bytes& frame) override {
    const Byte seq = frame[2];
    const Byte code = frame[seq == 0x10 ? 4 : 3];
    // ACK DLE STX seq code status result reserve cost(4) total(4) checksum DLE ETX
    static constexpr Byte kData[] = {0, 0, 0, 0xE2, 0x04, 0, 0, 0xE2, 0x04, 0, 0};
    std::size_t n = 0;
    answer_[n++] = 0x06;
    answer_[n++] = 0x10;
    answer_[n++] = 0x02;
    unsigned sum = seq + code;
    n = PutStuffed(n, seq);
    n = PutStuffed(n, code);
    for (Byte b : kData) {
      sum += b;
      answer_[n++] = b;
    }
    n = PutStuffed(n, static_cast<Byte>(0x100 - (sum & 0xFF)));
    answer_[n++] = 0x10;
    answer_[n++] = 0x03;
    next_ = 0;
    end_ = n;
    return frame.size();
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (next_ == end_) return std::nullopt;
    return answer_[next_++];
  }
  bool Close() override { return true; }

 private:
  std::size_t PutStuffed(std::size_t n, Byte b) {
    answer_[n++] = b;
    if (b == 0x10) answer_[n++] = b;
    return n;
  }

  std::array<Byte, 32> answer_{};
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  const int sales = argc > 1 ? std::atoi(argv[1]) : 1000;
  TheModule().open_port = [](const std::string&) { return std::make_unique<InstantPrinter>(); };
  Driver d(Traits(VariantId::k05_03));
  if (!FPInitEx(d, "memory", 115200, 1, 1)) return 1;
  const AnsiString name = Utf8ToAnsi("Хліб житній");
  int done = 0;
  for (int i = 0; i < sales; ++i) done += FPSale(d, 1000, 3, false, 1250, 0, false, name, 4820000000000ULL) ? 1 : 0;
  std::printf("%d of %d sales executed\n", done, sales);
  return done == sales ? 0 : 1;
}
