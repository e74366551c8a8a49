// The registers in the state dump. Texts appear in UTF-8; the bytes the printer sends are in the
// status block, which is dumped in hex as well.
#include "sim/cp866.h"
#include "sim/json.h"
#include "sim/model.h"
#include "sim/receipt_json.h"

namespace zorfp::sim {

void WriteJson(const PrinterModel& m, JsonWriter& w) {
  w.BeginObject();
  w.Field("variant", Tag(m.variant));
  w.Field("serial_number", m.identity.serial_number);
  w.Field("model_name", Cp866ToUtf8(m.identity.model_name));
  w.Field("fiscal_number", Cp866ToUtf8(m.identity.fiscal_number));
  w.Field("version_tag",
          Cp866ToUtf8(std::string(m.identity.version_tag.begin(), m.identity.version_tag.end())));
  w.Field("fiscalized", m.fiscalization.done);
  w.Key("fiscalized_at");
  if (m.fiscalization.done) {
    w.String(FormatCivil(m.fiscalization.at));
  } else {
    w.Null();
  }
  w.Field("clock", FormatCivil(m.clock.NowCivil()));
  w.Field("clock_offset_s", static_cast<std::int64_t>(m.clock.offset().count()));

  const ModeFlags& f = m.mode;
  w.Key("mode");
  w.BeginObject();
  w.Field("day_open", f.day_open);
  w.Field("receipt_open", f.receipt_open);
  w.Field("refund_receipt", f.refund_receipt);
  w.Field("payment_begun", f.payment_begun);
  w.Field("cash_drawer", f.cash_drawer);
  w.Field("taxes_added", f.taxes_added);
  w.Field("taxes_changed", f.taxes_changed);
  w.Field("customer_display", f.customer_display);
  w.Field("service_report_open", f.service_report_open);
  w.Field("service_report_only_receipt", f.service_report_only_receipt);
  w.Field("online_print", f.online_print);
  w.EndObject();
  w.Key("day_opened_at");
  if (m.day_opened_at) {
    w.String(FormatCivil(ToCivil(*m.day_opened_at)));
  } else {
    w.Null();
  }

  w.Key("header");
  w.BeginArray();
  for (const HeaderLine& line : m.header) {
    w.BeginObject();
    w.Field("text", Cp866ToUtf8(line.text));
    w.Field("double_width", line.double_width);
    w.Field("double_height", line.double_height);
    w.EndObject();
  }
  w.EndArray();

  w.Key("paper");
  w.BeginObject();
  w.Field("receipt_low", m.paper.receipt_low);
  w.Field("receipt_out", m.paper.receipt_out);
  w.Field("journal_low", m.paper.journal_low);
  w.Field("journal_out", m.paper.journal_out);
  w.Field("connection_error", m.paper.connection_error);
  w.EndObject();

  const DeviceConditions& c = m.conditions;
  w.Key("conditions");
  w.BeginObject();
  w.Field("not_ready", c.not_ready);
  w.Field("fiscal_memory_full", c.fiscal_memory_full);
  w.Field("clock_failure", c.clock_failure);
  w.Field("display_failure", c.display_failure);
  w.Field("low_voltage", c.low_voltage);
  w.Field("journal_over_72h", c.journal_over_72h);
  w.Field("operation_denied", c.operation_denied);
  w.Field("finish_after_error", c.finish_after_error);
  w.Field("personalized", c.personalized);
  w.EndObject();

  w.Key("line");
  w.BeginObject();
  w.Field("baud", m.line.baud);
  w.Field("usb", m.line.usb);
  w.EndObject();

  WriteTaxesJson(m, w);
  WriteReceiptJson(m, w);
  WriteDayJson(m, w);

  w.Field("cutter_enabled", m.cutter_enabled);
  w.Field("last_command_failed", m.last_command_failed);
  w.Field("status_byte", static_cast<int>(StatusByte(m)));
  w.Field("reserve_byte", static_cast<int>(ReserveByte(m)));
  w.Field("status_block", HexString(StatusBlock(m)));
  w.EndObject();
}

}  // namespace zorfp::sim
