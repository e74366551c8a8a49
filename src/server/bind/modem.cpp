// Bindings of the modem status: the update and the values it holds (05-03, EP-06).
#include "commands/modem.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::HeldField;

const server::Bindings kModemBindings{
    Bind(&ModemStatusUpdate, "ModemStatusUpdate"),
    HeldField<&HeldModem, &ModemRecord::SecondCnt>("ModemSecondCnt"),
    HeldField<&HeldModem, &ModemRecord::RROXchgTime>("ModemRROXchgTime"),
    HeldField<&HeldModem, &ModemRecord::ACQXchgTime>("ModemACQXchgTime"),
    HeldField<&HeldModem, &ModemRecord::FirstUnsendPIDDateTime>("ModemFirstUnsendPIDDateTime"),
    HeldField<&HeldModem, &ModemRecord::PID_Unused>("ModemPID_Unused"),
    HeldField<&HeldModem, &ModemRecord::PID_CurPers>("ModemPID_CurPers"),
    HeldField<&HeldModem, &ModemRecord::PID_LastWrite>("ModemPID_LastWrite"),
    HeldField<&HeldModem, &ModemRecord::PID_LastSign>("ModemPID_LastSign"),
    HeldField<&HeldModem, &ModemRecord::PID_LastSend>("ModemPID_LastSend"),
    HeldField<&HeldModem, &ModemRecord::SN>("ModemSN"),
    HeldField<&HeldModem, &ModemRecord::ID_DEV>("ModemID_DEV"),
    HeldField<&HeldModem, &ModemRecord::ID_SAM>("ModemID_SAM"),
    HeldField<&HeldModem, &ModemRecord::NT_SAM>("ModemNT_SAM"),
    HeldField<&HeldModem, &ModemRecord::NT_SESSION>("ModemNT_SESSION"),
    HeldField<&HeldModem, &ModemRecord::FailCode>("ModemFailCode"),
    HeldField<&HeldModem, &ModemRecord::Res1>("ModemRes1"),
    HeldField<&HeldModem, &ModemRecord::BatVoltage>("ModemBatVoltage"),
    HeldField<&HeldModem, &ModemRecord::DCVoltage>("ModemDCVoltage"),
    HeldField<&HeldModem, &ModemRecord::BatCurrent>("ModemBatCurrent"),
    HeldField<&HeldModem, &ModemRecord::Temperature>("ModemTemperature"),
    HeldField<&HeldModem, &ModemRecord::State1>("ModemState1"),
    HeldField<&HeldModem, &ModemRecord::State2>("ModemState2"),
    HeldField<&HeldModem, &ModemRecord::State3>("ModemState3"),
    HeldField<&HeldModem, &ModemRecord::LanState1>("ModemLanState1"),
    HeldField<&HeldModem, &ModemRecord::LanState2>("ModemLanState2"),
    HeldField<&HeldModem, &ModemRecord::RROXchgResult>("ModemRROXchgResult"),
    HeldField<&HeldModem, &ModemRecord::ACQXchgResult>("ModemACQXchgResult"),
    HeldField<&HeldModem, &ModemRecord::Res2>("ModemRes2"),
    HeldField<&HeldModem, &ModemRecord::RROXchgErrorCnt>("ModemRROXchgErrorCnt"),
    HeldField<&HeldModem, &ModemRecord::RSSI>("ModemRSSI"),
    HeldField<&HeldModem, &ModemRecord::RSSI_BER>("ModemRSSI_BER"),
    HeldField<&HeldModem, &ModemRecord::USSDResult>("ModemUSSDResult"),
    HeldField<&HeldModem, &ModemRecord::OSVer>("ModemOSVer"),
    HeldField<&HeldModem, &ModemRecord::OSRev>("ModemOSRev"),
    HeldField<&HeldModem, &ModemRecord::SysTime>("ModemSysTime"),
    HeldField<&HeldModem, &ModemRecord::NETIPAddr>("ModemNETIPAddr"),
    HeldField<&HeldModem, &ModemRecord::NETGate>("ModemNETGate"),
    HeldField<&HeldModem, &ModemRecord::NETMask>("ModemNETMask"),
    HeldField<&HeldModem, &ModemRecord::MODIPAddr>("ModemMODIPAddr"),
    HeldField<&HeldModem, &ModemRecord::ACQIPAddr>("ModemACQIPAddr"),
    HeldField<&HeldModem, &ModemRecord::ACQPort>("ModemACQPort"),
};

}  // namespace
}  // namespace zorfp
