#include "tools/run_script.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "server/catalogue.h"
#include "dates/date_time.h"
#include "link/serial_port.h"
#include "tools/json.h"
#include "tools/script.h"
#include "zorfp/zorfp.h"

namespace zorfp::tools {
namespace {

constexpr int kRan = 0;
constexpr int kFailedInside = 1;
constexpr int kNotBound = 2;

struct Options {
  std::string cls = "ZOR_05_03";
  bool json = false;
  bool show_args = false;  // each call's arguments in its line
  std::string file;  // empty or "-": standard input
};

struct ObjectDeleter {
  void operator()(zorfp_object* o) const { zorfp_release(o); }
};
using Object = std::unique_ptr<zorfp_object, ObjectDeleter>;

// What one line did, printed as JSON or as a readable line.
struct Outcome {
  std::string cls;
  std::string member;
  std::string error;  // an automation failure; nothing else is set then
  Json args;          // null unless the arguments are shown
  bool write = false;
  bool property = false;  // a read shows no parentheses when it has no index
  Json value;         // null until set
  Json result;
  Json status;
  std::string text;
};

Json ValueJson(const zorfp_value& v) {
  switch (v.kind) {
    case ZORFP_EMPTY:
      return nullptr;
    case ZORFP_INT:
      return v.as.i;
    case ZORFP_UINT:
      return v.as.u;
    case ZORFP_BOOL:
      return static_cast<bool>(v.as.b);
    case ZORFP_STRING:
      return v.as.s ? v.as.s : "";
    case ZORFP_DATE:
      return DateText(v.as.date);
  }
  return nullptr;
}

zorfp_value ToValue(const Argument& a) {
  switch (a.kind) {
    case Argument::kInt:
      return zorfp_int(a.i);
    case Argument::kUInt:
      return zorfp_uint(a.u);
    case Argument::kBool:
      return zorfp_bool(a.b);
    case Argument::kDate:
      return zorfp_date(a.date);
    case Argument::kString:
      return zorfp_str(a.s.c_str());
  }
  return zorfp_value{};
}

Json ArgumentJson(const Argument& a) {
  switch (a.kind) {
    case Argument::kInt:
      return a.i;
    case Argument::kUInt:
      return a.u;
    case Argument::kBool:
      return a.b;
    case Argument::kDate:
      return DateText(a.date);
    case Argument::kString:
      return a.s;
  }
  return nullptr;
}

// "(2000, 3, false, \"Bread\")" after a method, " = 0" after a property write.
std::string ArgumentsText(const Outcome& r) {
  if (r.args.is_null()) return {};
  if (r.write) return " = " + JsonText(r.args.at(0));
  if (r.property && r.args.empty()) return {};
  std::string text = "(";
  for (std::size_t i = 0; i < r.args.size(); ++i) text += (i ? ", " : "") + JsonText(r.args[i]);
  return text + ")";
}

void Print(const Options& o, const Outcome& r) {
  std::string line;
  if (o.json) {
    Json j = {{"class", r.cls}, {"member", r.member}};
    if (!r.args.is_null()) j["args"] = r.args;
    if (!r.error.empty()) {
      j["error"] = r.error;
    } else {
      j["value"] = r.value;
      j["result"] = r.result;
      j["status"] = r.status;
      j["text"] = r.text;
    }
    line = JsonText(j);
  } else if (!r.error.empty()) {
    line = r.cls + "." + r.member + ArgumentsText(r) + ": error: " + r.error;
  } else {
    line = r.cls + "." + r.member + ArgumentsText(r) + " -> " + JsonText(r.value) + "  [result " + JsonText(r.result) +
           ", status " + JsonText(r.status) + "]";
    if (!r.text.empty()) line += " " + r.text;
  }
  std::cout << line << '\n' << std::flush;
}

class Runner {
 public:
  explicit Runner(Options options) : o_(std::move(options)) {}

  // Selects (creating on first use) this process's object of a class; false for an unknown class.
  bool Use(const std::string& name, std::string& error) {
    const server::ClassInfo* cls = server::Catalogue().FindClass(name);
    if (!cls) return error = "no class named " + name, false;
    Object& object = objects_[cls->coclass];
    if (!object) {
      zorfp_object* created = nullptr;
      if (zorfp_create(cls->coclass, &created) != ZORFP_OK) return error = zorfp_last_error(), false;
      object.reset(created);
    }
    current_ = cls;
    return true;
  }

