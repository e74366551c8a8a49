// The printer's memory as the host reads it by address (0x1C): fiscal memory, journal and the
// registers copied into it.
#include "sim/model_commands.h"

namespace zorfp::sim {
namespace {

// Memory read: address (low, high), page, length; answers the bytes read.
Reply HandleMemoryRead(PrinterModel& m, const Request& r) {
  if (r.params.size() != 4) return RefuseBadParameter(m);
  const unsigned address = r.params[0] | r.params[1] << 8;
  const Byte page = r.params[2];
  const std::size_t length = r.params[3];
  const bool known_page = page == 0x00 || page == kRegisterPage;
  if (!known_page || length == 0 || address + length > 0x10000) return RefuseBadParameter(m);
  ProjectRegisters(m);
  return Reply::Ok(m.memory.Read(page, static_cast<std::uint16_t>(address), length));
}

constexpr CommandEntry kJournalCommands[] = {
    {0x1C, "memory read", VariantSet::All(), Effect::kQuery, &HandleMemoryRead},
};

}  // namespace

std::span<const CommandEntry> JournalCommands() {
  return kJournalCommands;
}

Bytes MemoryMap::Read(Byte page, std::uint16_t address, std::size_t length) const {
  Bytes out(length, 0);
  const auto it = pages_.find(page);
  if (it == pages_.end()) return out;
  for (std::size_t i = 0; i < length && address + i < it->second.size(); ++i)
    out[i] = it->second[address + i];
  return out;
}

void MemoryMap::Write(Byte page, std::uint16_t address, std::span<const Byte> bytes) {
  Bytes& memory = pages_[page];
  if (memory.empty()) memory.resize(0x10000, 0);
  for (std::size_t i = 0; i < bytes.size() && address + i < memory.size(); ++i)
    memory[address + i] = bytes[i];
}

void ProjectRegisters(PrinterModel& m) {
  // Cutter: bit 3 set means switched off.
  const Byte cutter = m.printing.cutter_enabled ? 0x00 : 0x08;
  m.memory.Write(kRegisterPage, 0x301A, std::span(&cutter, 1));
  ProjectDayRegisters(m);
  ProjectProgrammingRegisters(m);
  ProjectTaxRegisters(m);
}

}  // namespace zorfp::sim
