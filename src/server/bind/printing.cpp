// Bindings of the non-fiscal printing: text lines, text lists, barcodes, the customer display, the
// paper and drawer actions, and the display and drawer flags of the status block.
#include "commands/printing.h"
#include "commands/status.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::HeldField;
using server::QueryField;

const server::Bindings kTextBindings{
    Bind<bool(bool, const AnsiString&, bool, bool)>(&FPSetString, "FPSetString"),
    Bind<bool(bool, const AnsiString&)>(&FPSetString, "FPSetString"),
    Bind<bool(Byte, const AnsiString&)>(&FPSendCustomer, "FPSendCustomer"),
    Bind<bool(bool, const AnsiString&)>(&FPSendCustomer, "FPSendCustomer"),
    Bind<bool(const AnsiString&, bool)>(&FPTransPrint, "FPTransPrint"),
    Bind<bool(const AnsiString&, bool, bool)>(&FPTransPrint, "FPTransPrint"),
    Bind(&FPTransPrintNew, "FPTransPrintNew"),
    Bind(&FPPrintCODE128C, "FPPrintCODE128C"),
    Bind(&FPPrintCODE128, "FPPrintCODE128"),
};

const server::Bindings kDeviceActionBindings{
    Bind(&FPLineFeed, "FPLineFeed"),
    Bind(&FPOpenBox, "FPOpenBox"),
    Bind(&FPCopyLastCheck, {"FPCopyLastCheck", "FPPrintCopy"}),
    Bind(&FPPrintVersion, {"FPPrintVersion", "FPPrintVer"}),
    Bind(&FPCplOnLine, "FPCplOnLine"),
    Bind(&FPCplInd, "FPCplInd"),
    Bind(&FPCplCutter, "FPCplCutter"),
};

const server::Bindings kDisplayFlagBindings{
    QueryField<&ReadStatus, &StatusBlock::DisplayMode>({"GetControlDisplay", "GetDisplayStatus"}),
    HeldField<&HeldStatus, &StatusBlock::CashDrawerOpened>("CashDrawerOpened"),
    HeldField<&HeldStatus, &StatusBlock::DisplayMode>("DisplayMode"),
};

}  // namespace
}  // namespace zorfp
