// Refusals of the sale and refund items.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kItemsQuantity = {109,
                                               {
                                                   "Items quantity more than is possible!",
                                                   "Количество товаров больше допустимого!",
                                                   "Кількість товарів більше ніж допустимо!",
                                               }};
inline constexpr DriverError kItemNameOver25 = {20,
                                                {
                                                    "Item name exceeds 25 characters!",
                                                    "Название товара превышает 25 символов!",
                                                    "Назва товару перевищує 25 символів!",
                                                }};
inline constexpr DriverError kItemNameOver50 = {20,
                                                {
                                                    "Item name exceeds 50 characters!",
                                                    "Название товара превышает 50 символов!",
                                                    "Назва товару перевищує 50 символів!",
                                                }};
inline constexpr DriverError kItemNameOver70 = {20,
                                                {
                                                    "Item name exceeds 70 characters!",
                                                    "Название товара превышает 70 символов!",
                                                    "Назва товару перевищує 70 символів!",
                                                }};
// A tax group past F: the printer's own code for a group that does not exist, with this text.
inline constexpr DriverError kTaxGroupMissing = {23, kTaxesEmpty.text};
// Not among the classic texts: a price the wire cannot carry (its sign bit) is refused.
inline constexpr DriverError kIncorrectPrice = {111,
                                                {
                                                    "Incorrect price!",
                                                    "Неверная цена!",
                                                    "Невірна ціна!",
                                                }};

}  // namespace zorfp::texts
