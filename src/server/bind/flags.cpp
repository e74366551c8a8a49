// Bindings of the option flags (05-02, 05-03): the read and the write of the whole set, and the
// Flag properties and FeedLines over the class's copy.
#include "commands/flags.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::HeldBits;
using server::HeldSetting;

const server::Bindings kFlagsBindings{
    Bind(&FPGetFlags, "FPGetFlags"),
    Bind(&FPSetFlags, "FPSetFlags"),
    HeldBits<&HeldFlags, &OptionFlags::Group1, 0, 2, 3, 4, 6, 8, 9, 10, 12>("Flag1_"),
    HeldBits<&HeldFlags, &OptionFlags::Group3, 7, 8, 18, 19>("Flag3_"),
    HeldBits<&HeldFlags, &OptionFlags::Group4, 0, 1, 2, 7>("Flag4_"),
    HeldSetting<&HeldFlags, &OptionFlags::FeedLines>("FeedLines"),
};

}  // namespace
}  // namespace zorfp
