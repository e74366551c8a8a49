// The script language of the command-line client, line by line: any text either parses or says
// why, and what parses reads back the same when it is written out again (strings quoted, other
// arguments as they were written).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/script.h"

namespace {

using zorfp::tools::Argument;
using zorfp::tools::ScriptLine;

std::string Quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

std::string Written(const ScriptLine& line) {
  switch (line.kind) {
    case ScriptLine::kNothing: return "";
    case ScriptLine::kUse: return "use " + line.name;
    case ScriptLine::kWrite:
    case ScriptLine::kCall: break;
  }
  std::string out = line.name;
  if (line.kind == ScriptLine::kWrite) out += " =";
  for (const Argument& a : line.args) out += " " + (a.kind == Argument::kString ? Quoted(a.s) : a.s);
  return out;
}

void Check(std::string_view text) {
  ScriptLine line;
  std::string error;
  if (!ParseScriptLine(text, line, error)) {
    if (error.empty()) std::abort();  // a refusal always says why
    return;
  }
  ScriptLine again;
  if (!ParseScriptLine(Written(line), again, error)) std::abort();
  if (again.kind != line.kind || again.name != line.name || again.args != line.args) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text);  // newlines are blanks to the parser, so the whole input is one line too
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    Check(text.substr(start, end - start));
    start = end + 1;
  }
  return 0;
}
