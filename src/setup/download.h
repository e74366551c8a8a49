// Downloading a prerequisite's setup program into "<name>.part" in the download folder, resuming
// an interrupted download where the part file ends when the server confirms the range, and moving
// the file to its name only when it is whole. The transport (the internet library on Windows, a
// fake in tests) is a small interface.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zorfp::setup {

struct OpenResult {
  enum Status {
    kFailed,
    kWhole,          // the server sends the file from its first byte
    kResumed,        // the server confirmed the range asked for (HTTP 206, FTP 350)
    kRangeRefused,   // the server refused the range (HTTP 416): start over
  } status = kFailed;
  std::optional<std::uint64_t> length;  // bytes still to come, when the server says
  std::string error;
};

class Transport {
 public:
  virtual ~Transport() = default;
  // Asks for the file from `resume_at` on (0: the whole file).
  virtual OpenResult Open(const std::string& url, std::uint64_t resume_at) = 0;
  // Bytes read (0 at the end), or nullopt when the connection failed.
  virtual std::optional<std::size_t> Read(void* out, std::size_t n) = 0;
  virtual void Close() = 0;
};

// What a download shows while it runs.
class DownloadSink {
 public:
  virtual ~DownloadSink() = default;
  virtual void Status(const std::string& text) = 0;
  // `percent` is -1 when the size is not known.
  virtual void Progress(int percent, const std::string& text, const std::string& speed,
                        const std::string& remaining) = 0;
};

enum class DownloadOutcome { kDone, kPaused, kInterrupted, kWrongSize, kFailed, kBadName };

// The file name a download of `url` is saved as: its last path segment, when that is a safe name.
std::optional<std::string> DownloadFileName(std::string_view url);

class Download {
 public:
  using Clock = std::function<double()>;  // seconds, monotonic

  Download(Transport& transport, std::string url, std::filesystem::path folder,
           std::optional<std::uint64_t> exact_size, Clock clock);

  // Runs until the file is whole, the transport fails, or `pause` is set between two reads; the
  // part file stays for the next run in every case but a wrong size.
  DownloadOutcome Run(const std::atomic<bool>& pause, DownloadSink& sink);

  std::filesystem::path Target() const { return target_; }
  std::filesystem::path PartFile() const;
  const std::string& Error() const { return error_; }

 private:
  Transport& transport_;
  std::string url_;
  std::filesystem::path folder_;
  std::filesystem::path target_;
  std::optional<std::uint64_t> exact_size_;
  Clock clock_;
  std::string name_;
  std::string error_;
};

// The texts of the download page.
std::string SizeText(std::uint64_t bytes);
std::string DownloadingText(std::string_view name, std::uint64_t done, std::optional<std::uint64_t> total);
std::string SpeedText(double bytes_per_second);
std::string RemainingText(std::uint64_t seconds, double bytes_per_second);

inline constexpr const char* kConnecting = "Connecting...";
inline constexpr const char* kWrongSize = "Wrong size";

}  // namespace zorfp::setup
