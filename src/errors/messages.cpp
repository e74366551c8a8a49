#include "errors/messages.h"

#include "errors/codepage.h"

namespace zorfp {

std::optional<AnsiString> Pick(const Message& message, Byte lang) {
  const char* text = nullptr;
  switch (lang) {
    case kLangEnglish:
      text = message.en;
      break;
    case kLangRussian:
      text = message.ru;
      break;
    case kLangUkrainian:
      text = message.uk;
      break;
    default:
      return std::nullopt;
  }
  return text != nullptr ? Utf8ToAnsi(text) : AnsiString();
}

}  // namespace zorfp
