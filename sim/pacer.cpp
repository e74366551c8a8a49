#include "sim/pacer.h"

#include <algorithm>

namespace zorfp::sim {

void LinePacer::set_baud(int baud) {
  baud_ = baud > 0 ? baud : 9600;
  byte_time_ =
      std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / baud_));
}

std::size_t LinePacer::Arrived(Clock::duration elapsed) const {
  const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
  if (ns < 0) return 0;
  // Beyond a thousand seconds every queue has long arrived; the bound keeps the product in range.
  const long long capped = std::min(ns, 1'000'000'000'000LL);
  // Duration(n) <= ns  <=>  n * 1e10 / baud < ns + 1  <=>  n * 1e10 <= (ns + 1) * baud - 1
  return static_cast<std::size_t>(((capped + 1) * baud_ - 1) / 10'000'000'000LL);
}

LinePacer::Clock::time_point LinePacer::Book(Clock::time_point now) {
  line_free_ = std::max(now, line_free_) + byte_time_;
  return line_free_;
}

void LineSchedule::Queue(std::span<const Byte> bytes, Clock::time_point at) {
  if (bytes.empty()) return;
  if (empty()) {
    // Everything queued has gone out: start the buffer afresh, but the line's time stands.
    bytes_.clear();
    runs_.clear();
    head_ = 0;
  }
  const std::size_t first = bytes_.size();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  if (!runs_.empty() && at <= line_free_) {
    // Handed over while the line is still busy: the bytes follow the last run without a gap.
    Run& last = runs_.back();
    last.end = bytes_.size();
    line_free_ = last.start + pacer_.Duration(last.end - last.first);
    return;
  }
  const Clock::time_point start = std::max(at, line_free_);
  runs_.push_back(Run{first, bytes_.size(), start});
  line_free_ = start + pacer_.Duration(bytes.size());
}

LineSchedule::Clock::time_point LineSchedule::next_due() const {
  for (const Run& r : runs_) {
    if (head_ < r.end) return r.start + pacer_.Duration(head_ - r.first + 1);
  }
  return line_free_;
}

std::span<const Byte> LineSchedule::TakeDue(Clock::time_point now) {
  std::size_t due = head_;
  for (const Run& r : runs_) {
    if (r.end <= due) continue;
    due = std::min(r.end, r.first + pacer_.Arrived(now - r.start));
    if (due < r.end) break;
  }
  due = std::max(due, head_);
  const std::span<const Byte> out(bytes_.data() + head_, due - head_);
  head_ = due;
  return out;
}

void LineSchedule::Clear() {
  bytes_.clear();
  runs_.clear();
  head_ = 0;
  line_free_ = {};
}

}  // namespace zorfp::sim
