// Texts in the driver's three languages. Written in UTF-8 in the source; handed out as
// Windows-1251, the driver's own code page.
#pragma once

#include <optional>

#include "link/bytes.h"

namespace zorfp {

inline constexpr Byte kLangEnglish = 0;
inline constexpr Byte kLangRussian = 1;
inline constexpr Byte kLangUkrainian = 2;

struct Message {
  const char* en;
  const char* ru;
  const char* uk;
};

// A failure the driver finds itself: the code the client reads (ReportedResult) and its text,
// always together, so that no call site can pair a code with another code's text.
struct DriverError {
  Byte code;
  Message text;
};

// The text in `lang` as Windows-1251; nullopt for a language other than 0, 1 or 2 (the caller
// then leaves the error text as it was).
std::optional<AnsiString> Pick(const Message& message, Byte lang);

}  // namespace zorfp
