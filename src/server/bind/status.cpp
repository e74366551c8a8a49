// Bindings of the status and identity members: the status block read afresh, the block
// FPGetCurrentStatus holds (05-02, 05-03), the printer-state byte and the cutter.
#include "commands/status.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::HeldField;
using server::QueryField;

const server::Bindings kStatusFlagBindings{
    QueryField<&ReadStatus, &StatusBlock::CashDrawerFlag>("GetBoxStatus"),
    QueryField<&ReadStatus, &StatusBlock::DayOpened>({"GetSmenaOpened", "GetSmenaStatus"}),
    QueryField<&ReadStatus, &StatusBlock::ReceiptOpened>({"GetCheckOpened", "GetCheckOpenedStatus"}),
    QueryField<&ReadStatus, &StatusBlock::RefundReceiptType>({"GetCheckType", "GetCheckStatus"}),
    QueryField<&ReadStatus, &StatusBlock::FiscalMode>({"GetWorkMode", "GetFiscalizationStatus"}),
    QueryField<&ReadStatus, &StatusBlock::OnlinePrintMode>({"GetPrintMode", "GetRegistrationRegim"}),
    QueryField<&ReadStatus, &StatusBlock::Failure>({"GetLastCommandStatus", "GetErrorCommandStatus"}),
};

const server::Bindings kIdentityBindings{
    QueryField<&ReadStatus, &StatusBlock::SerialNumber>("GetSerialNumber"),
    QueryField<&ReadStatus, &StatusBlock::FiscalNumber>("GetFiscalNumber"),
    QueryField<&ReadStatus, &StatusBlock::FirmwareVersion>("GetHardwareVersion"),
};

const server::Bindings kCurrentStatusBindings{
    Bind(&FPGetCurrentStatus, "FPGetCurrentStatus"),
    HeldField<&HeldStatus, &StatusBlock::BeginingPayments>("BeginingPayments"),
    HeldField<&HeldStatus, &StatusBlock::RefundReceiptType>("RefundReceiptType"),
    HeldField<&HeldStatus, &StatusBlock::DayOpened>("DayOpened"),
    HeldField<&HeldStatus, &StatusBlock::ReceiptOpened>("ReceiptOpened"),
    HeldField<&HeldStatus, &StatusBlock::FiscalMode>("FiscalMode"),
    HeldField<&HeldStatus, &StatusBlock::Failure>("Failure"),
    HeldField<&HeldStatus, &StatusBlock::OnlinePrintMode>("OnlinePrintMode"),
    HeldField<&HeldStatus, &StatusBlock::SerialNumber>("SerialNumber"),
    HeldField<&HeldStatus, &StatusBlock::FiscalNumber>("FiscalNumber"),
    HeldField<&HeldStatus, &StatusBlock::FirmwareVersion>("FirmwareVersion"),
};

const server::Bindings kPrinterStateBindings{
    QueryField<&ReadPrinterState, &PrinterState::ConnectionError>("GetPrnErrorConnection"),
    QueryField<&ReadPrinterState, &PrinterState::ReceiptLow>("GetReceiptLow"),
    QueryField<&ReadPrinterState, &PrinterState::ReceiptEmpty>("GetReceiptEmpty"),
    Bind(&GetCutterStatus, "GetCutterStatus"),
};

}  // namespace
}  // namespace zorfp
