// The status block as every class reads it, from whatever data an answer frame carries: the
// decode either fails with 102 or 103 or yields texts no longer than the block allows.
#include <cstddef>
#include <cstdint>

#include "commands/status.h"
#include "fuzz_support.h"
#include "variants/traits.h"

using namespace zorfp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  static fuzz::TickingClock clock;
  ResetModuleForTesting();
  TheModule().clock = &clock;
  const VariantTraits& traits = *ClassOrder()[in.U8() % kVariantCount];
  const Byte status = in.U8(), result = in.U8();
  std::deque<Bytes> replies{fuzz::AnswerFrame(status, result, 0, in.Take(size))};
  Driver d(traits);
  d.set_port(std::make_unique<fuzz::ReplyPort>(replies));
  const auto block = ReadStatus(d);
  const LastCall& call = TheModule().last_call;
  if (!block) {
    if (call.ReportedResult != 101 && call.ReportedResult != 102 && call.ReportedResult != 103 &&
        !traits.older_family) {
      __builtin_trap();
    }
    return 0;
  }
  if (block->SerialText.size() > 19 || block->FiscalNumber.size() > 10 || block->FirmwareVersion.size() > 5 ||
      block->HeadLine1.size() > 255) {
    __builtin_trap();
  }
  return 0;
}
