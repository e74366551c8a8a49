// The package a setup program carries after its own image: a footer at the very end of the file,
// an entry table, and the entries' bytes, stored as they are.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorfp::setup {

// What can go wrong with a package. The numbers are the ones the setup program reports; 0 is none.
enum class PackageError : int {
  kNone = 0,
  kRead = 2,           // missing file, failed seek or read, short copy
  kOutOfMemory = 3,
  kNoTempFolder = 4,
  kDamaged = 5,        // signature, version, a range or a name that does not hold
  kUnsupported = 6,
  kInstaller = 7,      // the installation database could not be opened
  kWrite = 8,          // a file could not be written
};

enum EntryKind : std::uint32_t {
  kDatabase = 0,
  kCabinet = 1,
  kConfiguration = 3,
  kPrerequisiteSetup = 4,
};

inline constexpr std::size_t kFooterSize = 36;
inline constexpr std::uint32_t kFormatVersion = 100;
inline constexpr std::string_view kSignature = "VORTANEXUS";
inline constexpr std::size_t kSignatureOffset = 24;
inline constexpr std::size_t kRecordHeaderSize = 16;
inline constexpr std::size_t kMaxNameLength = 255;  // one file name, as file systems allow

inline constexpr std::uint32_t kFilesBeside = 1;        // entries lie beside the program
inline constexpr std::uint32_t kCarriesConfiguration = 2;

struct Footer {
  std::uint32_t entry_count = 0;
  std::uint32_t version = kFormatVersion;
  std::uint32_t base_distance = 0;  // footer position minus base
  std::uint32_t table_offset = 0;   // from the base
  std::uint32_t data_offset = 0;    // first entry's data, from the base
  std::uint32_t flags = 0;
};

std::vector<std::uint8_t> EncodeFooter(const Footer& f);
// The fields of 36 footer bytes; nullopt when the signature or its closing 0xFF 0xFF is wrong.
std::optional<Footer> DecodeFooter(const std::uint8_t* bytes);

struct Entry {
  std::uint32_t kind = 0;
  std::uint64_t size = 0;
  std::uint64_t position = 0;  // of the data in the file (base + offset)
  std::string name;            // a bare file name, UTF-8
  bool extracted = false;
};

// A file to read from at any position. Reads may return fewer bytes than asked at the end.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Bytes read into `out` (at most `n`); nullopt on failure.
  virtual std::optional<std::size_t> ReadAt(std::uint64_t position, void* out, std::size_t n) = 0;
};

// Null when the file cannot be opened.
std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& file);
std::unique_ptr<ByteSource> MemorySource(std::vector<std::uint8_t> bytes);

struct Package {
  Footer footer;
  std::uint64_t footer_position = 0;
  std::uint64_t base = 0;
  std::vector<Entry> entries;

  bool FilesBeside() const { return (footer.flags & kFilesBeside) != 0; }
  bool CarriesConfiguration() const { return (footer.flags & kCarriesConfiguration) != 0; }
  // The first entry of `kind` (and of `name`, compared without case, when given), or null.
  Entry* Find(std::uint32_t kind, std::string_view name = {});
};

struct PackageResult {
  PackageError error = PackageError::kNone;
  Package package;
};

// Finds the footer by its signature, searching backwards from the end, and reads and checks the
// whole entry table: every record, name and data range must lie before the footer, or the package
// is damaged. Nothing is written before this has passed.
PackageResult ReadPackage(ByteSource& file);

// A bare file name that stays in the folder it is written to, on Windows and elsewhere.
bool IsSafeFileName(std::string_view name);

// Path of an entry name below `folder` (names are UTF-8).
std::filesystem::path EntryPath(const std::filesystem::path& folder, std::string_view name);

// Copies `entry` from `source` (at the entry's position; at 0 when `whole_file`) into `folder`,
// beside its final name first and renamed into place when complete. A short copy leaves nothing
// behind. An entry already extracted is not copied again.
PackageError Extract(Entry& entry, ByteSource& source, const std::filesystem::path& folder,
                     bool whole_file = false);

// Every entry of the package into `folder`; for a package whose files lie beside the program,
// from `program_folder`.
PackageError ExtractAll(Package& package, ByteSource& file, const std::filesystem::path& folder,
                        const std::filesystem::path& program_folder);
// One entry, from the package or from beside the program as the package says.
PackageError ExtractOne(Package& package, Entry& entry, ByteSource& file, const std::filesystem::path& folder,
                        const std::filesystem::path& program_folder);

// Writes a package: `image` (the program), then each file's bytes, the table and the footer.
struct PackFile {
  std::uint32_t kind;
  std::string name;
  std::vector<std::uint8_t> bytes;
};
std::vector<std::uint8_t> BuildPackage(const std::vector<std::uint8_t>& image, const std::vector<PackFile>& files,
                                       std::uint32_t flags);

}  // namespace zorfp::setup
