// The automation argument conversion: any VARIANT a client may pass, to every C++ type a member
// takes. A conversion either succeeds or says why; it never crashes or reads past a string.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "server/catalogue.h"
#include "server/value.h"

using namespace zorfp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  VARIANT v;
  VariantInit(&v);
  static constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE, VT_BSTR,
                                       VT_ERROR, VT_BOOL, VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8, VT_INT,
                                       VT_UINT, VT_DECIMAL};
  v.vt = kTypes[in.U8() % std::size(kTypes)];
  if (v.vt == VT_BSTR) {
    std::u16string units;
    for (Byte n = in.U8() % 40; n-- > 0;) units.push_back(static_cast<char16_t>(in.U8() % 2 ? in.U8() : in.U16()));
    v.bstrVal = server::AllocBstr(units);
  } else if (v.vt == VT_R4) {
    const std::uint32_t bits = in.U32();
    static_assert(sizeof(float) == 4);
    std::memcpy(&v.fltVal, &bits, 4);
  } else if (v.vt == VT_R8 || v.vt == VT_DATE) {
    const std::uint64_t bits = in.U64();
    std::memcpy(&v.dblVal, &bits, 8);
  } else {
    v.ullVal = in.U64();
  }
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
  VariantClear(&v);
  return 0;
}
