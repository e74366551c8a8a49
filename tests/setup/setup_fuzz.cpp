// Fuzz target: one input read as a package (footer, table, names) and as a prerequisites
// configuration. Whatever the bytes, nothing is read out of bounds, and a package that reads
// keeps every entry inside the file with a safe name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "setup/configuration.h"
#include "setup/detection.h"
#include "setup/package.h"

namespace {

class NullProbe : public zorfp::setup::SystemProbe {
 public:
  bool IsNtFamily() const override { return true; }
  std::string Folder(std::string_view token) const override { return std::string(token) + "\\"; }
  zorfp::setup::Found FindFiles(const std::string& path, unsigned) override { return {path}; }
  zorfp::setup::Found ReadRegistry(const zorfp::setup::RegistryPath& p) override { return {p.key}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zorfp::setup;
  auto source = MemorySource(std::vector<std::uint8_t>(data, data + size));
  const PackageResult r = ReadPackage(*source);
  if (r.error == PackageError::kNone) {
    for (const Entry& e : r.package.entries) {
      if (!IsSafeFileName(e.name)) std::abort();
      if (!r.package.FilesBeside() && e.position + e.size > r.package.footer_position) std::abort();
    }
    if (r.package.footer_position + kFooterSize > size) std::abort();
  }
  const Configuration c = ReadConfiguration(Profile::Parse(std::string_view(reinterpret_cast<const char*>(data), size)));
  NullProbe probe;
  for (const Prerequisite& p : c.prerequisites) {
    (void)Detect(p, probe);
    (void)CompareVersions(p.version_min, p.version_max);
  }
  return 0;
}
