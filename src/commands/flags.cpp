#include "commands/flags.h"

#include "commands/wire.h"
#include "errors/texts_flags.h"

namespace zorfp {
namespace {

constexpr Byte kReadFlags = 0x34;
constexpr Byte kWriteFlags = 0x35;
constexpr std::uint8_t kMostFeedLines = 16;

}  // namespace

OptionFlags& HeldFlags(Driver& d) {
  return d.held().flags.flags;
}

bool FPGetFlags(Driver& d) {
  const auto flags = Query<OptionFlags>(d, Command(kReadFlags),
                                        [](AnswerReader& r, OptionFlags& f) {
                                          f.Group1 = static_cast<std::uint16_t>(r.UIntLE(2));
                                          f.Group3 = static_cast<std::uint32_t>(r.UIntLE(4));
                                          f.Group4 = r.U8();
                                          f.FeedLines = r.U8();
                                        },
                                        {.more_allowed = true});
  if (!flags) return false;
  HeldFlags(d) = *flags;
  return true;
}

bool FPSetFlags(Driver& d, std::uint16_t Password_Prog) {
  const OptionFlags& f = HeldFlags(d);
  if (f.FeedLines > kMostFeedLines) return d.Refuse(texts::kFeedLinesError);
  return d.Execute(Command(kWriteFlags)
                       .UIntLE(Password_Prog, 2)
                       .UIntLE(f.Group1, 2)
                       .UIntLE(f.Group3, 4)
                       .U8(f.Group4)
                       .U8(f.FeedLines));
}

}  // namespace zorfp
