// The commands the printer executes, area by area.
//
// Each area's file (model_status.cpp, model_items.cpp, ...) owns a table of its commands, sorted by
// code, and their handlers; the lookup walks the list of areas (model_commands.cpp). Adding a
// command's device side is one row in its area's table plus its handler in the same file. A command
// no table holds for the variant is refused as not supported.
#pragma once

#include <span>
#include <string_view>

#include "sim/bytes.h"
#include "sim/model.h"
#include "sim/variant.h"

namespace zorfp::sim {

struct Request {
  Byte code = 0;
  std::span<const Byte> params;  // the command bytes after the code
};

// What a handler decides; Execute adds the status and reserve bytes.
struct Reply {
  Byte result = 0;
  Bytes data;

  static Reply Ok(Bytes data = {}) { return Reply{0, std::move(data)}; }
  static Reply Refuse(Byte result) { return Reply{result, {}}; }
};

using Handler = Reply (*)(PrinterModel&, const Request&);

enum class Effect {
  kChangesState,  // an executed or refused command sets the "last command failed" flag
  kQuery,         // leaves that flag alone, so the host can read it
};

struct CommandEntry {
  Byte code;
  std::string_view name;
  VariantSet variants;
  Effect effect;
  Handler handler;
};

// The tables, one function per area that has commands.
std::span<const CommandEntry> StatusCommands();    // model_status.cpp
std::span<const CommandEntry> TotalsCommands();    // model_totals.cpp
std::span<const CommandEntry> ItemsCommands();     // model_items.cpp
std::span<const CommandEntry> PaymentCommands();   // model_payment.cpp
std::span<const CommandEntry> PrintingCommands();  // model_printing.cpp
std::span<const CommandEntry> JournalCommands();   // model_journal.cpp
std::span<const CommandEntry> ClockCommands();     // model_clock.cpp
std::span<const CommandEntry> FlagsCommands();     // model_flags.cpp
std::span<const CommandEntry> ProgrammingCommands();  // model_programming.cpp
std::span<const CommandEntry> ArticlesCommands();  // model_articles.cpp
std::span<const CommandEntry> TaxesCommands();     // model_taxes.cpp
std::span<const CommandEntry> ReportsCommands();   // model_reports.cpp
std::span<const CommandEntry> MemoryCardCommands();  // model_memory_card.cpp

struct CommandArea {
  std::string_view name;
  std::span<const CommandEntry> (*commands)();
};
std::span<const CommandArea> CommandAreas();

// The row that serves `code` on `v`, or null.
const CommandEntry* FindCommand(Variant v, Byte code);

// While a non-fiscal document is open the printer refuses receipts and reports (model_printing.cpp).
bool RefusedInNonFiscalDocument(const PrinterModel& m, const CommandEntry& e);

// A byte the host sent outside any frame reaches the modem (05-03, EP-06); returns what it
// answers at once, usually nothing (model_modem.cpp).
Bytes HearOutsideFrames(PrinterModel& m, Byte b);

// Shared checks.
inline Reply RefuseBadParameter(const PrinterModel& m) {
  return Reply::Refuse(m.traits().bad_parameter_result);
}

}  // namespace zorfp::sim
