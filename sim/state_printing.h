// What the printer keeps about printing outside receipts: the non-fiscal document being printed,
// the customer display, and the last closed receipt for its copy (model_printing.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/bytes.h"

namespace zorfp::sim {

inline constexpr std::size_t kDisplayLines = 4;
inline constexpr std::size_t kDisplayWidth = 20;

struct PrintingRegisters {
  // The customer display's lines as last sent (code page 866).
  std::array<Cp866Text, kDisplayLines> display;
  // The lines of the receipt being printed, and of the last one closed (what a copy reprints).
  std::vector<Cp866Text> receipt_lines;
  bool collecting_receipt = false;
  std::vector<Cp866Text> last_receipt;
  std::uint32_t non_fiscal_lines = 0;  // of the open non-fiscal document
  std::uint32_t drawer_openings = 0;
  std::uint32_t barcodes_printed = 0;
};

}  // namespace zorfp::sim
