// Judging an outcome: the printer's status and result bytes, a silent printer, or the driver's
// own refusal, written into the last-call state as a code, a status and a text.
#pragma once

#include <array>

#include "errors/messages.h"
#include "link/last_call.h"

namespace zorfp {

// The languages of the seven driver classes, in the order 08-01, EP-01, EP-02, EP-05, 05-02,
// EP-06, 05-03. The last class whose setting is 0 or 2 wins; otherwise Russian.
Byte MessageLanguage(const std::array<Byte, 7>& langs_in_order);

// True when the printer executed the command (status and result both 0); the call state is then
// left untouched. Otherwise stores result, status and the message and returns false.
bool EvaluateAnswer(LastCall& call, Byte status, Byte result, Byte variant_number, Byte language);

// Who reports: the newer interfaces set a code (and status 255 where due); the older ones
// (EP-01, 08-01) set the text alone.
enum class Reporting { kCodeAndText, kTextOnly };

// Code 101: the printer (or, with `modem`, the modem) does not answer.
void ReportNoAnswer(LastCall& call, Byte lang, Reporting reporting, bool modem = false);

// A failure found by the driver itself. `argument_check` marks a check made before any exchange;
// those also set the status to 255.
void ReportDriverError(LastCall& call, const DriverError& error, Byte lang, Reporting reporting,
                       bool argument_check);

}  // namespace zorfp
