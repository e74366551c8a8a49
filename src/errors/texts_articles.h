// Refusals of the article members: programming an article and reading one back.
#pragma once

#include "errors/texts.h"
#include "errors/texts_items.h"

namespace zorfp::texts {

// 65535 is the one programming password the driver turns down itself.
inline constexpr DriverError kArticleProgPassword = {21,
                                                     {
                                                         "Incorrect password of programming!",
                                                         "Неверный пароль программирования!",
                                                         "Невірний пароль програмування!",
                                                     }};
inline constexpr DriverError kArticleTaxMissing = {26,
                                                   {
                                                       "VAT does not exist!",
                                                       "Налог не существует!",
                                                       "Податок не існує!",
                                                   }};

}  // namespace zorfp::texts
