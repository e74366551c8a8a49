// zorfp-pack: appends the driver's installation package to a setup program image.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "setup/package.h"

namespace {

using zorfp::setup::PackFile;

int Usage() {
  std::fprintf(stderr,
               "usage: zorfp-pack -o OUT --image SETUP.exe [--database FILE.msi] [--cabinet FILE.cab]\n"
               "                  [--configuration FILE.ini] [--prerequisite FILE]... [--beside]\n"
               "  writes OUT: the image, then the files (each under its own file name), the entry table\n"
               "  and the footer. With --beside the files are not copied: they lie beside OUT.\n");
  return 64;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zorfp::setup;
  std::string output, image;
  std::vector<std::pair<std::uint32_t, std::string>> inputs;
  std::uint32_t flags = 0;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--beside") {
      flags |= kFilesBeside;
      continue;
    }
    if (!(v = next())) return Usage();
    if (a == "-o") output = v;
    else if (a == "--image") image = v;
    else if (a == "--database") inputs.emplace_back(kDatabase, v);
    else if (a == "--cabinet") inputs.emplace_back(kCabinet, v);
    else if (a == "--configuration") inputs.emplace_back(kConfiguration, v), flags |= kCarriesConfiguration;
    else if (a == "--prerequisite") inputs.emplace_back(kPrerequisiteSetup, v);
    else return Usage();
  }
  if (output.empty() || image.empty()) return Usage();
  std::vector<std::uint8_t> image_bytes;
  if (!ReadFile(image, image_bytes)) {
    std::fprintf(stderr, "zorfp-pack: cannot read %s\n", image.c_str());
    return 1;
  }
  std::vector<PackFile> files;
  for (const auto& [kind, path] : inputs) {
    PackFile f{kind, std::filesystem::path(path).filename().string(), {}};
    if (!IsSafeFileName(f.name)) {
      std::fprintf(stderr, "zorfp-pack: %s is not a name the setup program accepts\n", f.name.c_str());
      return 1;
    }
    if (!ReadFile(path, f.bytes)) {
      std::fprintf(stderr, "zorfp-pack: cannot read %s\n", path.c_str());
      return 1;
    }
    files.push_back(std::move(f));
  }
  const std::vector<std::uint8_t> out = BuildPackage(image_bytes, files, flags);
  if (out.size() > 0xFFFFFFFFu) {
    std::fprintf(stderr, "zorfp-pack: a package is at most 4 GiB\n");
    return 1;
  }
  const std::string partial = output + ".partial";
  {
    std::ofstream f(partial, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!f) {
      std::fprintf(stderr, "zorfp-pack: cannot write %s\n", output.c_str());
      return 1;
    }
  }
  std::filesystem::rename(partial, output);
  std::filesystem::permissions(output, std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                           std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  return 0;
}
