// Bindings of the date and time members: the printer's clock in the locale's formats (newer
// classes) and as the older classes read and set it, the values 05-02 and 05-03 store, and the
// fiscalization moment of the status block, fresh or as FPGetCurrentStatus kept it.
#include "commands/clock.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::BindLocal;
using server::BindPut;

// A property write that talks to the printer: it runs the call prologue like any command.
template <typename... A>
server::Binding CommandPut(void (*fn)(Driver&, A...), const char* name) {
  server::Binding b = BindPut(fn, name);
  b.prologue = true;
  return b;
}

const server::Bindings kClockBindings{
    Bind(&GetCurrentDate, {"CurrentDate", "FPGetDate"}),
    CommandPut(&PutCurrentDate, "CurrentDate"),
    Bind(&GetCurrentTime, {"CurrentTime", "FPGetTime"}),
    CommandPut(&PutCurrentTime, "CurrentTime"),
    Bind(&WritePrinterDate, "FPSetDate"),
    Bind(&WritePrinterTime, "FPSetTime"),
};

const server::Bindings kStoredClockBindings{
    BindLocal(&GetCurrentDateEx, "CurrentDateEx"), BindPut(&PutCurrentDateEx, "CurrentDateEx"),
    BindLocal(&GetCurrentTimeEx, "CurrentTimeEx"), BindPut(&PutCurrentTimeEx, "CurrentTimeEx"),
    Bind(&FPGetCurrentDate, "FPGetCurrentDate"),   Bind(&FPSetCurrentDate, "FPSetCurrentDate"),
    Bind(&FPGetCurrentTime, "FPGetCurrentTime"),   Bind(&FPSetCurrentTime, "FPSetCurrentTime"),
};

const server::Bindings kFiscalizationBindings{
    Bind(&GetRegistrationDate, "GetRegistrationDate"),
    Bind(&GetRegistrationTime, "GetRegistrationTime"),
    Bind(&GetRegistrationDateTime, "GetRegistrationDateTime"),
    BindLocal(&FiscalizationDateTime, "FiscalizationDateTime"),
    BindLocal(&FiscalizationDateStr, "FiscalizationDateStr"),
    BindLocal(&FiscalizationTimeStr, "FiscalizationTimeStr"),
};

}  // namespace
}  // namespace zorfp
