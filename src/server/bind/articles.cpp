// Bindings of the article members: programming, the properties that run one article query each
// (by code and, in the Ex forms, by code as text), and the copy FPGetArtInfo keeps (05-02, 05-03).
#include "commands/articles.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::AsLow32;
using server::Bind;
using server::HeldField;
using server::QueryField;

using NewerProgArt = bool(std::uint16_t, Byte, std::int32_t, std::int32_t, const AnsiString&, std::uint64_t);
using OlderProgArt = bool(std::uint16_t, Byte, std::int32_t, Byte, const AnsiString&, std::uint32_t);

// The fallbacks are the values a failed query has always returned.
template <auto Read>
std::vector<server::Binding> ArticleProperties(std::string_view suffix, std::string_view ext_suffix) {
  const auto name = [&](std::string_view stem, std::string_view tail) {
    return server::KeepName(std::string(stem) + std::string(tail));
  };
  return {
      QueryField<Read, &ArticleInfo::NameLength, 255>(name("GetArticleLengthName", suffix)),
      QueryField<Read, &ArticleInfo::Name>(name("GetArticleName", suffix)),
      QueryField<Read, &ArticleInfo::Price, -1>(name("GetArticlePrice", suffix)),
      QueryField<Read, &ArticleInfo::Tax, 255>(name("GetArticleTax", suffix)),
      QueryField<Read, &ArticleInfo::SaleAmount, -1>(name("GetArticleSaleAmount", suffix)),
      QueryField<Read, &ArticleInfo::SaleStatus, 255>(name("GetArticleSaleStatus", suffix)),
      QueryField<Read, &ArticleInfo::SaleTurn>(name("GetArticleTurnSale", suffix)),
      QueryField<Read, &ArticleInfo::RefundAmount, -1>(name("GetArticlePayAmount", suffix)),
      QueryField<Read, &ArticleInfo::RefundStatus, 255>(name("GetArticlePayStatus", suffix)),
      QueryField<Read, &ArticleInfo::RefundTurn>(name("GetArticleTurnPay", suffix)),
      QueryField<Read, &ArticleInfo::SaleTurn, 0, AsLow32>(name("GetArticleTurnSale", ext_suffix)),
      QueryField<Read, &ArticleInfo::RefundTurn, 0, AsLow32>(name("GetArticleTurnPay", ext_suffix)),
  };
}

const server::Bindings kArticleBindings{
    Bind<NewerProgArt>(&FPProgArt, "FPProgArt"),
    Bind<OlderProgArt>(&FPProgArt, "FPProgArt"),
    Bind(&FPProgArtEx, "FPProgArtEx"),
    ArticleProperties<&ReadArticle>("", "Ext"),
    ArticleProperties<&ReadArticleEx>("Ex", "ExExt"),
};

const server::Bindings kArticleInfoBindings{
    Bind(&FPGetArtInfo, "FPGetArtInfo"),
    Bind(&FPGetArtInfoExt, "FPGetArtInfoExt"),
    HeldField<&HeldArticle, &ArticleInfo::NameLength>("GetArtNameLength"),
    HeldField<&HeldArticle, &ArticleInfo::Name>("GetArtName"),
    HeldField<&HeldArticle, &ArticleInfo::Price>("GetArtPrice"),
    HeldField<&HeldArticle, &ArticleInfo::Tax>("GetArtTaxId"),
    HeldField<&HeldArticle, &ArticleInfo::SaleAmount>("GetArtSaleAmount"),
    HeldField<&HeldArticle, &ArticleInfo::SaleStatus>("GetArtSaleAmountStatus"),
    HeldField<&HeldArticle, &ArticleInfo::SaleTurn, AsLow32>("GetArtSaleTurn"),
    HeldField<&HeldArticle, &ArticleInfo::RefundAmount>("GetArtRefundAmount"),
    HeldField<&HeldArticle, &ArticleInfo::RefundStatus>("GetArtRefundAmountStatus"),
    HeldField<&HeldArticle, &ArticleInfo::RefundTurn, AsLow32>("GetArtRefundTurn"),
};

}  // namespace
}  // namespace zorfp
