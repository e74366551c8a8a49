// Bindings of the members every class has in some form: the port, the settings, the call results
// and the line-speed change.
#include "driver/members.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;
using server::BindPut;

const server::Bindings kPortBindings{
    Bind<bool(Byte, std::uint32_t, Byte, Byte)>(&FPInit, "FPInit"),
    Bind<bool(Byte, Byte, Byte)>(&FPInit, "FPInit"),
    Bind<bool(const AnsiString&, std::uint32_t, Byte, Byte)>(&FPInitEx, "FPInitEx"),
    Bind<bool(const AnsiString&, Byte, Byte)>(&FPInitEx, "FPInitEx"),
    Bind(&FPClose, "FPClose"),
};

const server::Bindings kSettingsBindings{
    Bind(&Lang, "Lang"),
    BindPut(&PutLang, "Lang"),
    Bind(&CP866, "CP866"),
    BindPut(&PutCP866, "CP866"),
    Bind(&AnswerWaiting, "AnswerWaiting"),
    BindPut(&PutAnswerWaiting, "AnswerWaiting"),
    Bind(&RepeatCount, "RepeatCount"),
    BindPut(&PutRepeatCount, "RepeatCount"),
    Bind(&LogRecord, "LogRecord"),
    BindPut(&PutLogRecord, "LogRecord"),
};

const server::Bindings kCallResultBindings{
    Bind(&GetByteResult, "GetByteResult"),   Bind(&GetByteStatus, "GetByteStatus"),
    Bind(&GetByteReserv, "GetByteReserv"),   Bind(&GetTextErrorMessage, "GetTextErrorMessage"),
    Bind(&FPErrorMessage, "FPErrorMessage"),
};

const server::Bindings kLineSpeedBindings{
    Bind<bool(Byte)>(&FPChangeBaudRate, "FPChangeBaudRate"),
    Bind<bool(Byte, bool)>(&FPChangeBaudRate, "FPChangeBaudRate"),
    Bind(&FPChangeRate, "FPChangeRate"),
};

}  // namespace
}  // namespace zorfp
