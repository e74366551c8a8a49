// Settings properties, call results and the line-speed change.
#include "driver/members.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kChangeBaudRate = 0x26;
constexpr Byte kUsbLine = 0x20;

}  // namespace

Byte Lang(Driver& d) { return d.lang(); }
void PutLang(Driver& d, Byte value) { d.module().Lang[Index(d.traits().id)] = value; }
bool CP866(Driver& d) { return d.module().settings.CP866; }
void PutCP866(Driver& d, bool value) { d.module().settings.CP866 = value; }
Byte AnswerWaiting(Driver& d) { return d.module().settings.AnswerWaiting; }
void PutAnswerWaiting(Driver& d, Byte value) { d.module().settings.AnswerWaiting = value; }
Byte RepeatCount(Driver& d) { return d.module().settings.RepeatCount; }
void PutRepeatCount(Driver& d, Byte value) { d.module().settings.RepeatCount = value; }
bool LogRecord(Driver& d) { return d.module().settings.LogRecord; }
void PutLogRecord(Driver& d, bool value) { d.module().settings.LogRecord = value; }

Byte GetByteResult(Driver& d) { return d.call().ReportedResult; }
Byte GetByteStatus(Driver& d) { return d.call().ReportedStatus; }
Byte GetByteReserv(Driver& d) { return d.call().AnswerReserve; }
AnsiString GetTextErrorMessage(Driver& d) { return ClientTextOut(d.call().ErrorText, d.module().settings.CP866); }

bool FPChangeBaudRate(Driver& d, Byte SpeedIndex, bool USB) {
  if (SpeedIndex > 2) return d.Refuse(texts::kIncorrectBaudRate);
  return d.Execute({kChangeBaudRate, static_cast<Byte>(SpeedIndex | (USB ? kUsbLine : 0x00))});
}

bool FPChangeBaudRate(Driver& d, Byte SpeedIndex) { return FPChangeBaudRate(d, SpeedIndex, false); }

}  // namespace zorfp
