// The exchange log: one record per port opening, frame sent, answer received, SYN wait and port
// closing, appended to a daily file in the folder "Log" beside the library.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "dates/locale_formats.h"
#include "link/bytes.h"
#include "link/clock.h"
#include "link/link.h"

namespace zorfp {

enum class LogKind : std::uint8_t { kOpen = 0, kSend = 1, kReceive = 2, kClose = 3, kWait = 4 };

class LogError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "dd/mm/yy hh:mm:ss.zzz" with the locale's separators, padded to 22 characters.
std::string LogStamp(const DateTime& t, const LocaleFormats& locale);

// "ZORFP(<short date>).log"; characters a file name cannot hold become "-".
std::string LogFileName(const DateTime& t, const LocaleFormats& locale);

// One record exactly as it is written, with its trailing CR LF. `data` is the frame or answer for
// kinds 1 and 2, and text for the others.
std::string FormatLogRecord(LogKind kind, const std::string& stamp, const std::string& tag,
                            const Bytes& data);

std::filesystem::path LogFolder(const Environment& env);

// Appends one record when LogRecord is on. Opens, writes and closes the file each time so that it
// can be read or removed while the driver runs. Throws LogError when the file cannot be written.
void WriteLog(const Link& link, LogKind kind, const Bytes& data);
inline void WriteLog(const Link& link, LogKind kind, const std::string& text) {
  WriteLog(link, kind, ToBytes(text));
}

// The same for records inside an exchange: a log that cannot be written never abandons a frame
// in flight; the failure is kept in LinkState::LastLogError instead. With the log off it costs a
// test of the switch, inline, and nothing more.
void WriteLogRecordQuietly(const Link& link, LogKind kind, const Bytes& data);
inline void WriteLogQuietly(const Link& link, LogKind kind, const Bytes& data) {
  if (link.settings.LogRecord) WriteLogRecordQuietly(link, kind, data);
}

}  // namespace zorfp
