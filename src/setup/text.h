// Small text helpers of the setup program: ASCII case, trimming, numbers, printf-style texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorfp::setup {

std::string AsciiUpper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view s);
bool IsWellFormedUtf8(std::string_view s);

// The leading decimal digits of `s` as a number (0 when it starts with anything else); a number too
// large for 64 bits stays at the largest value.
std::uint64_t LeadingNumber(std::string_view s);

// snprintf into a string.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace zorfp::setup
