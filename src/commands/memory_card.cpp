#include "commands/memory_card.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "commands/decimal_text.h"
#include "commands/status.h"
#include "commands/wire.h"
#include "dates/date_time.h"
#include "driver/long_job.h"
#include "errors/encodings.h"
#include "errors/texts_memory_card.h"

namespace zorfp {
namespace {

constexpr Byte kPrintFromCard = 0x33;
constexpr Byte kFindReport = 0x37;
constexpr Byte kReadBlock = 0x38;
constexpr Byte kFindDayReports = 0x3F;
constexpr std::uint16_t kPasswordRefused = 0xFFFF;
constexpr std::uint16_t kReceiptLimit = 10000;
constexpr std::size_t kRecordSize = 12;
constexpr std::uint16_t kSectorSize = 512;
constexpr std::uint16_t kSectorDataStart = 8;
constexpr std::size_t kBlockSize = 126;  // 504 = 4 x 126: no block crosses a sector's end
constexpr std::size_t kSerialInName = 10;

#ifdef _WIN32
constexpr const char* kDefaultFolder = "C:\\MMCReports";
#else
constexpr const char* kDefaultFolder = "MMCReports";  // beside the working directory
#endif

// Every card answer that carries a non-zero status or result is the printer's refusal.
constexpr QueryRules kCardRules = {.judge = Judge::kEvaluate, .empty_is_no_data = false};

bool IsFolderEnd(char c) {
  return c == '\\' || c == '/';
}

// The serial number the file is named after, read afresh: a failed or refused read, or an empty
// serial, stops the copy, so that one printer's report never carries another's name.
bool ReadReportSerial(Driver& d) {
  AnsiString& serial = HeldMemoryCard(d).ReportSerial;
  serial.clear();
  const auto status = ReadStatus(d);
  if (!status) return false;
  serial = status->SerialNumber;
  if (ReportFileName(serial, 0).empty()) return d.Refuse(texts::kEmptySerialNumber);
  return true;
}

bool SaveBehindWindow(Driver& d, std::uint16_t number) {
  HeldMemoryCard(d).ReportToSave = number;
  if (!RunLongJob(d, kWaitSavingReport, texts::kWaitSavingReport, [&d] { CopyReportToFile(d); })) return false;
  return d.call().ReportedResult == 0;
}

// Written beside its final name and renamed into place: a copy that fails never leaves a cut file
// and never destroys the copy saved before.
bool WriteReportFile(const std::filesystem::path& file, const Bytes& content) {
  std::filesystem::path part = file;
  part += ".part";
  std::error_code ec;
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(part, ec);
      return false;
    }
  }
  std::filesystem::rename(part, file, ec);
  if (ec) {
    std::filesystem::remove(part, ec);
    return false;
  }
  return true;
}

}  // namespace

MemoryCardValues& HeldMemoryCard(Driver& d) {
  return d.held().memory_card;
}

bool FPFindMMCReportsOnDate(Driver& d, double ReportDate) {
  const auto t = FromOleDate(ReportDate);
  if (!t) return d.Refuse(texts::kDateConversion);
  const BcdDate date{BcdByte(static_cast<unsigned>(t->day())), BcdByte(static_cast<unsigned>(t->month())),
                     BcdByte(static_cast<unsigned>(t->year() % 100))};
  struct Found {
    std::int32_t first = 0, last = 0;
  };
  const auto found = Query<Found>(
      d, Command(kFindDayReports).Date(date),
      [](AnswerReader& r, Found& f) {
        f.first = static_cast<std::int32_t>(r.UIntLE(2));
        f.last = static_cast<std::int32_t>(r.UIntLE(2));
      },
      kCardRules);
  if (!found) return false;
  HeldMemoryCard(d).MMCFirstReport = found->first;
  HeldMemoryCard(d).MMCLastReport = found->last;
  return true;
}

bool FPPrintMMC(Driver& d, std::uint16_t Password_Report, std::uint16_t ReportNum, std::uint16_t ReceiptNum,
                bool AllReport, bool RefundReceipt) {
  if (Password_Report == kPasswordRefused) return d.Refuse(texts::kBadReportPassword);
  Byte receipt[2];
  if (AllReport) {
    const auto status = ReadStatus(d);
    if (!status) return false;
    const bool current_day = status->DayOpened && ReportNum == 0;
    receipt[0] = receipt[1] = current_day ? 0x00 : 0xFF;
  } else {
    if (ReceiptNum >= kReceiptLimit) return d.Refuse(texts::kCardReportNumber);
    receipt[0] = static_cast<Byte>(ReceiptNum & 0xFF);
    receipt[1] = static_cast<Byte>(ReceiptNum >> 8 | (RefundReceipt ? 0x80 : 0x00));
  }
  return d.Execute(Command(kPrintFromCard).UIntLE(Password_Report, 2).UIntLE(ReportNum, 2).Raw(receipt).Raw(receipt));
}