  int Run(const ScriptLine& line) {
    const server::MemberInfo* info = current_->iface->Find(line.name);
    Outcome r;
    r.cls = current_->coclass;
    r.member = info ? info->name : line.name;
    r.write = line.kind == ScriptLine::kWrite;
    r.property = info && info->kind != server::MemberKind::kMethod;
    if (o_.show_args) {
      r.args = Json::array();
      for (const Argument& a : line.args) r.args.push_back(ArgumentJson(a));
    }
    zorfp_object* object = objects_[current_->coclass].get();
    std::vector<zorfp_value> args;
    for (const Argument& a : line.args) args.push_back(ToValue(a));

    zorfp_value value{};
    const zorfp_status status = line.kind == ScriptLine::kWrite
                                    ? zorfp_set(object, line.name.c_str(), args.data())
                                    : zorfp_call(object, line.name.c_str(), args.data(), args.size(), &value);
    if (status != ZORFP_OK) {
      r.error = zorfp_last_error();
      Print(o_, r);
      return status == ZORFP_E_EXCEPTION ? kFailedInside : kNotBound;
    }
    r.value = ValueJson(value);  // before the next call reuses the object's string
    const std::string open_failure = LastOpenFailure();  // read before anything else opens
    ReadCallResult(object, r);
    Print(o_, r);
    if ((r.member == "FPInit" || r.member == "FPInitEx") && r.value == false && !open_failure.empty()) {
      std::fprintf(stderr, "zorfp: %s: cannot open %s\n", r.member.c_str(), open_failure.c_str());
    }
    return kRan;
  }

 private:
  // Through the class's own call-result members, which do not talk to the printer.
  void ReadCallResult(zorfp_object* object, Outcome& r) {
    zorfp_value v{};
    if (zorfp_call(object, "GetByteResult", nullptr, 0, &v) == ZORFP_OK) r.result = ValueJson(v);
    if (zorfp_call(object, "GetByteStatus", nullptr, 0, &v) == ZORFP_OK) r.status = ValueJson(v);
    const char* text_member =
        current_->iface->Find("GetTextErrorMessage") ? "GetTextErrorMessage" : "FPErrorMessage";
    if (zorfp_call(object, text_member, nullptr, 0, &v) == ZORFP_OK && v.kind == ZORFP_STRING)
      r.text = v.as.s;
  }

  Options o_;
  std::map<std::string, Object> objects_;
  const server::ClassInfo* current_ = nullptr;
};

bool ParseOptions(std::span<const std::string_view> args, Options& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--json") {
      o.json = true;
    } else if (args[i] == "--show-args") {
      o.show_args = true;
    } else if (args[i] == "--class" && i + 1 < args.size()) {
      o.cls = args[++i];
    } else if (args[i].starts_with("--class=")) {
      o.cls = args[i].substr(8);
    } else if (o.file.empty() && (args[i] == "-" || !args[i].starts_with("-"))) {
      o.file = args[i];
    } else {
      std::fprintf(stderr, "zorfp: unexpected argument '%.*s' (see zorfp --help)\n",
                   static_cast<int>(args[i].size()), args[i].data());
      return false;
    }
  }
  return true;
}

}  // namespace

int RunScript(std::span<const std::string_view> args) {
  Options o;
  if (!ParseOptions(args, o)) return kFailedInside;
  std::ifstream file;
  std::istream* in = &std::cin;
  if (!o.file.empty() && o.file != "-") {
    file.open(o.file);
    if (!file) {
      std::fprintf(stderr, "zorfp: cannot read %s\n", o.file.c_str());
      return kFailedInside;
    }
    in = &file;
  }
  Runner runner(o);
  std::string error;
  if (!runner.Use(o.cls, error)) {
    std::fprintf(stderr, "zorfp: %s\n", error.c_str());
    return kFailedInside;
  }
  int exit_status = kRan;
  std::string text;
  for (int number = 1; std::getline(*in, text); ++number) {
    ScriptLine line;
    int status = kRan;
    if (!ParseScriptLine(text, line, error)) {
      std::fprintf(stderr, "zorfp: line %d: %s\n", number, error.c_str());
      status = kNotBound;
    } else if (line.kind == ScriptLine::kUse) {
      if (!runner.Use(line.name, error)) {
        std::fprintf(stderr, "zorfp: line %d: %s\n", number, error.c_str());
        status = kNotBound;
      }
    } else if (line.kind != ScriptLine::kNothing) {
      status = runner.Run(line);
    }
    exit_status = std::max(exit_status, status);
  }
  return exit_status;
}

}  // namespace zorfp::tools
