// Every bound member of every class, called through the dispatcher with fuzz-chosen arguments
// (of every automation type a client may pass), against a printer whose every answer comes from
// the fuzz input. No member may read out of bounds, hang or crash, whatever it is given and
// whatever the printer sends. A binding is fuzzed from the day it exists.
//
// Not called: the writes that would aim the driver's files somewhere else (a report folder), and
// the two settings that would make a silent printer cost seconds a call (attempts, answer window).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "driver/driver.h"
#include "fuzz_support.h"
#include "server/dispatch.h"
#include "server/value.h"
#include "variants/traits.h"

namespace {

using namespace zorfp;

constexpr std::string_view kNotWritten[] = {"MMCReportFolder", "RepeatCount", "AnswerWaiting"};

fuzz::TickingClock& TheClock() {
  static fuzz::TickingClock clock;
  return clock;
}

// Files the driver writes (the log, reports) land in a folder of the fuzzer's own.
const std::filesystem::path& Scratch() {
  static const std::filesystem::path folder = [] {
    auto p = std::filesystem::temp_directory_path() / "zorfp-member-fuzz";
    std::filesystem::create_directories(p);
    std::filesystem::current_path(p);
    return p;
  }();
  return folder;
}

VARIANT Argument(fuzz::Input& in, const server::TypeRef& type) {
  VARIANT v;
  VariantInit(&v);
  switch (in.U8() % 8) {
    case 0:  // text, the way scripts pass numbers and dates too
    {
      std::u16string units;
      for (Byte n = in.U8() % 24; n-- > 0;) units.push_back(static_cast<char16_t>(in.U8() < 0xC0 ? in.U8() : in.U16()));
      v.vt = VT_BSTR, v.bstrVal = server::AllocBstr(units);
      return v;
    }
    case 1: v.vt = VT_I4, v.lVal = static_cast<std::int32_t>(in.U32()); return v;
    case 2: v.vt = VT_R8, v.dblVal = static_cast<double>(static_cast<std::int32_t>(in.U32())) / 7.0; return v;
    case 3: v.vt = VT_BOOL, v.boolVal = in.U8() % 2 ? VARIANT_TRUE : VARIANT_FALSE; return v;
    default: break;
  }
  // The member's own type.
  switch (type.type) {
    case server::AutoType::kByte: v.vt = VT_UI1, v.bVal = in.U8(); break;
    case server::AutoType::kWord: v.vt = VT_UI2, v.uiVal = in.U16(); break;
    case server::AutoType::kDword: v.vt = VT_UI4, v.ulVal = in.U32(); break;
    case server::AutoType::kQword: v.vt = VT_UI8, v.ullVal = in.U64(); break;
    case server::AutoType::kBool: v.vt = VT_BOOL, v.boolVal = in.U8() % 2 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case server::AutoType::kDate: v.vt = VT_DATE, v.date = static_cast<double>(in.U32() % 80000) + in.U8() / 256.0; break;
    case server::AutoType::kString: {
      const std::string text = in.Text(80);
      std::u16string units(text.begin(), text.end());
      v.vt = VT_BSTR, v.bstrVal = server::AllocBstr(units);
      break;
    }
    default: v.vt = VT_I4, v.lVal = static_cast<std::int32_t>(in.U8() % 12) - 1; break;
  }
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Scratch();
  fuzz::Input in(data, size);
  ResetModuleForTesting();
  Module& m = TheModule();
  m.clock = &TheClock();
  m.waiting_window_delay = std::chrono::milliseconds(0);
  m.env.log_folder = Scratch() / "Log";
  std::deque<Bytes> replies;
  m.open_port = [&replies](const std::string&) { return std::make_unique<fuzz::ReplyPort>(replies); };

  const VariantTraits& traits = *ClassOrder()[in.U8() % kVariantCount];
  Driver d(traits);
  d.set_port(m.open_port(""));
  const server::Dispatcher& disp = server::Dispatcher::For(traits.id);
  const auto members = disp.members();

  for (int call = 0; call < 6 && !in.empty(); ++call) {
    const server::BoundMember& member = members[in.U16() % members.size()];
    const server::MemberInfo& info = *member.info;
    const bool put = member.put != nullptr && (member.call == nullptr || in.U8() % 2 == 0);
    if (put && std::find(std::begin(kNotWritten), std::end(kNotWritten), info.name) != std::end(kNotWritten)) {
      continue;
    }
    replies.clear();
    for (Byte n = in.U8() % 5; n-- > 0;) replies.push_back(in.Reply());

    std::vector<VARIANT> args;  // DISPPARAMS order: the last argument first
    for (const server::ParamInfo& p : info.params) args.insert(args.begin(), Argument(in, p.type));
    DISPID named = DISPID_PROPERTYPUT;
    if (put) args.insert(args.begin(), Argument(in, info.type));
    DISPPARAMS params{args.data(), put ? &named : nullptr, static_cast<UINT>(args.size()), put ? 1u : 0u};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    UINT arg_err = 0;
    disp.Invoke(d, info.dispid, put ? DISPATCH_PROPERTYPUT : DISPATCH_METHOD | DISPATCH_PROPERTYGET, &params,
                put ? nullptr : &result, &excep, &arg_err);
    VariantClear(&result);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    for (VARIANT& a : args) VariantClear(&a);
  }
  return 0;
}
