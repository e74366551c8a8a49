// Fault injection: what can go wrong on the printer's side of the line, decided from a seeded
// generator so that a run can be repeated exactly.
//
// Each received frame with a good checksum is an occasion for every fault, checked in this order:
// silent, nak, syn (these three refuse the frame without executing it), lose-answer (executes, then
// sends nothing), truncate, drop-byte, corrupt-byte, noise (these spoil the answer on its way out).
// A fault is counted as an occasion only when the checks before it let the frame through.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string_view>

#include "sim/bytes.h"

namespace zorfp::sim {

enum class FaultKind { kSilent, kNak, kSyn, kLoseAnswer, kTruncate, kDropByte, kCorruptByte, kNoise };
inline constexpr int kFaultKindCount = 8;

// "drop-byte", "lose-answer", ...
std::string_view FaultName(FaultKind kind);
std::optional<FaultKind> ParseFaultName(std::string_view name);

// When a fault strikes: with a probability at every occasion, or on a run of consecutive occasions.
struct FaultRule {
  double probability = 0.0;
  std::uint32_t times = 0;  // non-zero: strike on `times` occasions, the first being occasion `first`
  std::uint32_t first = 1;

  static FaultRule Never() { return {}; }
  static FaultRule Always() { return {1.0, 0, 1}; }
  static FaultRule WithProbability(double p) { return {p, 0, 1}; }
  static FaultRule Times(std::uint32_t n, std::uint32_t first = 1) { return {0.0, n, first}; }

  bool active() const { return probability > 0.0 || times > 0; }
};

// "0.25" (probability), "1" (always), "3x" (the next three occasions), "1x@4" (the fourth only).
std::optional<FaultRule> ParseFaultRule(std::string_view text);

struct FaultSettings {
  std::array<FaultRule, kFaultKindCount> rules{};
  std::chrono::milliseconds delay{0};  // before the first byte of every answer

  FaultRule& operator[](FaultKind k) { return rules[static_cast<std::size_t>(k)]; }
  const FaultRule& operator[](FaultKind k) const { return rules[static_cast<std::size_t>(k)]; }
};

class FaultInjector {
 public:
  FaultInjector(const FaultSettings& settings, std::uint64_t seed);

  // Counts an occasion of `kind` and says whether the fault strikes on it.
  bool Strikes(FaultKind kind);

  // Replaces one rule and starts counting its occasions afresh.
  void SetRule(FaultKind kind, FaultRule rule);
  void ClearRules();
  std::chrono::milliseconds delay() const { return settings_.delay; }
  void set_delay(std::chrono::milliseconds delay) { settings_.delay = delay; }

  std::uint64_t strikes(FaultKind kind) const { return strikes_[static_cast<std::size_t>(kind)]; }

  // The ways an answer is spoiled. Each leaves at least one byte.
  void DropByte(Bytes& out);     // one byte removed
  void CorruptByte(Bytes& out);  // one byte changed
  void Truncate(Bytes& out);     // a proper prefix kept
  // One to eight bytes of line noise. Never a control byte, so noise cannot pass for a frame,
  // an ACK, a NAK or a SYN: it always spoils the attempt it precedes.
  Bytes Noise();

 private:
  std::uint64_t Below(std::uint64_t n);
  double Unit();

  std::mt19937_64 rng_;  // fixed bit for bit by the C++ standard: a seed repeats a run anywhere
  FaultSettings settings_;
  std::array<std::uint64_t, kFaultKindCount> occasions_{};
  std::array<std::uint64_t, kFaultKindCount> strikes_{};
};

}  // namespace zorfp::sim
