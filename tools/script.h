// The zorfp script language: one member call per line.
//
//   FPInitEx "/dev/ttyUSB0" 19200 10 10     a method, or a property read (an index as argument)
//   Lang = 0                                a property write
//   use ZOR_EP_02                           switch to this process's object of that class
//   # a comment
//
// Arguments: integers, true / false, "strings" with \" and \\ escapes, dates YYYY-MM-DD or
// YYYY-MM-DDTHH:MM:SS, and any other bare word as a string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorfp::tools {

struct Argument {
  enum Kind { kInt, kUInt, kBool, kString, kDate } kind = kString;
  std::int64_t i = 0;   // kInt
  std::uint64_t u = 0;  // kUInt: above the signed range
  bool b = false;
  std::string s;    // UTF-8
  double date = 0;  // OLE automation date

  bool operator==(const Argument&) const = default;
};

struct ScriptLine {
  enum Kind { kNothing, kCall, kWrite, kUse } kind = kNothing;
  std::string name;            // the member, or the class of `use`
  std::vector<Argument> args;  // a write: the one value
};

// False with `error` set when the line is not of the language.
bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error);

}  // namespace zorfp::tools
