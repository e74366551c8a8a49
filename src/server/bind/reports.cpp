// Bindings of the printing reports, the last Z report's number and date, and the service and
// non-fiscal report flags. FPReadDayReport is bound with the day totals it keeps.
#include "commands/reports.h"
#include "commands/status.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::HeldField;
using server::QueryField;

const server::Bindings kReportBindings{
    Bind(&FPArtReport, "FPArtReport"),
    Bind(&FPDayReport, "FPDayReport"),
    Bind(&FPXArtReport, "FPXArtReport"),
    Bind(&FPDayClrReport, "FPDayClrReport"),
    Bind(&FPXArtReportExt, "FPXArtReportExt"),
    Bind(&FPXArtReportExtEx, "FPXArtReportExtEx"),
    Bind(&FPPeriodicReport, "FPPeriodicReport"),
    Bind(&FPPeriodicReportShort, "FPPeriodicReportShort"),
    Bind(&FPPeriodicNumberReport, "FPPeriodicNumberReport"),
};

const server::Bindings kLastZBindings{
    Bind(&GetNumZReport, {"GetNumZReport", "FPGetNumZReport"}),
    Bind(&GetNumZReportExt, "GetNumZReportExt"),
    Bind(&GetLastDateZReport, "GetLastDateZReport"),
    Bind(&GetLastDateZReportExt, "GetLastDateZReportExt"),
};

const server::Bindings kReportFlagBindings{
    QueryField<&ReadStatus, &StatusBlock::NonFiscalReportOpened>({"ServiceReportStatus", "GetServiceReportStatus"}),
    QueryField<&ReadStatus, &StatusBlock::ServiceReportOnlyReceipt>("GetServiceReportOnlyReceipt"),
    HeldField<&HeldStatus, &StatusBlock::NonFiscalReportOpened>("NonFiscalReportOpened"),
};

}  // namespace
}  // namespace zorfp
