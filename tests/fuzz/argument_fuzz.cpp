// The automation argument conversion: any VARIANT a client may pass (by value, by reference, or a
// reference to a VARIANT that holds one), to every C++ type a member takes; every result type back
// to its VARIANT; and the dispatcher's arrangement of arguments (counts, named arguments, the
// value of a property write) for any member. A conversion either succeeds or says why; it never
// crashes, reads past a string or through a null reference.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "driver/driver.h"
#include "fuzz_support.h"
#include "server/catalogue.h"
#include "server/dispatch.h"
#include "server/value.h"
#include "variants/traits.h"

using namespace zorfp;

namespace {

constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2,  VT_I4,  VT_R4, VT_R8,  VT_CY,  VT_DATE, VT_BSTR,  VT_ERROR,
                              VT_BOOL,  VT_I1,   VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT,  VT_UINT, VT_DECIMAL};

// What by-reference arguments point at: it outlives every call made with them.
struct Referents {
  std::uint64_t scalars[8][2] = {};  // room for the widest scalar a reference may claim
  BSTR texts[8] = {};
  VARIANT variants[8];
  int next_scalar = 0, next_text = 0, next_variant = 0;

  Referents() {
    for (VARIANT& v : variants) VariantInit(&v);
  }
  ~Referents() {
    for (BSTR t : texts) SysFreeString(t);
    for (VARIANT& v : variants) VariantClear(&v);
  }
};

BSTR FuzzText(fuzz::Input& in) {
  std::u16string units;
  for (Byte n = in.U8() % 40; n-- > 0;) units.push_back(static_cast<char16_t>(in.U8() % 2 ? in.U8() : in.U16()));
  return server::AllocBstr(units);
}

// A value of one of the plain types. Text owned by the VARIANT.
VARIANT Plain(fuzz::Input& in) {
  VARIANT v;
  VariantInit(&v);
  v.vt = kTypes[in.U8() % std::size(kTypes)];
  if (v.vt == VT_BSTR) {
    v.bstrVal = in.U8() % 16 == 0 ? nullptr : FuzzText(in);
  } else if (v.vt == VT_R4) {
    const std::uint32_t bits = in.U32();
    std::memcpy(&v.fltVal, &bits, 4);
  } else if (v.vt == VT_R8 || v.vt == VT_DATE) {
    const std::uint64_t bits = in.U64();
    std::memcpy(&v.dblVal, &bits, 8);
  } else {
    v.ullVal = in.U64();
  }
  return v;
}

// Any argument: a plain value, a reference to a scalar or text (sometimes null), or a reference
// to a VARIANT holding a plain value. The VARIANT never owns what a reference points at.
VARIANT Argument(fuzz::Input& in, Referents& refs) {
  const Byte how = in.U8() % 4;
  if (how < 2) return Plain(in);
  VARIANT v;
  VariantInit(&v);
  if (how == 2) {
    v.vt = VT_VARIANT | VT_BYREF;
    VARIANT& target = refs.variants[refs.next_variant++ % 8];
    VariantClear(&target);
    target = Plain(in);
    v.pvarVal = in.U8() % 16 == 0 ? nullptr : &target;
    return v;
  }
  const VARTYPE base = kTypes[in.U8() % std::size(kTypes)];
  v.vt = base | VT_BYREF;
  if (base == VT_BSTR) {
    BSTR& text = refs.texts[refs.next_text++ % 8];
    SysFreeString(text);
    text = in.U8() % 8 == 0 ? nullptr : FuzzText(in);
    v.pbstrVal = &text;
  } else {
    std::uint64_t* scalar = refs.scalars[refs.next_scalar++ % 8];
    scalar[0] = in.U64();
    scalar[1] = in.U64();
    v.byref = scalar;
  }
  if (in.U8() % 16 == 0) v.byref = nullptr;
  return v;
}

void ConvertToEveryType(const VARIANT& v) {
  Byte b;
  std::uint16_t w;
  std::uint32_t dw;
  std::int32_t i;
  std::uint64_t q;
  bool flag;
  double date;
  AnsiString text;
  server::ArgTo(v, b);
  server::ArgTo(v, w);
  server::ArgTo(v, dw);
  server::ArgTo(v, i);
  server::ArgTo(v, q);
  server::ArgTo(v, flag);
  server::ArgTo(v, date);
  server::ArgTo(v, text);
  for (const server::EnumInfo& e : server::Catalogue().enums) server::EnumeratorNamed(e, v);
}

