// Bindings of the memory card: the reports of a day, reprinting, saving into a file, and the
// folder and automatic-copy settings.
#include "commands/memory_card.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::BindLocal;
using server::BindPut;
using server::HeldField;

const server::Bindings kMemoryCardBindings{
    Bind(&FPFindMMCReportsOnDate, "FPFindMMCReportsOnDate"),
    HeldField<&HeldMemoryCard, &MemoryCardValues::MMCFirstReport>("GetMMCFirstReport"),
    HeldField<&HeldMemoryCard, &MemoryCardValues::MMCLastReport>("GetMMCLastReport"),
    Bind(&FPPrintMMC, "FPPrintMMC"),
    Bind(&FPSaveReportFromMMC, "FPSaveReportFromMMC"),
    BindLocal(&MMCReportFolder, "MMCReportFolder"),
    BindPut(&PutMMCReportFolder, "MMCReportFolder"),
    BindLocal(&AutoSaveReportFromMMC, "AutoSaveReportFromMMC"),
    BindPut(&PutAutoSaveReportFromMMC, "AutoSaveReportFromMMC"),
};

}  // namespace
}  // namespace zorfp
