// Refusals of payments, discounts, comments and cash operations.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kPaymentFormError = {24,
                                                  {
                                                      "Payment form error!",
                                                      "Ошибка формы оплаты!",
                                                      "Помилка форми оплати!",
                                                  }};
inline constexpr DriverError kBadDiscountType = {110,
                                                 {
                                                     "Incorrect discount/mark-up type!",
                                                     "Неправильный тип дисконтной операции!",
                                                     "Невірний тип дисконтної операції!",
                                                 }};
// Not among the classic texts: a payment or discount value whose high bits would be read by the
// printer as flags (close the receipt, relative) is refused instead of sent.
inline constexpr DriverError kIncorrectPaymentSum = {111,
                                                     {
                                                         "Incorrect payment sum!",
                                                         "Неверная сумма оплаты!",
                                                         "Невірна сума оплати!",
                                                     }};
inline constexpr DriverError kIncorrectDiscountValue = {111,
                                                        {
                                                            "Incorrect discount/mark-up value!",
                                                            "Неверное значение скидки/надбавки!",
                                                            "Невірне значення знижки/надбавки!",
                                                        }};
// The older payment's information line; those classes report by text alone.
inline constexpr DriverError kInformationOver14 = {20,
                                                   {
                                                       "Comment line exceeds 14 characters!",
                                                       "Строка комментария превышает 14 символов!",
                                                       "Рядок коментаря до перевищує 14 символів!",
                                                   }};
inline constexpr DriverError kDiscountCommentOver25 = {20,
                                                       {
                                                           "Comment line exceeds 25 characters!",
                                                           "Строка комментария превышает 25 символов!",
                                                           "Рядок коментара перевищує 25 символів!",
                                                       }};
inline constexpr DriverError kCommentsLengthError = {20,
                                                     {
                                                         "Comments length error!",
                                                         "Ошибка длины комментариев!",
                                                         "Помилка довжини коментарів!",
                                                     }};

}  // namespace zorfp::texts
