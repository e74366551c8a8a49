#include "commands/modem.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "commands/printing.h"
#include "commands/wire.h"
#include "dates/locale_formats.h"
#include "errors/codepage.h"
#include "errors/texts.h"
#include "link/exchange.h"

namespace zorfp {
namespace {

constexpr std::string_view kStatusRequest = "~~#01#";
constexpr std::size_t kBaseLength = 76;
constexpr std::size_t kExtendedLength = 189;
constexpr std::size_t kUssdSize = 79;

std::uint32_t BigEndian(std::span<const Byte> bytes) {
  std::uint32_t v = 0;
  for (const Byte b : bytes) v = v << 8 | b;
  return v;
}

std::int32_t Le32(AnswerReader& r) {
  return static_cast<std::int32_t>(r.UIntLE(4));
}
std::int32_t Le16(AnswerReader& r) {
  return static_cast<std::int32_t>(r.UIntLE(2));
}
std::int32_t Be(AnswerReader& r, std::size_t width) {
  return static_cast<std::int32_t>(BigEndian(r.Take(width)));
}

// Seconds since 1 January 2000 00:00 as date-and-time text in the system's format.
AnsiString ModemTime(std::uint32_t seconds, const LocaleFormats& locale) {
  using namespace std::chrono;
  const sys_seconds moment = sys_days(year{2000} / January / 1) + std::chrono::seconds(seconds);
  const sys_days day = floor<days>(moment);
  return FormatShortDate(year_month_day(day), locale) + " " +
         FormatLongTime(duration_cast<milliseconds>(moment - day), locale);
}

AnsiString Address(AnswerReader& r) {
  const std::span<const Byte> b = r.Take(4);
  if (b.size() != 4) return "0.0.0.0";
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

// The version is written in hexadecimal digits that read as a decimal number (0x0205 is 205);
// a digit above 9 simply counts as its value.
std::int32_t HexDigitsAsDecimal(std::uint32_t v) {
  std::int32_t out = 0;
  for (int shift = 12; shift >= 0; shift -= 4) out = out * 10 + static_cast<std::int32_t>(v >> shift & 0xF);
  return out;
}

void ReadBase(AnswerReader& r, const LocaleFormats& locale, ModemRecord& m) {
  m.SecondCnt = Le32(r);
  m.RROXchgTime = Le32(r);
  m.ACQXchgTime = Le32(r);
  m.FirstUnsendPIDDateTime = ModemTime(static_cast<std::uint32_t>(r.UIntLE(4)), locale);
  m.PID_Unused = Le32(r);
  m.PID_CurPers = Le32(r);
  m.PID_LastWrite = Le32(r);
  m.PID_LastSign = Le32(r);
  m.PID_LastSend = Le32(r);
  m.SN = Le32(r);
  m.ID_DEV = Le32(r);
  m.ID_SAM = Be(r, 4);
  m.NT_SAM = Be(r, 4);
  m.NT_SESSION = Be(r, 2);
  m.FailCode = r.U8();
  m.Res1 = r.U8();
  m.BatVoltage = Le16(r);
  m.DCVoltage = Le16(r);
  m.BatCurrent = Le16(r);
  m.Temperature = Le16(r);
  for (Byte* b : {&m.State1, &m.State2, &m.State3, &m.LanState1, &m.LanState2, &m.RROXchgResult,
                  &m.ACQXchgResult, &m.Res2}) {
    *b = r.U8();
  }
  m.RROXchgErrorCnt = Le16(r);
  m.RSSI = r.U8();
  m.RSSI_BER = r.U8();
}

void ReadExtended(AnswerReader& r, const LocaleFormats& locale, ModemRecord& m) {
  m.USSDResult = r.Text(kUssdSize);
  r.Skip(1);
  m.OSVer = HexDigitsAsDecimal(static_cast<std::uint32_t>(r.UIntLE(2)));
  m.OSRev = Le16(r);
  m.SysTime = ModemTime(static_cast<std::uint32_t>(r.UIntLE(4)), locale);
  for (AnsiString* a : {&m.NETIPAddr, &m.NETGate, &m.NETMask, &m.MODIPAddr, &m.ACQIPAddr}) *a = Address(r);
  m.ACQPort = Be(r, 2);
}

// The record after the length byte, or nullopt when the length is below the layout or runs past
// the bytes received: then nothing of it is used.
std::optional<ModemRecord> DecodeRecord(std::span<const Byte> raw, const LocaleFormats& locale) {
  if (raw.empty()) return std::nullopt;
  const std::size_t length = raw[0];
  if (length < kBaseLength || length > raw.size() - 1) return std::nullopt;
  AnswerReader r(raw.subspan(1, length));
  ModemRecord m;
  ReadBase(r, locale, m);
  for (AnsiString* a : {&m.NETIPAddr, &m.NETGate, &m.NETMask, &m.MODIPAddr, &m.ACQIPAddr}) *a = "0.0.0.0";
  if (length == kExtendedLength) ReadExtended(r, locale, m);
  return m;
}

// --- The printed report ------------------------------------------------------------------------

struct Code {
  unsigned value;
  const char* text;
};

std::string Lookup(std::span<const Code> table, unsigned value, const char* other) {
  for (const Code& c : table) {
    if (c.value == value) return c.text;
  }
  return other;
}

constexpr Code kFailCodes[] = {
    {0x00, "DPSWFAIL_NONE (0x00)"},
    {0x01, "DPSWFAIL_ECR_INIT_ERROR (0x01)"},
    {0x02, "DPSWFAIL_ECR_CHANGED (0x02)"},
    {0x03, "DPSWFAIL_ECR_PID_INVALID (0x03)"},
    {0x04, "DPSWFAIL_ECR_DATA_INVALID (0x04)"},
    {0x20, "DPSWFAIL_KSEF_INIT_ERROR (0x20)"},
    {0x21, "DPSWFAIL_KSEF_REC_INVALID (0x21)"},
    {0x22, "DPSWFAIL_KSEF_ALLOC_ERROR (0x22)"},
    {0x23, "DPSWFAIL_KSEF_WRITE_ERROR (0x23)"},
    {0x24, "DPSWFAIL_KSEF_FULL (0x24)"},
    {0x40, "DPSWFAIL_SAM_INIT_ERROR (0x40)"},
    {0x41, "DPSWFAIL_SAM_FAIL (0x41)"},
    {0x42, "DPSWFAIL_SAM_MISMATCH (0x42)"},
    {0x60, "DPSWFAIL_ACQ_REJECT (0x60)"},
};

std::string DriverStage(unsigned v) {
  v &= 0x7F;
  if (v == 0) return "DLS_NONE (0)";
  if (v == 1) return "DLS_INIT (1)";
  if (v == 2) return "DLS_WAIT_RECONNECT (2)";
  if (v == 4) return "DLS_PORT_OPEN (4)";
  if (v >= 5 && v <= 11) return "DLS_CMDx (5-11)";
  if (v >= 12 && v <= 14) return "DLS_INIT_MAIN (12-14)";
  if (v == 15 || v == 16) return "DLS_WAIT_INIT (15-16)";
  if (v == 17) return "DLS_PPP (17)";
  if (v >= 18 && v <= 24) return "DLS_DC_CMD (18-24)";
  if (v == 25) return "DLS_CLOSE (25)";
  return "DLS_UNKNOWN";
}

constexpr Code kLinkStages[] = {
    {0, "Initial (0)"},  {1, "Starting (1)"}, {2, "Closed (2)"},  {3, "Stopped (3)"}, {4, "Closing (4)"},
    {5, "Stopping (5)"}, {6, "ReqSent (6)"},  {7, "AckRcvd (7)"}, {8, "AckSent (8)"}, {9, "Opened (9)"},
};

constexpr Code kLanStates[] = {
    {0, "LMS_NONE (0x00)"},          {1, "LMS_POR_WAIT (0x01)"},      {2, "LMS_RESET (0x02)"},
    {3, "LMS_RESET_WAIT (0x03)"},    {4, "LMS_PHL_ON (0x04)"},        {5, "LMS_PHL_ON_WAIT (0x05)"},
    {6, "LMS_PHL_ON_WAIT_1 (0x06)"}, {7, "LMS_PHL_ON_WAIT_2 (0x07)"}, {8, "LMS_PHL_ON_WAIT_3 (0x08)"},
    {9, "LMS_MAIN (0x09)"},
};

constexpr Code kDhcpStates[] = {
    {0x00, "DHCP_NONE (0x00)"},           {0x01, "DHCP_START (0x01)"},
    {0x02, "DHCP_SEND_DISCOVER (0x02)"},  {0x04, "DHCP_SEND_REQUEST (0x04)"},
    {0x06, "DHCP_CHECK_LEASTIME (0x06)"}, {0x83, "DHCP_WAIT_OFFER (0x83)"},
    {0x85, "DHCP_WAIT_ACK (0x85)"},
};

constexpr Code kServerResults[] = {
    {0x00, "ECRRES_NO_ERROR (0x00)"},
    {0x01, "ECRRES_GENERAL_FAIL (0x01)"},
    {0x02, "ECRRES_TIMEOUT_INITTASK (0x02)"},
    {0x03, "ECRRES_NO_PERSON_REC (0x03)"},
    {0x04, "ECRRES_PID_MAP_ERR (0x04)"},
    {0x05, "ECRRES_PID_WRITE_ERR (0x05)"},
    {0x06, "ECRRES_PID_ALLOC_ERR (0x06)"},
    {0x07, "ECRRES_PID_READ_ERR (0x07)"},
    {0x08, "ECRRES_NOT_FISCAL_MODE (0x08)"},
    {0xFB, "ECRTR_INV_STATE (0xFB)"},
    {0xFC, "ECRTR_BUSY (0xFC)"},
    {0xFD, "ECRTR_CONFLICT (0xFD)"},
    {0xFE, "ECRTR_TIMEOUT (0xFE)"},
    {0xFF, "ECRTR_FAIL (0xFF)"},
};

constexpr Code kAcquirerResults[] = {
    {0x00, "XCHGRES_NO_ERROR (0x00)"},
    {0x01, "XCHGRES_GENERAL_FAIL (0x01)"},
    {0x02, "XCHGRES_TIMEOUT (0x02)"},
    {0x03, "XCHGRES_PID_MAP_ERR (0x03)"},
    {0x04, "XCHGRES_PID_READ_ERR (0x04)"},
    {0x05, "XCHGRES_PID_WRITE_ERR (0x05)"},
    {0x06, "XCHGRES_STA_RESP_LEN_ERR (0x06)"},
    {0x07, "XCHGRES_STA_RESP_TLGID_ERR (0x07)"},
    {0x08, "XCHGRES_STA_RESP_MAC_ERR (0x08)"},
    {0x09, "XCHGRES_SAM_BUSY (0x09)"},
    {0xF0, "SES_ERR_CNCT (0xF0)"},
    {0xF1, "SES_ERR_REJECT (0xF1)"},
    {0xF2, "SES_ERR_INTERNAL (0xF2)"},
    {0xF3, "SES_ERR_TIMEOUT (0xF3)"},
    {0xF4, "SES_CNCT_ACQ_CLOSE (0xF4)"},
    {0xF5, "SES_ACQ_BADRESP (0xF5)"},
    {0xF6, "SES_RETRY_CNT_OVERFLOW (0xF6)"},
    {0xF7, "SES_ACQ_SEND_BREAK (0xF7)"},
};

std::string SignalLevel(unsigned n) {
  const char* label = "Невідомо (";
  if (n < 2)
    label = "Немає сигналу (";
  else if (n <= 7)
    label = "Дуже поганий (";
  else if (n <= 13)
    label = "Поганий (";
  else if (n <= 19)
    label = "Прийнятний (";
  else if (n <= 25)
    label = "Хороший (";
  else if (n <= 31)
    label = "Відмінний (";
  else if (n == 99)
    label = "Не визначений (";
  return label + std::to_string(n) + ")";
}

std::string SignalQuality(unsigned n) {
  static constexpr const char* kClasses[] = {
      "Меньше 0.2% (",      "Від 0.2% до 0.4% (", "Від 0.4% до 0.8% (",  "Від 0.8% до 1.6% (",
      "Від 1.6% до 3.2% (", "Від 3.2% до 6.4% (", "Від 6.4% до 12.8% (", "Більше 12.8% (",
  };
  const char* label = n < std::size(kClasses) ? kClasses[n] : n == 99 ? "Не визначений (" : "Невідомо (";
  return label + std::to_string(n) + ")";
}

// "123,  0x0000007B": the decimal value, then the value in hexadecimal, two digits a byte.
std::string DecHex(std::int64_t value, int width) {
  const std::uint64_t mask = width >= 8 ? ~0ull : (1ull << (8 * width)) - 1;
  char hex[24];
  std::snprintf(hex, sizeof hex, "%0*llX", 2 * width, static_cast<unsigned long long>(value) & mask);
  return std::to_string(value) + ",  0x" + hex;
}

std::string Thousandths(std::int32_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%0.3f", value / 1000.0);
  return text;
}

std::string OsVersion(std::int32_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "%d.%02d", v / 100, v % 100);
  return text;
}

// One report line: a label in UTF-8 and its value (already in the driver's code page), or none
// where the modem's firmware has no such value.
struct ReportLine {
  bool printed;
  AnsiString text;
};

ReportLine Line(const char* label, const AnsiString& value, bool printed = true) {
  return {printed, Utf8ToAnsi(label) + value};
}

std::vector<ReportLine> Report(const ModemRecord& m) {
  const bool extended = m.OSRev >= 18 && m.OSRev <= 99;
  const auto u = [](const std::string& utf8) { return Utf8ToAnsi(utf8); };
  const AnsiString sec = u(" сек.");
  return {
      Line("******   ДІАГНОСТИКА МОДЕМА    ******", ""),
      Line("Серійний номер модема:\r\n SN: ", DecHex(m.SN, 4)),
      Line("Ідентифікатор модема:\r\n ID_DEV: ", DecHex(m.ID_DEV, 4)),
      Line("Ідентифікатор модуля безпеки:\r\n ID_SAM: ", DecHex(m.ID_SAM, 4)),
      Line("Версія ОС:\r\n OSVer: ", OsVersion(m.OSVer), extended),
      Line("Ревізія ОС:\r\n OSRev: ", DecHex(m.OSRev, 2), extended),
      Line("Системна дата/час:\r\n SysTime: ", m.SysTime, extended),
      Line("IP-адреса Ethernet інтерфейса:\r\n NETIPAddr: ", m.NETIPAddr, extended),
      Line("IP-адреса шлюза Ethernet інтерфейса:\r\n NETGate: ", m.NETGate, extended),
      Line("Маска мережі Ethernet інтерфейса:\r\n NETMask: ", m.NETMask, extended),
      Line("IP-адреса модемного інтерфейса:\r\n MODIPAddr: ", m.MODIPAddr, extended),
      Line("IP-адреса еквайера:\r\n ACQIPAddr: ", m.ACQIPAddr, extended),
      Line("Порт еквайера:\r\n ACQPort: ", DecHex(m.ACQPort, 2), extended),
      Line("Підписаних пакетів:\r\n NT_SAM: ", DecHex(m.NT_SAM, 4)),
      Line("Сеансів зв''язку з еквайером:\r\n NT_SESSION: ", DecHex(m.NT_SESSION, 2)),
      Line("Код помилки модема:\r\n FailCode: \r\n  ", Lookup(kFailCodes, m.FailCode, "DPSWFAIL_UNKNOWN")),
      Line("Час роботи модема:\r\n SecondCnt: ", DecHex(m.SecondCnt, 4) + sec),
      Line("Час від обміну з РРО:\r\n RROXchgTime: ", DecHex(m.RROXchgTime, 4) + sec),
      Line("Час від обміну з еквайером:\r\n ACQXchgTime: ", DecHex(m.ACQXchgTime, 4) + sec),
      Line("Дата першого не переданого пакета:\r\n FirstUnsendPID: ", m.FirstUnsendPIDDateTime),
      Line("Номер першого вільного пакета:\r\n PID_Unused: ", DecHex(m.PID_Unused, 4)),
      Line("Номер пакета поточної персоналізації:\r\n PID_CurPers: ", DecHex(m.PID_CurPers, 4)),
      Line("Номер останнього зчит. пакета з РРО:\r\n PID_LastWrite: ", DecHex(m.PID_LastWrite, 4)),
      Line("Номер останнього підписаного пакета:\r\n PID_LastSign: ", DecHex(m.PID_LastSign, 4)),
      Line("Номер останнього переданого пакета:\r\n PID_LastSend: ", DecHex(m.PID_LastSend, 4)),
      Line("Поточна стадія драйвера модема:\r\n ModemState1: \r\n  ", DriverStage(m.State1)),
      Line("Стадія PPP-з''єднання:\r\n ModemState2: \r\n  ", Lookup(kLinkStages, m.State2, "UNKNOWN")),
      Line("Стадія IP-з''єднання:\r\n ModemState3: \r\n  ", Lookup(kLinkStages, m.State3, "UNKNOWN")),
      Line("Стан Ethernet TP PHYS Layer:\r\n LanState1: \r\n  ",
           Lookup(kLanStates, m.LanState1, "LMS_UNKNOWN")),
      Line("Стан DHCP:\r\n LanState2: \r\n  ", Lookup(kDhcpStates, m.LanState2, "DHCP_UNKNOWN")),
      Line("Результат сеанса зв''язку з РРО:\r\n RROXchgResult: \r\n  ",
           Lookup(kServerResults, m.RROXchgResult, "ECRRES_UNKNOWN")),
      Line("Результат сеанса зв''язку з екв.:\r\n ACQXchgResult: \r\n  ",
           Lookup(kAcquirerResults, m.ACQXchgResult, "ECRRES_UNKNOWN")),
      Line("Кількість невдалих сеансів з РРО:\r\n RROXchgErrorCnt: ", DecHex(m.RROXchgErrorCnt, 2)),
      Line("Рівень сигнала GPRS/CDMA:\r\n RSSI: \r\n  ", u(SignalLevel(m.RSSI))),
      Line("Якість сигнала GPRS/CDMA:\r\n RSSI_BER: \r\n  ", u(SignalQuality(m.RSSI_BER)), extended),
      Line("Результат виконання USSD-запиту:\r\n USSDResult: \r\n  ", m.USSDResult),
      Line("Напруга на АКБ:\r\n BatVoltage: ", Thousandths(m.BatVoltage) + u(" В.")),
      Line("Напруга зовнішнього джерела живлення:\r\n DCVoltage: ", Thousandths(m.DCVoltage) + u(" В.")),
      Line("Струм заряду АКБ:\r\n BatCurrent: ", Thousandths(m.BatCurrent) + u(" А.")),
      Line("Температура:\r\n Temperature: ", std::to_string(m.Temperature) + u(" ° C.")),
      Line("Параметр Res1 (не використовується):\r\n Res1: ", DecHex(m.Res1, 1)),
      Line("Параметр Res2 (не використовується):\r\n Res2: ", DecHex(m.Res2, 1)),
      Line("Параметр Res3 (не використовується):\r\n Res3: ", DecHex(m.RSSI_BER, 1), m.OSRev == 0),
  };
}

// One text through the class's non-fiscal printing: 05-03 its text list, EP-06 station 1.
bool PrintText(Driver& d, const AnsiString& text, bool end_list) {
  if (d.traits().id == VariantId::kEP_06) return FPTransPrintNew(d, text, end_list, 1);
  return FPTransPrint(d, text, end_list);
}

// Line by line, stopping at the first that fails; the closing rule ends the list.
bool PrintReport(Driver& d, const ModemRecord& m) {
  for (const ReportLine& line : Report(m)) {
    if (line.printed && !PrintText(d, line.text, false)) return false;
  }
  return PrintText(d, AnsiString(37, '*'), true);
}

}  // namespace

ModemRecord& HeldModem(Driver& d) {
  return d.module().values[Index(VariantId::k05_03)].modem.record;
}

bool ModemStatusUpdate(Driver& d, bool PrintStatus) {
  // The call's outcome is this call's alone: nothing of an earlier command's answer survives it.
  LastCall& call = d.call();
  call.ReportedResult = 0;
  call.ReportedStatus = 0;
  call.ErrorText.clear();

  Bytes& answer = d.module().link.RawAnswer;
  const Bytes request(kStatusRequest.begin(), kStatusRequest.end());
  if (d.port() == nullptr || !SendRaw(d.link(), *d.port(), request, answer)) {
    ReportNoAnswer(call, d.lang(), d.reporting(), /*modem=*/true);
    return false;
  }
  const std::optional<ModemRecord> record = DecodeRecord(answer, d.module().env.locale);
  if (record) HeldModem(d) = *record;
  const bool printed = !PrintStatus || PrintReport(d, HeldModem(d));
  // A record that could not be used stays the reason for the failure, however the print went.
  if (!record) return d.Reject(texts::kDataFormatError);
  return printed;
}

}  // namespace zorfp
