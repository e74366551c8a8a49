// The classes root on a system without a registry: a per-user text file in the form of a
// registry export, so that the keys can be read, compared and edited like the real ones.
//   $ZORFP_REGISTRY, else $XDG_CONFIG_HOME/zorfp/registry.reg, else ~/.config/zorfp/registry.reg
// Keys of other programs in the same file are kept as they are.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "server/catalogue.h"
#include "server/registration.h"

namespace zorfp::server {
namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";
constexpr const char* kRoot = "HKEY_CURRENT_USER\\Software\\Classes\\";

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

// Value name ("@" for the default) -> its right-hand side as written ("\"text\"", "dword:...").
using Values = std::map<std::string, std::string, NoCase>;

std::filesystem::path StorePath() {
  if (const char* p = std::getenv("ZORFP_REGISTRY"); p && *p) return p;
  if (const char* p = std::getenv("XDG_CONFIG_HOME"); p && *p)
    return std::filesystem::path(p) / "zorfp" / "registry.reg";
  if (const char* p = std::getenv("HOME"); p && *p)
    return std::filesystem::path(p) / ".config" / "zorfp" / "registry.reg";
  return {};
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// `"name"=...` or `@=...`: the name, unescaped, and where the right-hand side starts.
bool SplitValueLine(const std::string& line, std::string& name, std::size_t& rhs) {
  if (line.rfind("@=", 0) == 0) return name = "@", rhs = 2, true;
  if (line.empty() || line[0] != '"') return false;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      name += line[++i];
    } else if (line[i] == '"') {
      if (i + 1 >= line.size() || line[i + 1] != '=') return false;
      rhs = i + 2;
      return true;
    } else {
      name += line[i];
    }
  }
  return false;
}

class FileClassesRoot : public ClassesRoot {
 public:
  explicit FileClassesRoot(std::filesystem::path path) : path_(std::move(path)) {
    std::ifstream in(path_);
    std::string line, key;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        key = line.substr(1, line.size() - 2);
        keys_[key];
        continue;
      }
      std::string name;
      std::size_t rhs = 0;
      if (!key.empty() && SplitValueLine(line, name, rhs)) keys_[key][name] = line.substr(rhs);
    }
  }

  void Set(const RegistryValue& v) override {
    keys_[kRoot + v.key][v.name.empty() ? "@" : v.name] = Quote(v.data);
  }

  void DeleteTree(const std::string& key) override {
    const std::string full = kRoot + key;
    for (auto it = keys_.begin(); it != keys_.end();) {
      const bool under = it->first.size() > full.size() && it->first[full.size()] == '\\' &&
                         EqualsNoCase(std::string_view(it->first).substr(0, full.size()), full);
      it = EqualsNoCase(it->first, full) || under ? keys_.erase(it) : std::next(it);
    }
  }

  bool RegisterTypeLibrary(const std::filesystem::path& library) override {
    for (const RegistryValue& v : TypeLibraryValues(library)) Set(v);
    return true;
  }

  bool UnregisterTypeLibrary() override {
    for (const std::string& key : TypeLibraryKeys()) DeleteTree(key);
    return true;
  }

  bool Commit() override {
    std::error_code ec;
    std::filesystem::create_directories(path_.parent_path(), ec);
    std::ostringstream text;
    text << kHeader << "\n";
    for (const auto& [key, values] : keys_) {
      text << "\n[" << key << "]\n";
      for (const auto& [name, rhs] : values) text << (name == "@" ? "@" : Quote(name)) << "=" << rhs << "\n";
    }
    // Written beside and renamed over, so that a reader never sees half a file.
    const std::filesystem::path temp = path_.string() + "." + std::to_string(::getpid()) + ".tmp";
    {
      std::ofstream out(temp, std::ios::trunc);
      out << text.str();
      if (!out.flush()) return false;
    }
    std::filesystem::rename(temp, path_, ec);
    if (!ec) return true;
    std::filesystem::remove(temp, ec);
    return false;
  }

 private:
  std::filesystem::path path_;
  std::map<std::string, Values, NoCase> keys_;
};

}  // namespace

std::filesystem::path ServerPath(const std::filesystem::path& library) {
  return library;
}

std::unique_ptr<ClassesRoot> OpenClassesRoot() {
  std::filesystem::path path = StorePath();
  if (path.empty()) return nullptr;
  return std::make_unique<FileClassesRoot>(std::move(path));
}

}  // namespace zorfp::server