bool FPSaveReportFromMMC(Driver& d, std::uint16_t ReportNum) {
  d.call().ErrorText.clear();
  if (!ReadReportSerial(d)) return false;
  return SaveBehindWindow(d, ReportNum);
}

bool CopyLastZReportFromCard(Driver& d) {
  if (!ReadReportSerial(d)) return false;
  struct Next {
    std::uint16_t number = 0;
  };
  const auto next = Query<Next>(
      d, Command(0x1C).UIntLE(0x0037, 2).U8(0x10).U8(2),
      [](AnswerReader& r, Next& n) { n.number = static_cast<std::uint16_t>(r.UIntLE(2)); }, {.more_allowed = true});
  if (!next) return false;
  return SaveBehindWindow(d, static_cast<std::uint16_t>(next->number - 1));
}

AnsiString MMCReportFolder(Driver& d) {
  return ClientTextOut(HeldMemoryCard(d).MMCReportFolder, d.module().settings.CP866);
}

void PutMMCReportFolder(Driver& d, const AnsiString& value) {
  HeldMemoryCard(d).MMCReportFolder = ClientTextIn(value, d.module().settings.CP866);
}

bool AutoSaveReportFromMMC(Driver& d) {
  return HeldMemoryCard(d).AutoSaveReportFromMMC;
}

void PutAutoSaveReportFromMMC(Driver& d, bool value) {
  HeldMemoryCard(d).AutoSaveReportFromMMC = value;
}

std::optional<CardReport> FindCardReport(Driver& d, std::uint16_t number) {
  return Query<CardReport>(
      d, Command(kFindReport).UIntLE(number, 2),
      [](AnswerReader& r, CardReport& c) {
        c.first_sector = static_cast<std::uint32_t>(r.UIntLE(3));
        r.Skip(3);
        c.records = static_cast<std::uint16_t>(r.UIntLE(2));
      },
      kCardRules);
}

std::optional<Bytes> ReadCardBlock(Driver& d, std::uint32_t sector, std::uint16_t position, std::uint16_t count) {
  if (position > 500) {
    d.Refuse(texts::kCardPosition);
    return std::nullopt;
  }
  if (count == 0 || count > 128) {
    d.Refuse(texts::kCardBlockSize);
    return std::nullopt;
  }
  return Query<Bytes>(
      d, Command(kReadBlock).UIntLE(sector, 4).UIntLE(position, 2).U8(static_cast<Byte>(count)),
      [count](AnswerReader& r, Bytes& out) {
        const auto bytes = r.Take(count);
        out.assign(bytes.begin(), bytes.end());
      },
      kCardRules);
}

void CopyReportToFile(Driver& d) {
  MemoryCardValues& card = HeldMemoryCard(d);
  d.call().ErrorText.clear();
  const auto report = FindCardReport(d, card.ReportToSave);
  if (!report) return;
  const std::size_t total = kRecordSize * report->records;
  Bytes collected;
  collected.reserve(total);
  std::uint32_t sector = report->first_sector;
  std::uint16_t position = kSectorDataStart;
  while (collected.size() < total) {
    const auto n = static_cast<std::uint16_t>(std::min(kBlockSize, total - collected.size()));
    const auto block = ReadCardBlock(d, sector, position, n);
    if (!block) return;
    collected.insert(collected.end(), block->begin(), block->end());
    position = static_cast<std::uint16_t>(position + n);
    if (position >= kSectorSize) {
      ++sector;
      position = kSectorDataStart;
    }
  }
  if (card.ReportSerial.size() > kSerialInName) card.ReportSerial.resize(kSerialInName);
  if (total == 0) return;

  if (card.MMCReportFolder.empty()) card.MMCReportFolder = kDefaultFolder;
  // Trailing separators go (the setting keeps the stripped form), but a root stays a root.
  while (card.MMCReportFolder.size() > 1 && IsFolderEnd(card.MMCReportFolder.back())) {
    card.MMCReportFolder.pop_back();
  }
  const std::string name = ReportFileName(card.ReportSerial, card.ReportToSave);
  if (name.empty()) {
    d.Reject(texts::kEmptySerialNumber);
    return;
  }
  const std::filesystem::path folder(card.MMCReportFolder);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  for (std::size_t i = 0; i + kRecordSize <= collected.size(); i += kRecordSize) {
    std::swap(collected[i], collected[i + 2]);
  }
  if (!WriteReportFile(folder / name, collected)) d.Reject(texts::kReportFileFailed);
}

std::string ReportFileName(const AnsiString& serial, std::uint16_t number) {
  std::string cut = Trim(serial.substr(0, std::min(serial.size(), kSerialInName)));
  // As the log file's name: what a file name cannot hold becomes "-". Dots go too, so that no
  // serial can name the folder above ("..") or hide the file.
  for (char& c : cut) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || std::string_view("\\/:*?\"<>|.").find(c) != std::string_view::npos) c = '-';
  }
  if (cut.empty()) return {};
  return cut + "#" + std::to_string(number) + ".ecr";
}

}  // namespace zorfp
