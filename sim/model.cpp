#include "sim/model.h"

#include "sim/cp866.h"
#include "sim/model_commands.h"
#include "sim/result_codes.h"

namespace zorfp::sim {
namespace {

struct FactoryIdentity {
  const char* serial;
  const char* fiscal;
  Bytes version;
};

// Version tags: the newer variants are recognised by the letters ЕП (0x85 0x8F) or by their own tag.
FactoryIdentity FactoryDefaults(Variant v) {
  switch (v) {
    case Variant::kEp01:
      return {"ZR01000017", "3101000017", {0x85, 0x8F, '-', '0', '1'}};
    case Variant::k0801:
      return {"ZR08000024", "3108000024", {}};
    case Variant::kEp02:
      return {"ZR02000031", "3102000031", {0x85, 0x8F, '-', '0', '2'}};
    case Variant::kEp05:
      return {"ZR05000048", "3105000048", {0x85, 0x8F, '-', '0', '5'}};
    case Variant::kEp06:
      return {"ZR06000055", "3106000055", {0x85, 0x8F, '-', '0', '6'}};
    case Variant::k0502:
      return {"ZR52000062", "3152000062", {'0', '5', '-', '0', '2'}};
    case Variant::k0503:
      return {"ZR53000079", "3153000079", {'0', '5', '-', '0', '3'}};
  }
  return {};
}

}  // namespace

PrinterModel::PrinterModel(Variant v) : variant(v) {
  FactoryIdentity f = FactoryDefaults(v);
  Identity& id = status.identity;
  id.serial_number = f.serial;
  id.model_name = " " + std::string(Tag(v));
  id.fiscal_number = f.fiscal;
  id.version_tag = std::move(f.version);
  status.fiscalization = {true, {2024, 1, 15, 9, 30, 0}};
  std::array<HeaderLine, 4>& header = programming.header;
  header[0].text = Utf8ToCp866("ООО \"ЗОРЯ\"");
  header[1].text = Utf8ToCp866("г. Киев, ул. Крещатик, 1");
  header[2].text = Utf8ToCp866("Магазин N 7");
  header[3].text = Utf8ToCp866("ПН 123456789012");
}

Execution Execute(PrinterModel& m, std::span<const Byte> command) {
  Execution e;
  Reply reply = Reply::Refuse(result::kCommandForbidden);
  if (!command.empty()) {
    e.entry = FindCommand(m.variant, command.front());
    if (e.entry && !RefusedInNonFiscalDocument(m, *e.entry))
      reply = e.entry->handler(m, Request{command.front(), command.subspan(1)});
  }
  if (!e.entry || e.entry->effect == Effect::kChangesState)
    m.status.last_command_failed = reply.result != result::kOk;
  e.answer.status = StatusByte(m);
  e.answer.result = reply.result;
  e.answer.reserve = ReserveByte(m);
  e.answer.data = std::move(reply.data);
  return e;
}

}  // namespace zorfp::sim
