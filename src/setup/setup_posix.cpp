// zorfp-setup: unpacks the package of a setup program (by default its own file) into a folder.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "setup/package.h"
#include "setup/setup_run.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: zorfp-setup --extract DIR [PACKAGE]\n"
               "  unpacks every entry of PACKAGE (a setup program with its package appended; by default\n"
               "  this program's own file) into DIR\n");
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zorfp::setup;
  if (argc < 3 || argc > 4 || std::strcmp(argv[1], "--extract") != 0) return Usage();
  const std::filesystem::path folder = argv[2];
  const std::filesystem::path file = argc == 4 ? std::filesystem::path(argv[3])
                                               : std::filesystem::read_symlink("/proc/self/exe");
  auto fail = [&](PackageError e) {
    std::fprintf(stderr, "zorfp-setup: %s: %s\n", file.c_str(), PackageErrorText(e));
    return static_cast<int>(e);
  };
  std::unique_ptr<ByteSource> source = OpenFileSource(file);
  if (!source) return fail(PackageError::kRead);
  PackageResult r = ReadPackage(*source);
  if (r.error != PackageError::kNone) return fail(r.error);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const PackageError e = ExtractAll(r.package, *source, folder, file.parent_path());
  if (e != PackageError::kNone) return fail(e);
  for (const Entry& entry : r.package.entries) {
    std::printf("%u %10llu %s\n", entry.kind, static_cast<unsigned long long>(entry.size), entry.name.c_str());
  }
  return 0;
}
