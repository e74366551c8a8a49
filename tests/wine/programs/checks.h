// A few lines of test harness for the Windows programs of the Wine suite: each check prints one
// line, the program ends with "N passed, M failed" and exits 1 when anything failed.
#pragma once

#include <cstdio>
#include <string>

class Checks {
 public:
  bool Check(bool ok, const std::string& what, const std::string& detail = {}) {
    std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", what.c_str(), detail.empty() ? "" : ": ",
                detail.c_str());
    std::fflush(stdout);
    ++(ok ? passed_ : failed_);
    return ok;
  }
  int Finish() const {
    std::printf("%d passed, %d failed\n", passed_, failed_);
    return failed_ == 0 ? 0 : 1;
  }

 private:
  int passed_ = 0;
  int failed_ = 0;
};

inline std::string Hex(long value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

// UTF-16 to UTF-8, for the report lines.
inline std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) {
    const unsigned c = static_cast<unsigned>(*text);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}
