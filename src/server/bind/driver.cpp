// Bindings of the members every class has in some form: the port, the settings, the call results
// and the line-speed change.
#include "driver/members.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;
using server::BindLocal;
using server::BindPut;

const server::Bindings kPortBindings{
    Bind<bool(Byte, std::uint32_t, Byte, Byte)>(&FPInit, "FPInit"),
    Bind<bool(Byte, Byte, Byte)>(&FPInit, "FPInit"),
    Bind<bool(const AnsiString&, std::uint32_t, Byte, Byte)>(&FPInitEx, "FPInitEx"),
    Bind<bool(const AnsiString&, Byte, Byte)>(&FPInitEx, "FPInitEx"),
    Bind(&FPClose, "FPClose"),
};

const server::Bindings kSettingsBindings{
    BindLocal(&Lang, "Lang"),
    BindPut(&PutLang, "Lang"),
    BindLocal(&CP866, "CP866"),
    BindPut(&PutCP866, "CP866"),
    BindLocal(&AnswerWaiting, "AnswerWaiting"),
    BindPut(&PutAnswerWaiting, "AnswerWaiting"),
    BindLocal(&RepeatCount, "RepeatCount"),
    BindPut(&PutRepeatCount, "RepeatCount"),
    BindLocal(&LogRecord, "LogRecord"),
    BindPut(&PutLogRecord, "LogRecord"),
};

const server::Bindings kCallResultBindings{
    BindLocal(&GetByteResult, "GetByteResult"),
    BindLocal(&GetByteStatus, "GetByteStatus"),
    BindLocal(&GetByteReserv, "GetByteReserv"),
    BindLocal(&GetTextErrorMessage, "GetTextErrorMessage"),
    BindLocal(&GetTextErrorMessage, "FPErrorMessage"),
};

const server::Bindings kLineSpeedBindings{
    Bind<bool(Byte)>(&FPChangeBaudRate, {"FPChangeBaudRate", "FPChangeRate"}),
    Bind<bool(Byte, bool)>(&FPChangeBaudRate, "FPChangeBaudRate"),
};

}  // namespace
}  // namespace zorfp
