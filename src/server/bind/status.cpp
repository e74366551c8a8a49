// Bindings of the status and identity members: the status block, CurrentStatus, the printer
// state byte, the cutter and the raw memory read.
#include "commands/memory.h"
#include "commands/printer_state.h"
#include "commands/status.h"
#include "server/binding.h"

namespace zorfp {
namespace {

using server::Bind;

const server::Bindings kStatusFlagBindings{
    Bind(&GetBoxStatus, "GetBoxStatus"),
    Bind(&GetSmenaOpened, "GetSmenaOpened"),
    Bind(&GetSmenaStatus, "GetSmenaStatus"),
    Bind(&GetCheckOpened, "GetCheckOpened"),
    Bind(&GetCheckOpenedStatus, "GetCheckOpenedStatus"),
    Bind(&GetCheckType, "GetCheckType"),
    Bind(&GetCheckStatus, "GetCheckStatus"),
    Bind(&GetWorkMode, "GetWorkMode"),
    Bind(&GetFiscalizationStatus, "GetFiscalizationStatus"),
    Bind(&GetPrintMode, "GetPrintMode"),
    Bind(&GetRegistrationRegim, "GetRegistrationRegim"),
    Bind(&GetLastCommandStatus, "GetLastCommandStatus"),
    Bind(&GetErrorCommandStatus, "GetErrorCommandStatus"),
};

const server::Bindings kIdentityBindings{
    Bind(&GetSerialNumber, "GetSerialNumber"),
    Bind(&GetFiscalNumber, "GetFiscalNumber"),
    Bind(&GetHardwareVersion, "GetHardwareVersion"),
};

const server::Bindings kCurrentStatusBindings{
    Bind(&FPGetCurrentStatus, "FPGetCurrentStatus"),
    Bind(&BeginingPayments, "BeginingPayments"),
    Bind(&RefundReceiptType, "RefundReceiptType"),
    Bind(&DayOpened, "DayOpened"),
    Bind(&ReceiptOpened, "ReceiptOpened"),
    Bind(&FiscalMode, "FiscalMode"),
    Bind(&Failure, "Failure"),
    Bind(&OnlinePrintMode, "OnlinePrintMode"),
    Bind(&SerialNumber, "SerialNumber"),
    Bind(&FiscalNumber, "FiscalNumber"),
    Bind(&FirmwareVersion, "FirmwareVersion"),
};

const server::Bindings kPrinterStateBindings{
    Bind(&GetPrnErrorConnection, "GetPrnErrorConnection"),
    Bind(&GetReceiptLow, "GetReceiptLow"),
    Bind(&GetReceiptEmpty, "GetReceiptEmpty"),
    Bind(&GetCutterStatus, "GetCutterStatus"),
    Bind(&FPGetMemoryData, "FPGetMemoryData"),
};

}  // namespace
}  // namespace zorfp
