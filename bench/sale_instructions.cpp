// (c) Instructions per sale exchange. The printer is a port in memory that answers every frame at
// once, so that nothing but the driver's own work is counted:
//
//   valgrind --tool=callgrind --toggle-collect='zorfp::FPSale*' ./sale_instructions 1000
//
// and divide the reported instruction count by the number of sales.
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "commands/items.h"
#include "driver/members.h"
#include "errors/codepage.h"
#include "variants/traits.h"

namespace {

using namespace zorfp;

// Answers each frame with ACK and an answer frame echoing sequence number and command, status,
// result and reserve 0, and an item reply (cost and total).
class InstantPrinter final : public SerialPort {
 public:
  bool GetLineSettings(LineSettings&) override { return true; }
  bool SetLineSettings(const LineSettings&) override { return true; }
  bool GetTimeouts(PortTimeouts&) override { return true; }
  bool SetTimeouts(const PortTimeouts&) override { return true; }
  void Purge(bool, bool) override {}
  std::size_t Write(const Bytes& frame) override {
    const Byte seq = frame[2];
    const Byte code = frame[seq == 0x10 ? 4 : 3];
    const Bytes content{seq, code, 0, 0, 0, 0xE2, 0x04, 0, 0, 0xE2, 0x04, 0, 0};
    unsigned sum = 0;
    pending_.push_back(0x06);
    pending_.push_back(0x10);
    pending_.push_back(0x02);
    for (Byte b : content) {
      sum += b;
      pending_.push_back(b);
      if (b == 0x10) pending_.push_back(b);
    }
    const Byte check = static_cast<Byte>(0x100 - (sum & 0xFF));
    pending_.push_back(check);
    if (check == 0x10) pending_.push_back(check);
    pending_.push_back(0x10);
    pending_.push_back(0x03);
    return frame.size();
  }
  std::optional<Byte> ReadByte(std::chrono::milliseconds) override {
    if (pending_.empty()) return std::nullopt;
    const Byte b = pending_.front();
    pending_.pop_front();
    return b;
  }
  bool Close() override { return true; }

 private:
  std::deque<Byte> pending_;
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
