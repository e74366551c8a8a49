// The data modem of 05-03 and EP-06: its status record through the unframed exchange, the values
// the Modem* properties return, and the diagnostic report it prints on the receipt tape.
#pragma once

#include "driver/driver.h"

namespace zorfp {

// Asks the modem for its status record and decodes it; with `PrintStatus` also prints the report
// (from the values held, when the record could not be used). True only when the record was
// decoded and everything asked for printed.
bool ModemStatusUpdate(Driver& d, bool PrintStatus);

// The record every 05-03 and EP-06 object shares.
ModemRecord& HeldModem(Driver& d);

}  // namespace zorfp
