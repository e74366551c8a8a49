// How a line of a receipt is laid out on the paper roll: money and quantities as figures, a text and
// a figure in two columns, centred titles, long names wrapped. Everything works on code page 866
// text, one byte a character, for a roll of kTapeWidth characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/bytes.h"
#include "sim/model.h"

namespace zorfp::sim {

inline constexpr std::size_t kTapeWidth = 36;

// Smallest units with two decimals: 1250 -> "12.50", -5 -> "-0.05".
std::string MoneyText(std::int64_t amount);
// A quantity with its decimal places: (1500, 3) -> "1.500", (2, 0) -> "2".
std::string QuantityText(std::uint32_t quantity, int decimals);
// Hundredths of a percent: 750 -> "7.50%".
std::string PercentText(std::uint32_t hundredths);
// "15.01.2024 09:30:05"
std::string DateTimeText(const CivilTime& t);

// `left` and `right` on one line, `right` flush with the edge; when they do not fit, `left` wrapped
// over lines of its own and `right` alone on the last.
std::vector<Cp866Text> Columns(std::string_view left, std::string_view right);
std::vector<Cp866Text> Wrapped(std::string_view text);
Cp866Text Centered(std::string_view text);
Cp866Text Rule();

}  // namespace zorfp::sim
