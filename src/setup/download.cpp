#include "setup/download.h"

#include <fstream>
#include <system_error>
#include <vector>

#include "setup/package.h"
#include "setup/text.h"

namespace zorfp::setup {
namespace {

constexpr std::size_t kReadBlock = 16 * 1024;

std::uint64_t FileSize(const std::filesystem::path& p) {
  std::error_code ec;
  const std::uintmax_t n = std::filesystem::file_size(p, ec);
  return ec ? 0 : n;
}

}  // namespace

std::optional<std::string> DownloadFileName(std::string_view url) {
  url = url.substr(0, url.find_first_of("?#"));
  const std::size_t scheme = url.find("://");
  if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  const std::size_t slash = url.rfind('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string name(url.substr(slash + 1));
  if (!IsSafeFileName(name)) return std::nullopt;
  return name;
}

Download::Download(Transport& transport, std::string url, std::filesystem::path folder,
                   std::optional<std::uint64_t> exact_size, Clock clock)
    : transport_(transport),
      url_(std::move(url)),
      folder_(std::move(folder)),
      exact_size_(exact_size),
      clock_(std::move(clock)) {
  if (const auto name = DownloadFileName(url_)) {
    name_ = *name;
    target_ = EntryPath(folder_, name_);
  }
}

std::filesystem::path Download::PartFile() const {
  std::filesystem::path p = target_;
  p += ".part";
  return p;
}

DownloadOutcome Download::Run(const std::atomic<bool>& pause, DownloadSink& sink) {
  if (name_.empty()) return DownloadOutcome::kBadName;
  sink.Status(kConnecting);
  const std::filesystem::path part = PartFile();
  std::uint64_t have = FileSize(part);
  if (have > 0) sink.Status(Format("Resuming download at: %llu", static_cast<unsigned long long>(have)));
  OpenResult opened = transport_.Open(url_, have);
  if (have > 0 && opened.status == OpenResult::kRangeRefused) {
    have = 0;
    opened = transport_.Open(url_, 0);
  }
  if (opened.status == OpenResult::kFailed || opened.status == OpenResult::kRangeRefused) {
    error_ = opened.error;
    return DownloadOutcome::kFailed;
  }
  // Only a confirmed range may be appended to; anything else is the file from its start.
  if (opened.status != OpenResult::kResumed) have = 0;
  std::ofstream out(part, std::ios::binary | (have > 0 ? std::ios::app : std::ios::trunc));
  if (!out) {
    transport_.Close();
    error_ = "the download folder cannot be written";
    return DownloadOutcome::kFailed;
  }
  const std::optional<std::uint64_t> total =
      opened.length ? std::optional<std::uint64_t>(have + *opened.length) : exact_size_;
  const std::uint64_t started_at = have;
  const double started = clock_();
  std::vector<char> block(kReadBlock);
  std::uint64_t done = have;
  for (;;) {
    if (pause.load()) {
      transport_.Close();
      return DownloadOutcome::kPaused;
    }
    const std::optional<std::size_t> got = transport_.Read(block.data(), block.size());
    if (!got) {
      transport_.Close();
      error_ = "the connection was lost";
      return DownloadOutcome::kInterrupted;
    }
    if (*got == 0) break;
    out.write(block.data(), static_cast<std::streamsize>(*got));
    out.flush();
    if (!out) {
      transport_.Close();
      error_ = "the download folder cannot be written";
      return DownloadOutcome::kFailed;
    }
    done += *got;
    const double elapsed = clock_() - started;
    const double speed = elapsed > 0 ? static_cast<double>(done - started_at) / elapsed : 0;
    const int percent = total && *total > 0 ? static_cast<int>(std::min<std::uint64_t>(done, *total) * 100 / *total) : -1;
    std::string remaining;
    if (total && speed > 0 && *total > done) {
      remaining = RemainingText(static_cast<std::uint64_t>(static_cast<double>(*total - done) / speed), speed);
    }
    sink.Progress(percent, DownloadingText(name_, done, total), SpeedText(speed), remaining);
  }
  transport_.Close();
  out.close();
  if (opened.length && done < have + *opened.length) {
    error_ = "the connection was lost";
    return DownloadOutcome::kInterrupted;
  }
  std::error_code ec;
  if (exact_size_ && done != *exact_size_) {
    // Never run: what arrived is not the file the configuration describes.
    std::filesystem::remove(part, ec);
    sink.Status(kWrongSize);
    return DownloadOutcome::kWrongSize;
  }
  std::filesystem::remove(target_, ec);
  std::filesystem::rename(part, target_, ec);
  if (ec) {
    error_ = "the downloaded file cannot be moved to its name";
    return DownloadOutcome::kFailed;
  }
  return DownloadOutcome::kDone;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < 1024) return Format("%llu bytes", static_cast<unsigned long long>(bytes));
  const char* units[] = {"KB", "MB", "GB", "TB"};
  double v = static_cast<double>(bytes) / 1024;
  int u = 0;
  while (v >= 1024 && u < 3) v /= 1024, ++u;
  const auto tenths = static_cast<unsigned long long>(v * 10);
  return Format("%llu.%llu %s", tenths / 10, tenths % 10, units[u]);
}

std::string DownloadingText(std::string_view name, std::uint64_t done, std::optional<std::uint64_t> total) {
  const std::string n(name);
  if (!total || *total == 0) return Format("Downloading: %s  (%s)", n.c_str(), SizeText(done).c_str());
  const int percent = static_cast<int>(std::min(done, *total) * 100 / *total);
  return Format("Downloading: %s %d%%  (%s of %s)", n.c_str(), percent, SizeText(done).c_str(),
                SizeText(*total).c_str());
}

std::string SpeedText(double bytes_per_second) {
  const auto tenths = static_cast<unsigned long long>(bytes_per_second * 10 / 1024);
  return Format("%d.%d KB/s", static_cast<int>(tenths / 10), static_cast<int>(tenths % 10));
}

std::string RemainingText(std::uint64_t seconds, double bytes_per_second) {
  const std::string speed = SizeText(static_cast<std::uint64_t>(bytes_per_second));
  const int h = static_cast<int>(seconds / 3600), m = static_cast<int>(seconds / 60 % 60),
            s = static_cast<int>(seconds % 60);
  if (h > 0) return Format("%d hr %d min at %s/sec", h, m, speed.c_str());
  if (m > 0) return Format("%d min %d sec at %s/sec", m, s, speed.c_str());
  return Format("%d sec at %s/sec", s, speed.c_str());
}

}  // namespace zorfp::setup
