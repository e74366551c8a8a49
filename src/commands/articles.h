// Articles: goods the printer keeps by code, with price, tax group and name (programmed with
// command 0x22), and their day counters read back with the article query (0x29). Each
// GetArticle... property runs its own query; FPGetArtInfo keeps one answer for the GetArt...
// properties (05-02, 05-03). The properties are bindings (server/bind/articles.cpp).
#pragma once

#include <cstdint>
#include <optional>

#include "driver/driver.h"

namespace zorfp {

// Newer classes: a six-byte code, the code as decimal text in the Ex form.
bool FPProgArt(Driver& d, std::uint16_t Password_Prog, Byte Amount_Status, std::int32_t Price,
               std::int32_t TAXGroup, const AnsiString& GoodName, std::uint64_t Code);
bool FPProgArtEx(Driver& d, std::uint16_t Password_Prog, Byte Amount_Status, std::int32_t Price,
                 std::int32_t TAXGroup, const AnsiString& GoodName, const AnsiString& StrCode);
// Older classes: a four-byte code on both, although 08-01 sells by two.
bool FPProgArt(Driver& d, std::uint16_t Password_Admin, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
               const AnsiString& Goods, std::uint32_t Articul);

// One article query: exactly n + 24 bytes for a name of n, else 102 without data and 103. Codes
// from 2^48 up, and texts that are not a code from 0 to 2^48 - 1, are refused (111) unsent.
std::optional<ArticleInfo> ReadArticle(Driver& d, std::uint64_t Code);
std::optional<ArticleInfo> ReadArticleEx(Driver& d, const AnsiString& StrCode);

bool FPGetArtInfo(Driver& d, std::uint64_t Code);
bool FPGetArtInfoExt(Driver& d, const AnsiString& StrCode);
ArticleInfo& HeldArticle(Driver& d);

}  // namespace zorfp
