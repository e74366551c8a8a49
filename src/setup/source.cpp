// Files and memory as byte sources for the package reader.
#include <cstring>
#include <fstream>

#include "setup/package.h"

namespace zorfp::setup {
namespace {

class FileSource : public ByteSource {
 public:
  FileSource(std::ifstream in, std::uint64_t size) : in_(std::move(in)), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  std::optional<std::size_t> ReadAt(std::uint64_t position, void* out, std::size_t n) override {
    if (position >= size_) return 0;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(position));
    if (!in_) return std::nullopt;
    in_.read(static_cast<char*>(out), static_cast<std::streamsize>(n));
    const std::streamsize got = in_.gcount();
    if (got <= 0 && in_.bad()) return std::nullopt;
    return static_cast<std::size_t>(got);
  }

 private:
  std::ifstream in_;
  std::uint64_t size_;
};

class BytesSource : public ByteSource {
 public:
  explicit BytesSource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  std::optional<std::size_t> ReadAt(std::uint64_t position, void* out, std::size_t n) override {
    if (position >= bytes_.size()) return 0;
    const std::size_t got = std::min<std::size_t>(n, bytes_.size() - static_cast<std::size_t>(position));
    std::memcpy(out, bytes_.data() + position, got);
    return got;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::unique_ptr<ByteSource> OpenFileSource(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec) return nullptr;
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  return std::make_unique<FileSource>(std::move(in), size);
}

std::unique_ptr<ByteSource> MemorySource(std::vector<std::uint8_t> bytes) {
  return std::make_unique<BytesSource>(std::move(bytes));
}

}  // namespace zorfp::setup
