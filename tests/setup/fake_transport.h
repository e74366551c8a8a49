// A server in memory for the download logic: serves one file, honours or ignores ranges, and can
// drop the connection after a number of bytes.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "setup/download.h"

namespace zorfp::setup::testing {

class FakeTransport : public Transport {
 public:
  std::string file;
  bool honours_ranges = true;
  bool refuses_ranges = false;     // answers 416
  bool tells_length = true;
  std::size_t drop_after = SIZE_MAX;  // bytes served per connection before it breaks
  bool fail_open = false;
  std::vector<std::uint64_t> asked;   // resume positions, one per open

  OpenResult Open(const std::string&, std::uint64_t resume_at) override {
    asked.push_back(resume_at);
    served_ = 0;
    if (fail_open) return {OpenResult::kFailed, std::nullopt, "no server"};
    if (resume_at > 0 && refuses_ranges) return {OpenResult::kRangeRefused, std::nullopt, "416"};
    position_ = resume_at > 0 && honours_ranges ? resume_at : 0;
    const OpenResult::Status s = position_ > 0 ? OpenResult::kResumed : OpenResult::kWhole;
    return {s, tells_length ? std::optional<std::uint64_t>(file.size() - position_) : std::nullopt, ""};
  }
  std::optional<std::size_t> Read(void* out, std::size_t n) override {
    if (served_ >= drop_after) return std::nullopt;
    n = std::min({n, file.size() - position_, drop_after - served_, std::size_t{1000}});
    std::memcpy(out, file.data() + position_, n);
    position_ += n;
    served_ += n;
    return n;
  }
  void Close() override { ++closed; }
  int closed = 0;

 private:
  std::size_t position_ = 0;
  std::size_t served_ = 0;
};

}  // namespace zorfp::setup::testing
