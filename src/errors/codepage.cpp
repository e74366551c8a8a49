// Windows-1251 and code page 866 as fixed tables. Bytes below 0x80 are ASCII in both pages; only
// the upper halves are listed. The reverse direction is a table sorted by character, built at
// compile time from the same data, so the two directions can never disagree.
#include "errors/codepage.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace zorfp {
namespace {

using UpperHalf = std::array<char16_t, 128>;

// 0x98 is unassigned in Windows-1251; it maps to the C1 control U+0098 so that every byte still
// survives a round trip through Unicode.
constexpr UpperHalf kCp1251Upper = {
    // 0x80
    u'\u0402', u'\u0403', u'\u201A', u'\u0453', u'\u201E', u'\u2026', u'\u2020', u'\u2021',  //
    u'\u20AC', u'\u2030', u'\u0409', u'\u2039', u'\u040A', u'\u040C', u'\u040B', u'\u040F',  //
    // 0x90
    u'\u0452', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',  //
    u'\u0098', u'\u2122', u'\u0459', u'\u203A', u'\u045A', u'\u045C', u'\u045B', u'\u045F',  //
    // 0xA0
    u'\u00A0', u'\u040E', u'\u045E', u'\u0408', u'\u00A4', u'\u0490', u'\u00A6', u'\u00A7',  //
    u'\u0401', u'\u00A9', u'\u0404', u'\u00AB', u'\u00AC', u'\u00AD', u'\u00AE', u'\u0407',  //
    // 0xB0
    u'\u00B0', u'\u00B1', u'\u0406', u'\u0456', u'\u0491', u'\u00B5', u'\u00B6', u'\u00B7',  //
    u'\u0451', u'\u2116', u'\u0454', u'\u00BB', u'\u0458', u'\u0405', u'\u0455', u'\u0457',  //
    // 0xC0: А..Я, 0xE0: а..я
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',  //
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',  //
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',  //
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',  //
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',  //
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',  //
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',  //
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',  //
};

constexpr UpperHalf kCp866Upper = {
    // 0x80: А..Я, 0xA0: а..п
    u'\u0410', u'\u0411', u'\u0412', u'\u0413', u'\u0414', u'\u0415', u'\u0416', u'\u0417',  //
    u'\u0418', u'\u0419', u'\u041A', u'\u041B', u'\u041C', u'\u041D', u'\u041E', u'\u041F',  //
    u'\u0420', u'\u0421', u'\u0422', u'\u0423', u'\u0424', u'\u0425', u'\u0426', u'\u0427',  //
    u'\u0428', u'\u0429', u'\u042A', u'\u042B', u'\u042C', u'\u042D', u'\u042E', u'\u042F',  //
    u'\u0430', u'\u0431', u'\u0432', u'\u0433', u'\u0434', u'\u0435', u'\u0436', u'\u0437',  //
    u'\u0438', u'\u0439', u'\u043A', u'\u043B', u'\u043C', u'\u043D', u'\u043E', u'\u043F',  //
    // 0xB0: shades and box drawing
    u'\u2591', u'\u2592', u'\u2593', u'\u2502', u'\u2524', u'\u2561', u'\u2562', u'\u2556',  //
    u'\u2555', u'\u2563', u'\u2551', u'\u2557', u'\u255D', u'\u255C', u'\u255B', u'\u2510',  //
    u'\u2514', u'\u2534', u'\u252C', u'\u251C', u'\u2500', u'\u253C', u'\u255E', u'\u255F',  //
    u'\u255A', u'\u2554', u'\u2569', u'\u2566', u'\u2560', u'\u2550', u'\u256C', u'\u2567',  //
    u'\u2568', u'\u2564', u'\u2565', u'\u2559', u'\u2558', u'\u2552', u'\u2553', u'\u256B',  //
    u'\u256A', u'\u2518', u'\u250C', u'\u2588', u'\u2584', u'\u258C', u'\u2590', u'\u2580',  //
    // 0xE0: р..я
    u'\u0440', u'\u0441', u'\u0442', u'\u0443', u'\u0444', u'\u0445', u'\u0446', u'\u0447',  //
    u'\u0448', u'\u0449', u'\u044A', u'\u044B', u'\u044C', u'\u044D', u'\u044E', u'\u044F',  //
    // 0xF0
    u'\u0401', u'\u0451', u'\u0404', u'\u0454', u'\u0407', u'\u0457', u'\u040E', u'\u045E',  //
    u'\u00B0', u'\u2219', u'\u00B7', u'\u221A', u'\u2116', u'\u00A4', u'\u25A0', u'\u00A0',  //
};

struct Entry {
  char16_t c;
  Byte b;
};
using Reverse = std::array<Entry, 128>;

constexpr Reverse MakeReverse(const UpperHalf& upper) {
  Reverse r{};
  for (std::size_t i = 0; i < upper.size(); ++i) r[i] = {upper[i], static_cast<Byte>(0x80 + i)};
  std::sort(r.begin(), r.end(), [](const Entry& x, const Entry& y) { return x.c < y.c; });
  return r;
}

constexpr Reverse kCp1251Reverse = MakeReverse(kCp1251Upper);
constexpr Reverse kCp866Reverse = MakeReverse(kCp866Upper);

constexpr char16_t ToUnicode(const UpperHalf& upper, Byte b) {
  return b < 0x80 ? char16_t{b} : upper[b - 0x80];
}

constexpr Byte FromUnicode(const Reverse& reverse, char16_t c) {
  if (c < 0x80) return static_cast<Byte>(c);
  const auto it =
      std::lower_bound(reverse.begin(), reverse.end(), c, [](const Entry& e, char16_t v) { return e.c < v; });
  return it != reverse.end() && it->c == c ? it->b : Byte{'?'};
}

// One page's upper half straight into the other's, composed at compile time from the tables
// above: a conversion between the pages costs one look-up a character instead of a search.
using Direct = std::array<Byte, 128>;

constexpr Direct MakeDirect(const UpperHalf& from, const Reverse& to) {
  Direct d{};
  for (std::size_t i = 0; i < from.size(); ++i) d[i] = FromUnicode(to, from[i]);
  return d;
}

constexpr Direct kCp1251To866 = MakeDirect(kCp1251Upper, kCp866Reverse);
constexpr Direct kCp866To1251 = MakeDirect(kCp866Upper, kCp1251Reverse);

std::string Convert(std::string_view in, const Direct& direct) {
  std::string out(in.size(), '\0');
  for (std::size_t i = 0; i < in.size(); ++i) {
    const auto b = static_cast<Byte>(in[i]);
    out[i] = static_cast<char>(b < 0x80 ? b : direct[b - 0x80]);
  }
  return out;
}

void AppendUtf8(std::string& out, char16_t c) {
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

// Decodes one character starting at `i` and moves `i` past it. An ill-formed sequence yields -1
// and moves past its longest valid-looking beginning only, so the next character is not swallowed.
long NextCodePoint(std::string_view s, std::size_t& i) {
  const Byte lead = static_cast<Byte>(s[i++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  long cp = 0;
  long min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return -1;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size() || (static_cast<Byte>(s[i]) & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (static_cast<Byte>(s[i++]) & 0x3F);
  }
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (cp < min || surrogate || cp > 0x10FFFF) return -1;
  return cp;
}

}  // namespace

char16_t Cp1251ToUnicode(Byte b) {
  return ToUnicode(kCp1251Upper, b);
}
char16_t Cp866ToUnicode(Byte b) {
  return ToUnicode(kCp866Upper, b);
}
Byte UnicodeToCp1251(char16_t c) {
  return FromUnicode(kCp1251Reverse, c);
}
Byte UnicodeToCp866(char16_t c) {
  return FromUnicode(kCp866Reverse, c);
}

std::string AnsiToOem(std::string_view ansi) {
  return Convert(ansi, kCp1251To866);
}

AnsiString OemToAnsi(std::string_view oem) {
  return Convert(oem, kCp866To1251);
}

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size() * 2);
  for (char ch : ansi) AppendUtf8(out, Cp1251ToUnicode(static_cast<Byte>(ch)));
  return out;
}

AnsiString Utf8ToAnsi(std::string_view utf8) {
  AnsiString out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const long cp = NextCodePoint(utf8, i);
    // Characters outside the Basic Multilingual Plane have no place in either code page.
    out += static_cast<char>(cp < 0 || cp > 0xFFFF ? Byte{'?'} : UnicodeToCp1251(static_cast<char16_t>(cp)));
  }
  return out;
}

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out(ansi.size(), u'\0');
  for (std::size_t i = 0; i < ansi.size(); ++i) out[i] = Cp1251ToUnicode(static_cast<Byte>(ansi[i]));
  return out;
}

AnsiString Utf16ToAnsi(std::u16string_view utf16) {
  AnsiString out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t c = utf16[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool low = c >= 0xDC00 && c <= 0xDFFF;
    if (high || low) {
      // A surrogate pair is one character beyond both pages: one '?' for the pair.
      if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) ++i;
      out += '?';
      continue;
    }
    out += static_cast<char>(UnicodeToCp1251(c));
  }
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace zorfp
