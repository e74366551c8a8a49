#include "link/exchange_log.h"

#include <fstream>
#include <system_error>

#include "link/module_path.h"

namespace zorfp {
namespace {

constexpr const char* kCrLf = "\r\n";

void PadTo(std::string& s, std::size_t width) {
  if (s.size() < width) s.append(width - s.size(), ' ');
}

void AppendHex(std::string& s, const Bytes& data) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  s.reserve(s.size() + data.size() * 5);
  for (Byte b : data) {
    s += " 0x";
    s += kDigits[b >> 4];
    s += kDigits[b & 0x0F];
  }
}

}  // namespace

std::string LogStamp(const DateTime& t, const LocaleFormats& locale) {
  std::string stamp = FormatDateTime("dd/MM/yy HH:mm:ss.zzz", t, locale);
  PadTo(stamp, 22);
  return stamp;
}

std::string LogFileName(const DateTime& t, const LocaleFormats& locale) {
  std::string date = FormatDateTime(locale.short_date, t, locale);
  for (char& c : date) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) c = '-';
  }
  return "ZORFP(" + date + ").log";
}

std::string FormatLogRecord(LogKind kind, const std::string& stamp, const std::string& tag,
                            const Bytes& data) {
  std::string line = stamp + " [" + tag + "] ";
  switch (kind) {
    case LogKind::kOpen: line = kCrLf + line + "OPEN PORT:" + kCrLf; break;
    case LogKind::kSend:
      line += "Snd ---> (func ID = " + std::to_string(data.size() > 3 ? data[3] : 0) + ")";
      break;
    case LogKind::kReceive: line += "Rcv <--- (receive data)"; break;
    case LogKind::kClose: line += "PORT CLOSED"; break;
    case LogKind::kWait: line += "WAITING "; break;
  }
  const bool dump = kind == LogKind::kSend || kind == LogKind::kReceive;
  if (dump) {
    PadTo(line, 55);
    line += "Data: ";
  }
  if (kind == LogKind::kSend) line = kCrLf + line;
  if (dump) {
    AppendHex(line, data);
  } else {
    line.append(data.begin(), data.end());
  }
  line += kCrLf;
  return line;
}

std::filesystem::path LogFolder(const Environment& env) {
  if (!env.log_folder.empty()) return env.log_folder;
  return DefaultLogFolder();
}

void WriteLog(const Link& link, LogKind kind, const Bytes& data) {
  if (!link.settings.LogRecord) return;
  const DateTime now = LocalDateTime(link.clock.WallNow());
  const std::filesystem::path folder = LogFolder(link.env);
  std::error_code ignored;  // a folder we cannot create shows up as the open failing below
  std::filesystem::create_directories(folder, ignored);
  const std::filesystem::path file = folder / LogFileName(now, link.env.locale);
  const std::string record =
      FormatLogRecord(kind, LogStamp(now, link.env.locale), link.state.ProtocolTag, data);

  std::ofstream out(file, std::ios::binary | std::ios::app);
  if (!out) throw LogError("I/O error: cannot open the exchange log " + file.string());
  out.write(record.data(), static_cast<std::streamsize>(record.size()));
  out.flush();
  if (!out) throw LogError("I/O error: cannot write the exchange log " + file.string());
}

void WriteLogRecordQuietly(const Link& link, LogKind kind, const Bytes& data) {
  try {
    WriteLog(link, kind, data);
  } catch (const LogError& e) {
    link.state.LastLogError = e.what();
  }
}

}  // namespace zorfp