// Every result type, from fuzz values, to a VARIANT and back.
void Results(fuzz::Input& in) {
  static constexpr server::AutoType kResultTypes[] = {
      server::AutoType::kByte, server::AutoType::kWord, server::AutoType::kDword, server::AutoType::kInt,
      server::AutoType::kQword, server::AutoType::kBool, server::AutoType::kDate, server::AutoType::kString};
  const server::TypeRef type{kResultTypes[in.U8() % std::size(kResultTypes)], nullptr};
  VARIANT out;
  switch (in.U8() % 5) {
    case 0: server::SetResult(out, in.U64(), type); break;
    case 1: server::SetResult(out, static_cast<std::int32_t>(in.U32()), type); break;
    case 2: server::SetResult(out, in.U8() % 2 == 0, type); break;
    case 3: {
      const std::uint64_t bits = in.U64();
      double d;
      std::memcpy(&d, &bits, 8);
      server::SetResult(out, d, type);
      break;
    }
    default: {
      const std::string text = in.Text(60);
      server::SetResult(out, AnsiString(text), type);
      break;
    }
  }
  ConvertToEveryType(out);
  VariantClear(&out);
}

// Files a member might write land in a folder of the fuzzer's own.
const std::filesystem::path& Scratch() {
  static const std::filesystem::path folder = [] {
    auto p = std::filesystem::temp_directory_path() / "zorfp-argument-fuzz";
    std::filesystem::create_directories(p);
    std::filesystem::current_path(p);
    return p;
  }();
  return folder;
}

// Writes that would aim the driver's files elsewhere, or make every call wait.
constexpr std::string_view kNotWritten[] = {"MMCReportFolder", "RepeatCount", "AnswerWaiting"};

// A freshly loaded library whose ports never open: a member that runs sends nothing, and nothing
// on the machine is touched. Copied back before every call, which is cheaper than a reload.
const Module& Pristine() {
  static const Module pristine = [] {
    Scratch();
    ResetModuleForTesting();
    Module& m = TheModule();
    m.env.log_folder = Scratch() / "Log";
    m.open_port = [](const std::string&) { return std::unique_ptr<SerialPort>(); };
    m.waiting_window_delay = std::chrono::milliseconds(0);
    return m;
  }();
  return pristine;
}

// The dispatcher's arrangement of arguments: any count, named arguments by any identifier, any
// access flags, for any member of any class.
void Arrangement(fuzz::Input& in, Referents& refs) {
  TheModule() = Pristine();
  const VariantTraits& traits = *ClassOrder()[in.U8() % kVariantCount];
  Driver d(traits);
  const server::Dispatcher& disp = server::Dispatcher::For(traits.id);
  const auto members = disp.members();
  const server::BoundMember& member = members[in.U16() % members.size()];
  static constexpr WORD kFlags[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                    DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUT | DISPATCH_METHOD, 0};
  const WORD flags = kFlags[in.U8() % std::size(kFlags)];
  if ((flags & DISPATCH_PROPERTYPUT) &&
      std::find(std::begin(kNotWritten), std::end(kNotWritten), member.info->name) != std::end(kNotWritten)) {
    return;
  }
  std::vector<VARIANT> args(in.U8() % 6);
  for (VARIANT& a : args) a = Argument(in, refs);
  std::vector<DISPID> named(std::min<std::size_t>(in.U8() % 4, args.size()));
  for (DISPID& id : named) id = in.U8() % 4 == 0 ? DISPID_PROPERTYPUT : static_cast<DISPID>(in.U8() % 8) - 2;
  DISPPARAMS params{args.data(), named.empty() ? nullptr : named.data(), static_cast<UINT>(args.size()),
                    static_cast<UINT>(named.size())};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO excep{};
  UINT arg_err = 0;
  disp.Invoke(d, member.info->dispid, flags, &params, in.U8() % 8 == 0 ? nullptr : &result, &excep, &arg_err);
  VariantClear(&result);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrSource);
  for (VARIANT& a : args) VariantClear(&a);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  Referents refs;
  switch (in.U8() % 4) {
    case 0:
    case 1: {
      VARIANT v = Argument(in, refs);
      ConvertToEveryType(v);
      VariantClear(&v);
      break;
    }
    case 2: Results(in); break;
    default: Arrangement(in, refs); break;
  }
  return 0;
}
