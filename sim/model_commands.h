// The command table: which commands each variant executes, and the handler of each.
//
// Adding a command's device side is one row in kCommands (model_commands.cpp) plus its handler in
// the model file of its area (model_status.cpp, model_print.cpp, ...). A command not in the table
// for the variant is refused as not supported.
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

std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(Variant v, Byte code);

// Handlers, one file per area.
Reply HandleStatusRequest(PrinterModel& m, const Request& r);        // model_status.cpp
Reply HandlePrinterStateRequest(PrinterModel& m, const Request& r);  // model_status.cpp
Reply HandleLineFeed(PrinterModel& m, const Request& r);             // model_print.cpp
Reply HandleMemoryRead(PrinterModel& m, const Request& r);           // model_memory.cpp
Reply HandleChangeBaudRate(PrinterModel& m, const Request& r);       // model_line.cpp
Reply HandleSaleItem(PrinterModel& m, const Request& r);             // model_items.cpp
Reply HandleRefundItem(PrinterModel& m, const Request& r);           // model_items.cpp
Reply HandleVoidLastItem(PrinterModel& m, const Request& r);         // model_items.cpp
Reply HandleCancelReceipt(PrinterModel& m, const Request& r);        // model_receipt.cpp
Reply HandleComment(PrinterModel& m, const Request& r);              // model_receipt.cpp
Reply HandleDiscount(PrinterModel& m, const Request& r);             // model_discount.cpp
Reply HandlePayment(PrinterModel& m, const Request& r);              // model_payment.cpp
Reply HandleCashIn(PrinterModel& m, const Request& r);               // model_cash.cpp
Reply HandleCashOut(PrinterModel& m, const Request& r);              // model_cash.cpp
Reply HandleDrawerQuery(PrinterModel& m, const Request& r);          // model_cash.cpp
Reply HandleDayTotals(PrinterModel& m, const Request& r);            // model_totals.cpp
Reply HandleReceiptTotals(PrinterModel& m, const Request& r);        // model_totals.cpp

// Shared checks.
inline Reply RefuseBadParameter(const PrinterModel& m) {
  return Reply::Refuse(m.traits().bad_parameter_result);
}

}  // namespace zorfp::sim
