#include "setup/package.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "temp_folder.h"

namespace zorfp::setup {
namespace {

using testing::Bytes;
using testing::ReadAll;
using testing::TempFolder;

std::vector<std::uint8_t> Image() { return Bytes("MZ-the-program-image"); }

std::vector<std::uint8_t> Sample(std::uint32_t flags = kCarriesConfiguration) {
  return BuildPackage(Image(), {{kDatabase, "ZORFPdriver.msi", Bytes("database")},
                                {kCabinet, "ZORFPdriver.cab", Bytes("cabinet bytes")},
                                {kConfiguration, "prerequisites.ini", Bytes("[GeneralOptions]\n")},
                                {kPrerequisiteSetup, "prereq.exe", Bytes("prereq")}},
                      flags);
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::size_t FooterAt(const std::vector<std::uint8_t>& b) { return b.size() - kFooterSize; }
// Where the first record of the sample's table lies.
std::size_t TableAt(const std::vector<std::uint8_t>& b) {
  std::uint32_t distance, table;
  std::memcpy(&distance, &b[FooterAt(b) + 8], 4);
  std::memcpy(&table, &b[FooterAt(b) + 12], 4);
  return FooterAt(b) - distance + table;
}

PackageError ReadError(std::vector<std::uint8_t> bytes) {
  auto source = MemorySource(std::move(bytes));
  return ReadPackage(*source).error;
}

TEST(Package, ReadsWhatWasBuilt) {
  auto source = MemorySource(Sample());
  PackageResult r = ReadPackage(*source);
  ASSERT_EQ(r.error, PackageError::kNone);
  EXPECT_EQ(r.package.base, 0u);
  EXPECT_EQ(r.package.footer.data_offset, Image().size());
  EXPECT_TRUE(r.package.CarriesConfiguration());
  ASSERT_EQ(r.package.entries.size(), 4u);
  EXPECT_EQ(r.package.entries[1].name, "ZORFPdriver.cab");
  EXPECT_EQ(r.package.entries[1].size, 13u);
  ASSERT_NE(r.package.Find(kPrerequisiteSetup, "PREREQ.EXE"), nullptr);
  EXPECT_EQ(r.package.Find(kDatabase, "prereq.exe"), nullptr);
}

TEST(Package, FooterBytes) {
  const std::vector<std::uint8_t> f = EncodeFooter({2, 100, 0x11223344, 5, 6, 3});
  ASSERT_EQ(f.size(), kFooterSize);
  const std::vector<std::uint8_t> head(f.begin(), f.begin() + 12);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{2, 0, 0, 0, 100, 0, 0, 0, 0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(std::string(f.begin() + 24, f.begin() + 34), "VORTANEXUS");
  EXPECT_EQ(f[34], 0xFF);
  EXPECT_EQ(f[35], 0xFF);
}

// The base is the footer position minus its distance field: a package may follow any prefix.
TEST(Package, BaseIsFoundFromTheFooter) {
  std::vector<std::uint8_t> bytes = Bytes(std::string(5000, 'x'));
  const std::vector<std::uint8_t> p = Sample();
  bytes.insert(bytes.end(), p.begin(), p.end());
  auto source = MemorySource(bytes);
  PackageResult r = ReadPackage(*source);
  ASSERT_EQ(r.error, PackageError::kNone);
  EXPECT_EQ(r.package.base, 5000u);
  TempFolder dir;
  ASSERT_EQ(ExtractAll(r.package, *source, dir.path(), dir.path()), PackageError::kNone);
  EXPECT_EQ(ReadAll(dir.path() / "ZORFPdriver.cab"), "cabinet bytes");
}

// The search reads backwards in blocks of 2048 bytes: a signature across two blocks is still found.
TEST(Package, SignatureAcrossASearchBlock) {
  for (std::size_t tail : {0u, 2037u, 2040u, 2045u, 5000u}) {
    std::vector<std::uint8_t> bytes = Sample();
    // Move the footer away from the end: trailing bytes (the search finds it where it is).
    bytes.insert(bytes.end(), tail, 0);
    auto source = MemorySource(bytes);
    PackageResult r = ReadPackage(*source);
    EXPECT_EQ(r.error, PackageError::kNone) << tail;
    EXPECT_EQ(r.package.entries.size(), 4u) << tail;
  }
}

TEST(Package, HostileFootersAndTables) {
  const std::vector<std::uint8_t> good = Sample();
  const std::size_t footer = FooterAt(good);
  const std::size_t table = TableAt(good);
  struct Case {
    const char* what;
    std::function<void(std::vector<std::uint8_t>&)> spoil;
    PackageError error;
  };
  const Case cases[] = {
      {"version 101", [&](auto& b) { Put32(b, footer + 4, 101); }, PackageError::kDamaged},
      {"version 0", [&](auto& b) { Put32(b, footer + 4, 0); }, PackageError::kDamaged},
      {"no closing 0xFF 0xFF", [&](auto& b) { b[footer + 35] = 0; }, PackageError::kDamaged},
      {"no signature at all", [&](auto& b) { b[footer + 24] = 'X'; }, PackageError::kDamaged},
      {"base before the file", [&](auto& b) { Put32(b, footer + 8, static_cast<std::uint32_t>(footer + 1)); },
       PackageError::kDamaged},
      {"table past the footer", [&](auto& b) { Put32(b, footer + 12, static_cast<std::uint32_t>(footer + 1)); },
       PackageError::kDamaged},
      {"table offset wraps in 32 bits", [&](auto& b) { Put32(b, footer + 12, 0xFFFFFFF0u); }, PackageError::kDamaged},
      {"first data offset past the footer", [&](auto& b) { Put32(b, footer + 16, 0xFFFFFFFFu); },
       PackageError::kDamaged},
      {"more records than the table holds", [&](auto& b) { Put32(b, footer, 0x10000000u); }, PackageError::kDamaged},
      {"one record more than there are", [&](auto& b) { Put32(b, footer, 5); }, PackageError::kDamaged},
      {"entry runs past the footer", [&](auto& b) { Put32(b, table + 4, 0x1000); }, PackageError::kDamaged},
      {"entry offset + size wraps in 32 bits",
       [&](auto& b) {
         Put32(b, table + 8, 0xFFFFFFF0u);
         Put32(b, table + 4, 0x20);
       },
       PackageError::kDamaged},
      {"name length past the footer", [&](auto& b) { Put32(b, table + 12, 0x7FFFFFFFu); }, PackageError::kDamaged},
      {"name longer than a file name", [&](auto& b) { Put32(b, table + 12, 256); }, PackageError::kDamaged},
      {"name turned into a path", [&](auto& b) { b[table + 16 + 5] = '\\'; }, PackageError::kDamaged},
      {"file too short for a footer", [&](auto& b) { b.resize(20); }, PackageError::kDamaged},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    c.spoil(bytes);
    EXPECT_EQ(ReadError(bytes), c.error) << c.what;
  }
}

TEST(Package, EntryNames) {
  const struct {
    std::string name;
    bool safe;
  } cases[] = {
      {"ZORFPdriver.msi", true},
      {"setup 1.2 (x86).exe", true},
      {"Підготовка.exe", true},
      {"..", false},
      {".", false},
      {"", false},
      {"a..b", false},
      {"..\\evil.exe", false},
      {"sub/evil.exe", false},
      {"sub\\evil.exe", false},
      {"C:evil.exe", false},
      {"evil.exe:stream", false},
      {"tab\there", false},
      {std::string("nul\0byte", 8), false},
      {"del\x7F", false},
      {"CON", false},
      {"con.txt", false},
      {"Aux.ini", false},
      {"NUL", false},
      {"COM1", false},
      {"lpt9.exe", false},
      {"COM10", true},
      {"CONSOLE.exe", true},
      {"trailing.", false},
      {"trailing ", false},
      {" leading", false},
      {"wild*.exe", false},
      {"what?.exe", false},
      {"\xC0\xAF.exe", false},  // overlong UTF-8 for '/'
      {"\xFF.exe", false},
      {std::string(255, 'a'), true},
      {std::string(256, 'a'), false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeFileName(c.name), c.safe) << c.name;
}

// A hostile name anywhere in the table stops the package before any entry is written.
TEST(Package, HostileNameWritesNothing) {
  for (const char* name : {"..\\..\\evil.exe", "../evil.exe", "C:\\evil.exe", "CON", "a\nb", "x/.."}) {
    const std::vector<std::uint8_t> bytes =
        BuildPackage(Image(), {{kDatabase, "ok.msi", Bytes("db")}, {kPrerequisiteSetup, name, Bytes("evil")}}, 0);
    auto source = MemorySource(bytes);
    EXPECT_EQ(ReadPackage(*source).error, PackageError::kDamaged) << name;
  }
}

TEST(Package, DuplicateNamesAreDamage) {
  const std::vector<std::uint8_t> bytes =
      BuildPackage(Image(), {{kDatabase, "a.msi", Bytes("db")}, {kPrerequisiteSetup, "A.MSI", Bytes("x")}}, 0);
  EXPECT_EQ(ReadError(bytes), PackageError::kDamaged);
}

// A source that fails after a number of bytes: the file changed or the disk failed during a copy.
class FailingSource : public ByteSource {
 public:
  FailingSource(std::vector<std::uint8_t> bytes, std::uint64_t fail_from) : bytes_(bytes), fail_from_(fail_from) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::optional<std::size_t> ReadAt(std::uint64_t position, void* out, std::size_t n) override {
    if (position + n > fail_from_) return std::nullopt;
    std::memcpy(out, bytes_.data() + position, n);
    return n;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t fail_from_;
};

TEST(Package, ShortCopyLeavesNothing) {
  const std::string big(200 * 1024, 'z');  // more than one copy block
  const std::vector<std::uint8_t> bytes = BuildPackage(Image(), {{kPrerequisiteSetup, "big.exe", Bytes(big)}}, 0);
  PackageResult r;
  {
    auto source = MemorySource(bytes);
    r = ReadPackage(*source);
    ASSERT_EQ(r.error, PackageError::kNone);
  }
  TempFolder dir;
  testing::WriteAll(dir.path() / "big.exe", "an older copy");
  FailingSource failing(bytes, Image().size() + 100 * 1024);
  EXPECT_EQ(Extract(r.package.entries[0], failing, dir.path()), PackageError::kRead);
  EXPECT_FALSE(r.package.entries[0].extracted);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"big.exe"});
  EXPECT_EQ(ReadAll(dir.path() / "big.exe"), "an older copy");  // never a partial file under its name

  auto source = MemorySource(bytes);
  ASSERT_EQ(Extract(r.package.entries[0], *source, dir.path()), PackageError::kNone);
  EXPECT_EQ(ReadAll(dir.path() / "big.exe"), big);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"big.exe"});
}

TEST(Package, EachEntryIsExtractedOnce) {
  auto source = MemorySource(Sample());
  PackageResult r = ReadPackage(*source);
  TempFolder dir;
  Entry& e = r.package.entries[0];
  ASSERT_EQ(Extract(e, *source, dir.path()), PackageError::kNone);
  testing::WriteAll(dir.path() / e.name, "changed since");
  ASSERT_EQ(Extract(e, *source, dir.path()), PackageError::kNone);
  EXPECT_EQ(ReadAll(dir.path() / e.name), "changed since");
}

TEST(Package, FilesBesideTheProgram) {
  TempFolder program, target;
  testing::WriteAll(program.path() / "ZORFPdriver.msi", "database");
  std::vector<std::uint8_t> bytes =
      BuildPackage(Image(), {{kDatabase, "ZORFPdriver.msi", Bytes("database")}, {kCabinet, "gone.cab", Bytes("c")}},
                   kFilesBeside);
  auto source = MemorySource(bytes);
  PackageResult r = ReadPackage(*source);
  ASSERT_EQ(r.error, PackageError::kNone);
  EXPECT_TRUE(r.package.FilesBeside());
  EXPECT_EQ(ExtractOne(r.package, r.package.entries[0], *source, target.path(), program.path()),
            PackageError::kNone);
  EXPECT_EQ(ReadAll(target.path() / "ZORFPdriver.msi"), "database");
  EXPECT_EQ(ExtractOne(r.package, r.package.entries[1], *source, target.path(), program.path()),
            PackageError::kRead);
}

}  // namespace
}  // namespace zorfp::setup
