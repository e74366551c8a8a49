#include "setup/package.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <system_error>

#include "setup/text.h"

namespace zorfp::setup {
namespace {

constexpr std::size_t kSearchBlock = 2048;
constexpr std::size_t kCopyBlock = 64 * 1024;

std::uint32_t Le32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool ReadExactly(ByteSource& file, std::uint64_t position, void* out, std::size_t n) {
  auto* p = static_cast<std::uint8_t*>(out);
  while (n > 0) {
    const std::optional<std::size_t> got = file.ReadAt(position, p, n);
    if (!got || *got == 0) return false;
    p += *got;
    position += *got;
    n -= *got;
  }
  return true;
}

// Position of the footer whose signature lies nearest the end, searching backwards block by block;
// blocks overlap by the signature's length so that one spanning two blocks is found as well.
std::optional<std::uint64_t> FindFooter(ByteSource& file, bool& read_failed) {
  const std::uint64_t size = file.Size();
  if (size < kFooterSize) return std::nullopt;
  std::array<std::uint8_t, kSearchBlock> block;
  const std::size_t overlap = kSignature.size() - 1;
  std::uint64_t end = size;
  while (end > 0) {
    const std::uint64_t start = end > kSearchBlock ? end - kSearchBlock : 0;
    const std::size_t n = static_cast<std::size_t>(end - start);
    if (!ReadExactly(file, start, block.data(), n)) {
      read_failed = true;
      return std::nullopt;
    }
    for (std::size_t i = n >= kSignature.size() ? n - kSignature.size() + 1 : 0; i-- > 0;) {
      if (std::memcmp(block.data() + i, kSignature.data(), kSignature.size()) != 0) continue;
      const std::uint64_t signature = start + i;
      if (signature < kSignatureOffset) continue;
      const std::uint64_t footer = signature - kSignatureOffset;
      if (footer + kFooterSize <= size) return footer;
    }
    if (start == 0) break;
    end = start + overlap;
  }
  return std::nullopt;
}

// Windows refuses these as file names, with any extension, and opens a device instead.
bool IsDeviceName(std::string_view name) {
  const std::string stem = AsciiUpper(name.substr(0, name.find('.')));
  std::string_view s = stem;
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  for (const char* d : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
    if (s == d) return true;
  }
  if (s.size() == 4 && (s.substr(0, 3) == "COM" || s.substr(0, 3) == "LPT") && s[3] >= '0' && s[3] <= '9') {
    return true;
  }
  return false;
}

}  // namespace

std::vector<std::uint8_t> EncodeFooter(const Footer& f) {
  std::vector<std::uint8_t> out;
  for (std::uint32_t v : {f.entry_count, f.version, f.base_distance, f.table_offset, f.data_offset, f.flags}) {
    PutLe32(out, v);
  }
  out.insert(out.end(), kSignature.begin(), kSignature.end());
  out.push_back(0xFF);
  out.push_back(0xFF);
  return out;
}

std::optional<Footer> DecodeFooter(const std::uint8_t* b) {
  if (std::memcmp(b + kSignatureOffset, kSignature.data(), kSignature.size()) != 0) return std::nullopt;
  if (b[34] != 0xFF || b[35] != 0xFF) return std::nullopt;
  return Footer{Le32(b), Le32(b + 4), Le32(b + 8), Le32(b + 12), Le32(b + 16), Le32(b + 20)};
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  if (name == "." || name == ".." || name.find("..") != std::string_view::npos) return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return false;
    if (std::strchr("/\\:*?\"<>|", c) != nullptr) return false;
  }
  // Windows drops a trailing dot or blank, so such a name would land on another file.
  if (name.back() == '.' || name.back() == ' ' || name.front() == ' ') return false;
  if (!IsWellFormedUtf8(name)) return false;
  return !IsDeviceName(name);
}

