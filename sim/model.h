// The simulated printer's state: everything a fiscal printer keeps between commands.
//
// The registers are plain data so that tests and the demo can set up a situation directly (through
// Simulator::WithModel); the behaviour is in the free functions below and in the command handlers,
// one file per area (model_<area>.cpp, model_commands.h). Each area keeps its registers in one
// struct of its own. Texts the printer holds are code page 866 bytes, as they travel on the wire.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "sim/bytes.h"
#include "sim/day_registers.h"
#include "sim/framing.h"
#include "sim/json.h"
#include "sim/receipt.h"
#include "sim/state_flags.h"
#include "sim/state_articles.h"
#include "sim/state_programming.h"
#include "sim/state_modem.h"
#include "sim/state_printing.h"
#include "sim/state_memory_card.h"
#include "sim/state_reports.h"
#include "sim/tax_table.h"
#include "sim/variant.h"

namespace zorfp::sim {

struct CommandEntry;

struct CivilTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const CivilTime&) const = default;
};

// The printer's clock: the host's clock plus an offset that setting the date or time changes.
class DeviceClock {
 public:
  using TimePoint = std::chrono::system_clock::time_point;

  TimePoint Now() const { return std::chrono::system_clock::now() + offset_; }
  // Local time, as the printer shows it.
  CivilTime NowCivil() const;
  // Moves the clock so that it reads `t` now (local time).
  void Set(const CivilTime& t);

  std::chrono::seconds offset() const { return offset_; }
  void set_offset(std::chrono::seconds offset) { offset_ = offset; }

 private:
  std::chrono::seconds offset_{0};
};

CivilTime ToCivil(DeviceClock::TimePoint t);
// "2024-01-15 09:30:00"
std::string FormatCivil(const CivilTime& t);

// The page of the memory map that holds the registers the host reads by address.
inline constexpr Byte kRegisterPage = 0x10;

// Memory the host reads by address (command 0x1C): 64 KiB pages, zero where nothing was written.
class MemoryMap {
 public:
  Bytes Read(Byte page, std::uint16_t address, std::size_t length) const;
  void Write(Byte page, std::uint16_t address, std::span<const Byte> bytes);

 private:
  std::map<Byte, Bytes> pages_;
};

struct Identity {
  std::string serial_number;  // the first 10 characters of the status block's first text
  Cp866Text model_name;       // the 9 characters after it
  Cp866Text fiscal_number;    // 10 characters
  Bytes version_tag;          // 5 bytes; unused where the variant has none
};

struct ModeFlags {
  bool payment_begun = false;
  bool cash_drawer = false;
  bool refund_receipt = false;
  bool taxes_added = false;  // else included in prices
  bool day_open = false;
  bool receipt_open = false;
  bool customer_display = false;
  bool service_report_only_receipt = false;
  bool taxes_changed = false;
  bool service_report_open = false;
  bool online_print = false;
};

struct Fiscalization {
  bool done = false;
  CivilTime at;
};

struct HeaderLine {
  Cp866Text text;
  bool double_width = false;
  bool double_height = false;
};

struct PaperState {
  bool receipt_low = false;
  bool receipt_out = false;
  bool journal_low = false;  // paper control tape, where the variant has one
  bool journal_out = false;
  bool connection_error = false;
};

// Troubles the printer reports in the status and reserve bytes of every answer.
struct DeviceConditions {
  bool not_ready = false;
  bool fiscal_memory_full = false;
  bool clock_failure = false;
  bool display_failure = false;
  bool low_voltage = false;
  bool journal_over_72h = false;  // variants whose status bit 1 is about the electronic journal
  bool operation_denied = false;
  bool finish_after_error = false;
  bool personalized = true;  // where the variant has personalization
};

struct LineSettings {
  int baud = 9600;
  bool usb = false;
};

// Line rates selected by the speed index of command 0x26.
inline constexpr std::array<int, 3> kLineRates = {9600, 19200, 115200};

