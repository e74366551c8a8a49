// Bindings of the memory read, the fiscal-memory day record, the electronic journal, the capacity
// and the control-tape paper flags.
#include "commands/journal.h"
#include "commands/status.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::Family;
using server::HeldField;
using server::HeldFields;
using server::QueryField;

const server::Bindings kMemoryBindings{
    Bind(&FPGetMemoryData, "FPGetMemoryData"),
};

const server::Bindings kFiscalDayBindings{
    Bind(&FPGetFMDay, "FPGetFMDay"),
    HeldField<&HeldFiscalDay, &FiscalDayRecord::Date>("GetRepDate"),
    HeldField<&HeldFiscalDay, &GetRepDateEx>("GetRepDateEx"),
    HeldField<&HeldFiscalDay, &FiscalDayRecord::SaleReceipts>("GetRepSaleReceipts"),
    HeldField<&HeldFiscalDay, &FiscalDayRecord::RefundReceipts>("GetRepRefundReceipts"),
    HeldFields<&HeldFiscalDay, &FiscalDayRecord::SaleTurnover>(Family("GetRepTurnSaleOnTax_", "ABCDEF")),
    HeldFields<&HeldFiscalDay, &FiscalDayRecord::RefundTurnover>(Family("GetRepTurnRefundOnTax_", "ABCDEF")),
};

const server::Bindings kJournalBindings{
    Bind(&FPPrintLockReport, "FPPrintLockReport"),
    Bind(&FPUpdateStatusKLEF, "FPUpdateStatusKLEF"),
    Bind(&GetKLEFFirstPID, "GetKLEFFirstPID"),
    Bind(&GetKLEFLastPID, "GetKLEFLastPID"),
    Bind(&GetKLEFFreeBytes, "GetKLEFFreeBytes"),
    Bind(&GetKLEFBeginAdr, "GetKLEFBeginAdr"),
    Bind(&GetKLEFEndAdr, "GetKLEFEndAdr"),
    Bind(&GetKLEFDirectLastPID, "GetKLEFDirectLastPID"),
    Bind(&GetKLEFPersonalization, "GetKLEFPersonalization"),
    Bind(&GetKLEFBlockingDateTime, "GetKLEFBlockingDateTime"),
};

const server::Bindings kCapacityBindings{
    QueryField<&ReadCapacity, &Capacity::MaxItems, -1>("GetMaxItemsCount"),
    QueryField<&ReadCapacity, &Capacity::MaxRecords, -1>("GetMaxRecordsCount"),
    QueryField<&ReadCapacity, &Capacity::RecordsUsed, -1>("GetRecordsUsed"),
    QueryField<&ReadPrinterState, &PrinterState::JournalLow>("GetJournalLow"),
    QueryField<&ReadPrinterState, &PrinterState::JournalEmpty>("GetJournalEmpty"),
};

}  // namespace
}  // namespace zorfp