std::filesystem::path EntryPath(const std::filesystem::path& folder, std::string_view name) {
  return folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

Entry* Package::Find(std::uint32_t kind, std::string_view name) {
  for (Entry& e : entries) {
    if (e.kind == kind && (name.empty() || EqualsNoCase(e.name, name))) return &e;
  }
  return nullptr;
}

PackageResult ReadPackage(ByteSource& file) {
  PackageResult r;
  bool read_failed = false;
  const std::optional<std::uint64_t> footer_position = FindFooter(file, read_failed);
  std::array<std::uint8_t, kFooterSize> bytes;
  if (!footer_position) {
    r.error = read_failed ? PackageError::kRead : PackageError::kDamaged;
    return r;
  }
  if (!ReadExactly(file, *footer_position, bytes.data(), bytes.size())) {
    r.error = PackageError::kRead;
    return r;
  }
  const std::optional<Footer> footer = DecodeFooter(bytes.data());
  if (!footer || footer->version != kFormatVersion || footer->base_distance > *footer_position) {
    r.error = PackageError::kDamaged;
    return r;
  }
  Package& p = r.package;
  p.footer = *footer;
  p.footer_position = *footer_position;
  p.base = *footer_position - footer->base_distance;
  const std::uint64_t limit = p.footer_position;  // nothing of the package lies past its footer

  std::uint64_t at = p.base + footer->table_offset;
  if (at > limit || p.base + footer->data_offset > limit ||
      footer->entry_count > (limit - at) / kRecordHeaderSize) {
    r.error = PackageError::kDamaged;
    return r;
  }
  p.entries.reserve(footer->entry_count);
  for (std::uint32_t i = 0; i < footer->entry_count; ++i) {
    std::array<std::uint8_t, kRecordHeaderSize> record;
    if (at + kRecordHeaderSize > limit) return {PackageError::kDamaged, {}};
    if (!ReadExactly(file, at, record.data(), record.size())) return {PackageError::kRead, {}};
    at += kRecordHeaderSize;
    Entry e;
    e.kind = Le32(record.data());
    e.size = Le32(record.data() + 4);
    e.position = p.base + Le32(record.data() + 8);
    const std::uint32_t name_length = Le32(record.data() + 12);
    if (name_length > kMaxNameLength || at + name_length > limit) return {PackageError::kDamaged, {}};
    e.name.resize(name_length);
    if (!ReadExactly(file, at, e.name.data(), name_length)) return {PackageError::kRead, {}};
    at += name_length;
    if (!IsSafeFileName(e.name)) return {PackageError::kDamaged, {}};
    if (!p.FilesBeside() && e.position + e.size > limit) return {PackageError::kDamaged, {}};
    // Two entries of one name would overwrite each other in the folder.
    for (const Entry& before : p.entries) {
      if (EqualsNoCase(before.name, e.name)) return {PackageError::kDamaged, {}};
    }
    p.entries.push_back(std::move(e));
  }
  return r;
}

PackageError Extract(Entry& entry, ByteSource& source, const std::filesystem::path& folder, bool whole_file) {
  if (entry.extracted) return PackageError::kNone;
  if (!IsSafeFileName(entry.name)) return PackageError::kDamaged;
  const std::filesystem::path target = EntryPath(folder, entry.name);
  std::filesystem::path partial = target;
  partial += ".extracting";
  std::error_code ec;
  PackageError error = PackageError::kNone;
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return PackageError::kWrite;
    std::vector<char> block(kCopyBlock);
    std::uint64_t position = whole_file ? 0 : entry.position;
    std::uint64_t left = entry.size;
    while (left > 0 && error == PackageError::kNone) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
      if (!ReadExactly(source, position, block.data(), n)) {
        error = PackageError::kRead;
        break;
      }
      out.write(block.data(), static_cast<std::streamsize>(n));
      if (!out) error = PackageError::kWrite;
      position += n;
      left -= n;
    }
    out.flush();
    if (!out && error == PackageError::kNone) error = PackageError::kWrite;
  }
  if (error == PackageError::kNone) {
    std::filesystem::remove(target, ec);
    std::filesystem::rename(partial, target, ec);
    if (ec) error = PackageError::kWrite;
  }
  if (error != PackageError::kNone) {
    std::filesystem::remove(partial, ec);
    return error;
  }
  entry.extracted = true;
  return PackageError::kNone;
}

PackageError ExtractOne(Package& package, Entry& entry, ByteSource& file, const std::filesystem::path& folder,
                        const std::filesystem::path& program_folder) {
  if (!package.FilesBeside()) return Extract(entry, file, folder);
  std::unique_ptr<ByteSource> beside = OpenFileSource(EntryPath(program_folder, entry.name));
  if (!beside) return PackageError::kRead;
  if (beside->Size() < entry.size) return PackageError::kRead;
  return Extract(entry, *beside, folder, true);
}

PackageError ExtractAll(Package& package, ByteSource& file, const std::filesystem::path& folder,
                        const std::filesystem::path& program_folder) {
  for (Entry& e : package.entries) {
    const PackageError error = ExtractOne(package, e, file, folder, program_folder);
    if (error != PackageError::kNone) return error;
  }
  return PackageError::kNone;
}

std::vector<std::uint8_t> BuildPackage(const std::vector<std::uint8_t>& image, const std::vector<PackFile>& files,
                                       std::uint32_t flags) {
  std::vector<std::uint8_t> out = image;
  Footer f;
  f.entry_count = static_cast<std::uint32_t>(files.size());
  f.data_offset = static_cast<std::uint32_t>(image.size());
  f.flags = flags;
  std::vector<std::uint32_t> offsets;
  for (const PackFile& file : files) {
    offsets.push_back(static_cast<std::uint32_t>(out.size()));
    if (!(flags & kFilesBeside)) out.insert(out.end(), file.bytes.begin(), file.bytes.end());
  }
  f.table_offset = static_cast<std::uint32_t>(out.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    PutLe32(out, files[i].kind);
    PutLe32(out, static_cast<std::uint32_t>(files[i].bytes.size()));
    PutLe32(out, (flags & kFilesBeside) ? 0 : offsets[i]);
    PutLe32(out, static_cast<std::uint32_t>(files[i].name.size()));
    out.insert(out.end(), files[i].name.begin(), files[i].name.end());
  }
  f.base_distance = static_cast<std::uint32_t>(out.size());
  const std::vector<std::uint8_t> footer = EncodeFooter(f);
  out.insert(out.end(), footer.begin(), footer.end());
  return out;
}

}  // namespace zorfp::setup
