#include "sim/tape_format.h"

#include <cstdio>

namespace zorfp::sim {

std::string MoneyText(std::int64_t amount) {
  const std::uint64_t magnitude = amount < 0 ? -static_cast<std::uint64_t>(amount) : amount;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%llu.%02llu", amount < 0 ? "-" : "",
                static_cast<unsigned long long>(magnitude / 100),
                static_cast<unsigned long long>(magnitude % 100));
  return buf;
}

std::string QuantityText(std::uint32_t quantity, int decimals) {
  std::string digits = std::to_string(quantity);
  if (decimals <= 0) return digits;
  const auto places = static_cast<std::size_t>(decimals);
  if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
  digits.insert(digits.size() - places, ".");
  return digits;
}

std::string PercentText(std::uint32_t hundredths) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%u.%02u%%", hundredths / 100, hundredths % 100);
  return buf;
}

std::string DateTimeText(const CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute,
                t.second);
  return buf;
}

std::vector<Cp866Text> Wrapped(std::string_view text) {
  std::vector<Cp866Text> lines;
  do {
    lines.emplace_back(text.substr(0, kTapeWidth));
    text.remove_prefix(std::min(text.size(), kTapeWidth));
  } while (!text.empty());
  return lines;
}

std::vector<Cp866Text> Columns(std::string_view left, std::string_view right) {
  if (left.size() + 1 + right.size() <= kTapeWidth) {
    return {Cp866Text(left) + std::string(kTapeWidth - left.size() - right.size(), ' ') + Cp866Text(right)};
  }
  std::vector<Cp866Text> lines = Wrapped(left);
  Cp866Text& last = lines.back();
  if (last.size() + 1 + right.size() <= kTapeWidth) {
    last += std::string(kTapeWidth - last.size() - right.size(), ' ') + Cp866Text(right);
  } else {
    lines.push_back(std::string(kTapeWidth - std::min(kTapeWidth, right.size()), ' ') + Cp866Text(right));
  }
  return lines;
}

Cp866Text Centered(std::string_view text) {
  if (text.size() >= kTapeWidth) return Cp866Text(text.substr(0, kTapeWidth));
  return std::string((kTapeWidth - text.size()) / 2, ' ') + Cp866Text(text);
}

Cp866Text Rule() {
  return Cp866Text(kTapeWidth, '-');
}

}  // namespace zorfp::sim
