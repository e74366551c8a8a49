// What the host programs besides the header and the articles: cashiers and passwords, the lines
// printed around a receipt, payment-form names and the service settings (model_programming.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/bytes.h"
#include "sim/cp866.h"

namespace zorfp::sim {

// Password numbers of commands 0x05 and 0x06: 1 to 8 the cashiers, 0 the programming password,
// 9 the reports password. The memory map keeps them as ten words: cashiers 1 to 8, programming,
// reports.
inline constexpr int kPasswordNumbers = 10;
inline constexpr int kProgrammingPassword = 0;
inline constexpr int kReportsPassword = 9;

// A line of command 0x17 with its print attributes.
struct TextLine {
  Cp866Text text;
  bool double_width = false;
  bool double_height = false;
};

// Line codes 0, 2, 3 advertising lines before the receipt, 1, 4, 5 final lines, 6 and 7 the extra
// header lines.
inline constexpr int kTextLineCodes = 8;

struct SettingsState {
  std::array<std::uint16_t, kPasswordNumbers> passwords{};  // by number
  std::array<Cp866Text, kPasswordNumbers> names;            // by number
  std::optional<int> cashier;                               // registered with 0x06
  std::array<TextLine, kTextLineCodes> lines;
  std::array<Cp866Text, 10> payment_names;  // EP-06, forms 1 to 10 (4, cash, keeps its own)
  bool logo = false;
  int line_spacing = 0;
  int contrast = 100;          // EP-05, EP-06
  int items_format = 0;        // 0x3C
  bool squeezed = false;       // 0x3A turns it over
};

struct PrinterModel;
// The password table and the payment names at their places in the memory map.
void ProjectProgrammingRegisters(PrinterModel& m);
// The extra header and advertising lines after the header, the final lines at the receipt's end.
void PrintLinesBeforeReceipt(PrinterModel& m);
void PrintLinesAfterReceipt(PrinterModel& m);

}  // namespace zorfp::sim
