#include "sim/faults.h"

#include <charconv>
#include <string>

#include "sim/framing.h"

namespace zorfp::sim {
namespace {

constexpr std::array<std::string_view, kFaultKindCount> kNames = {
    "silent", "nak", "syn", "lose-answer", "truncate", "drop-byte", "corrupt-byte", "noise"};

bool IsControl(Byte b) {
  return b == kStx || b == kEtx || b == kAck || b == kDle || b == kNak || b == kSyn;
}

std::optional<std::uint32_t> ParseCount(std::string_view s) {
  std::uint32_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

}  // namespace

std::string_view FaultName(FaultKind kind) {
  return kNames[static_cast<std::size_t>(kind)];
}

std::optional<FaultKind> ParseFaultName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<FaultKind>(i);
  }
  return std::nullopt;
}

std::optional<FaultRule> ParseFaultRule(std::string_view text) {
  if (const auto x = text.find('x'); x != std::string_view::npos) {
    const auto times = ParseCount(text.substr(0, x));
    std::optional<std::uint32_t> first = 1;
    const std::string_view rest = text.substr(x + 1);
    if (!rest.empty()) first = rest.front() == '@' ? ParseCount(rest.substr(1)) : std::nullopt;
    if (!times || *times == 0 || !first || *first == 0) return std::nullopt;
    return FaultRule::Times(*times, *first);
  }
  double p = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), p);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || !(p >= 0.0 && p <= 1.0)) {
    return std::nullopt;
  }
  return FaultRule::WithProbability(p);
}

FaultInjector::FaultInjector(const FaultSettings& settings, std::uint64_t seed)
    : rng_(seed), settings_(settings) {}

bool FaultInjector::Strikes(FaultKind kind) {
  const auto i = static_cast<std::size_t>(kind);
  const FaultRule& rule = settings_.rules[i];
  if (!rule.active()) return false;
  const std::uint64_t occasion = ++occasions_[i];
  bool strikes = false;
  if (rule.times > 0) {
    strikes = occasion >= rule.first && occasion < std::uint64_t{rule.first} + rule.times;
  } else {
    strikes = rule.probability >= 1.0 || Unit() < rule.probability;
  }
  if (strikes) ++strikes_[i];
  return strikes;
}

void FaultInjector::SetRule(FaultKind kind, FaultRule rule) {
  const auto i = static_cast<std::size_t>(kind);
  settings_.rules[i] = rule;
  occasions_[i] = 0;
}

void FaultInjector::ClearRules() {
  settings_.rules = {};
  occasions_ = {};
}

std::uint64_t FaultInjector::Below(std::uint64_t n) {
  return n <= 1 ? 0 : rng_() % n;
}

double FaultInjector::Unit() {
  return static_cast<double>(rng_() >> 11) * 0x1.0p-53;
}

void FaultInjector::DropByte(Bytes& out) {
  if (out.size() < 2) return;
  out.erase(out.begin() + static_cast<std::ptrdiff_t>(Below(out.size())));
}

void FaultInjector::CorruptByte(Bytes& out) {
  if (out.empty()) return;
  out[Below(out.size())] ^= static_cast<Byte>(1 + Below(255));
}

void FaultInjector::Truncate(Bytes& out) {
  if (out.size() < 2) return;
  out.resize(1 + Below(out.size() - 1));
}

Bytes FaultInjector::Noise() {
  Bytes noise(1 + Below(8));
  for (Byte& b : noise) {
    do {
      b = static_cast<Byte>(Below(256));
    } while (IsControl(b));
  }
  return noise;
}

}  // namespace zorfp::sim