// A good the printer keeps by code; a sale item may print its name instead of sending one.
struct Article {
  Cp866Text name;
  std::int64_t price = 0;
  int tax_group = 0;
  Byte status = 0;
  ArticleDay day;  // what the day's items booked (model_articles.cpp)
};

// Receives each printed line (code page 866, without the line end).
using TapeSink = std::function<void(std::string_view line)>;

// What the status request and the printer-state request report, and the line (model_status.cpp).
struct StatusState {
  Identity identity;
  Fiscalization fiscalization;
  ModeFlags mode;  // the receipt flags follow the receipt (receipt_flow.cpp keeps them)
  PaperState paper;
  DeviceConditions conditions;
  LineSettings line;
  bool last_command_failed = false;
};

// The paper side (model_printing.cpp).
struct PrintingState {
  bool cutter_enabled = true;
  TapeSink tape;
  PrintingRegisters registers;  // non-fiscal document, display, the copy (state_printing.h)
};

// What the host programs: header lines and the article table (model_programming.cpp).
struct ProgrammingState {
  std::array<HeaderLine, 4> header;  // the fourth is the registration code line
  std::map<std::uint64_t, Article> articles;
  SettingsState settings;  // cashiers, passwords, lines, payment names, service settings
};

struct PrinterModel {
  // A fiscalized printer with the factory identity of its variant.
  explicit PrinterModel(Variant v);

  const VariantTraits& traits() const { return Traits(variant); }

  Variant variant;
  StatusState status;
  DeviceClock clock;  // model_clock.cpp
  PrintingState printing;
  ProgrammingState programming;
  TaxTable taxes;    // model_taxes.cpp
  MemoryMap memory;  // served by the memory read (model_journal.cpp)
  FlagsState flags;  // model_flags.cpp
  ModemState modem;  // model_modem.cpp

  // Receipts and the day: items, payment and totals share them (receipt_flow.h).
  std::optional<DeviceClock::TimePoint> day_opened_at;
  Receipt receipt;
  std::size_t receipt_item_limit = 100;
  DayRegisters day;
  std::int64_t drawer = 0;                // cash in the drawer
  std::uint32_t last_receipt_number = 0;  // numbers run on across days

  ReportsState reports;   // Z reports, fiscal memory, journal (model_reports.cpp)
  MemoryCardState card;   // 05-02, 05-03 (model_memory_card.cpp)
};

// Runs one command through the variant's command table. `entry` is the table entry used, or null
// when the variant does not know the command (it is then refused as not supported).
struct Execution {
  Answer answer;
  const CommandEntry* entry = nullptr;
};
Execution Execute(PrinterModel& m, std::span<const Byte> command);

// The status byte and reserve byte every answer carries.
Byte StatusByte(const PrinterModel& m);
Byte ReserveByte(const PrinterModel& m);

// Answer data of the status request (0x00) and of the printer-state request (0x30).
Byte ModeFlagsA(const PrinterModel& m);
Byte ModeFlagsB(const PrinterModel& m);
Bytes StatusBlock(const PrinterModel& m);
Byte PrinterStateByte(const PrinterModel& m);

// The day has been open for more than 24 hours.
bool DayTooLong(const PrinterModel& m);

// Copies registers the host reads by address into the memory map (model_journal.cpp).
void ProjectRegisters(PrinterModel& m);
// The day registers' part of it (model_totals.cpp).
void ProjectDayRegisters(PrinterModel& m);
// The tax table's part (model_taxes.cpp).
void ProjectTaxRegisters(PrinterModel& m);
// The Z report's and the journal's part of it (model_reports.cpp).
void ProjectReportRegisters(PrinterModel& m);

// Puts a line on the paper.
void Print(PrinterModel& m, std::string_view cp866_line);

// The registers as one JSON object, each area writing its own part (model_json.cpp).
void WriteJson(const PrinterModel& m, Json& j);

}  // namespace zorfp::sim
