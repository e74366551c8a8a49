// Bindings of the memory read.
#include "commands/journal.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;

const server::Bindings kMemoryBindings{
    Bind(&FPGetMemoryData, "FPGetMemoryData"),
};

}  // namespace
}  // namespace zorfp
