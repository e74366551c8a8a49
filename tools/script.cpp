#include "tools/script.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "dates/date_time.h"

namespace zorfp::tools {
namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool Tokenize(std::string_view s, std::vector<Token>& tokens, std::string& error) {
  std::size_t i = 0;
  while (true) {
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i == s.size()) return true;
    Token t;
    if (s[i] == '"') {
      t.quoted = true;
      for (++i;; ++i) {
        if (i == s.size()) return error = "unterminated string", false;
        if (s[i] == '"') break;
        if (s[i] == '\\') {
          if (i + 1 == s.size() || (s[i + 1] != '"' && s[i + 1] != '\\')) {
            return error = "unknown escape in a string (only \\\" and \\\\)", false;
          }
          ++i;
        }
        t.text += s[i];
      }
      ++i;
      if (i < s.size() && !IsSpace(s[i])) return error = "no blank after a string", false;
    } else {
      while (i < s.size() && !IsSpace(s[i])) {
        if (s[i] == '"') return error = "a quote inside a word", false;
        t.text += s[i++];
      }
    }
    tokens.push_back(std::move(t));
  }
}

bool IsName(std::string_view s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
  }
  return true;
}

bool Matches(std::string_view s, std::string_view pattern) {  // 9: a digit
  if (s.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (pattern[i] == '9' ? !std::isdigit(static_cast<unsigned char>(s[i])) : s[i] != pattern[i])
      return false;
  }
  return true;
}

bool ParseArgument(const Token& t, Argument& a, std::string& error) {
  a = Argument{};
  a.s = t.text;
  if (t.quoted) return true;
  const std::string& s = t.text;
  if (s == "true" || s == "false") {
    a.kind = Argument::kBool;
    a.b = s == "true";
    return true;
  }
  const bool negative = !s.empty() && s[0] == '-';
  if (s.size() > (negative ? 1u : 0u) &&
      s.find_first_not_of("0123456789", negative ? 1 : 0) == std::string::npos) {
    const char* end = s.data() + s.size();
    if (std::from_chars(s.data(), end, a.i).ec == std::errc()) {
      a.kind = Argument::kInt;
      return true;
    }
    if (!negative && std::from_chars(s.data(), end, a.u).ec == std::errc()) {
      a.kind = Argument::kUInt;
      return true;
    }
    return error = "integer out of range: " + s, false;
  }
  if (Matches(s, "9999-99-99") || Matches(s, "9999-99-99T99:99:99")) {
    const std::optional<double> date = ParseDateText(s);
    if (!date) return error = "no such date: " + s, false;
    a.kind = Argument::kDate;
    a.date = *date;
    return true;
  }
  return true;  // any other bare word is a string
}

}  // namespace

bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error) {
  line = ScriptLine{};
  std::vector<Token> tokens;
  if (!Tokenize(text, tokens, error)) return false;
  if (tokens.empty() || (!tokens[0].quoted && tokens[0].text[0] == '#')) return true;
  if (tokens[0].quoted || !IsName(tokens[0].text)) return error = "a line starts with a member name", false;
  line.name = tokens[0].text;

  if (line.name == "use") {
    if (tokens.size() != 2 || tokens[1].quoted) return error = "use wants one class name", false;
    line.kind = ScriptLine::kUse;
    line.name = tokens[1].text;
    return true;
  }
  std::size_t first = 1;
  line.kind = ScriptLine::kCall;
  if (tokens.size() > 1 && !tokens[1].quoted && tokens[1].text == "=") {
    if (tokens.size() != 3) return error = "a property write takes one value: Name = value", false;
    line.kind = ScriptLine::kWrite;
    first = 2;
  }
  for (std::size_t i = first; i < tokens.size(); ++i) {
    Argument a;
    if (!ParseArgument(tokens[i], a, error)) return false;
    line.args.push_back(std::move(a));
  }
  return true;
}

}  // namespace zorfp::tools
