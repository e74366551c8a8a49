// Refusals of the tax programming members. The per-group texts name the group by its letter: A to
// E in English, А Б В Г Д in Russian and Ukrainian.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kTooManyTaxes = {26,
                                              {
                                                  "Too many VATs!",
                                                  "Слишком много налогов!",
                                                  "Дуже багато податків!",
                                              }};
// FPSetTaxes has always spelt it this way.
inline constexpr DriverError kTooManyTaxesHeld = {26,
                                                  {
                                                      "Too many vats!",
                                                      kTooManyTaxes.text.ru,
                                                      kTooManyTaxes.text.uk,
                                                  }};

inline constexpr int kRateGroups = 5;  // A to E

inline constexpr DriverError kBaseRateTooHigh[kRateGroups] = {
    {113,
     {"Value of VAT \"A\" exceeds 99,99%", "Значение ставки налога \"А\" превышает 99,99%",
      "Значення ставки податку \"А\" перевищує 99,99%"}},
    {113,
     {"Value of VAT \"B\" exceeds 99,99%", "Значение ставки налога \"Б\" превышает 99,99%",
      "Значення ставки податку \"Б\" перевищує 99,99%"}},
    {113,
     {"Value of VAT \"C\" exceeds 99,99%", "Значение ставки налога \"В\" превышает 99,99%",
      "Значення ставки податку \"В\" перевищує 99,99%"}},
    {113,
     {"Value of VAT \"D\" exceeds 99,99%", "Значение ставки налога \"Г\" превышает 99,99%",
      "Значення ставки податку \"Г\" перевищує 99,99%"}},
    {113,
     {"Value of VAT \"E\" exceeds 99,99%", "Значение ставки налога \"Д\" превышает 99,99%",
      "Значення ставки податку \"Д\" перевищує 99,99%"}},
};

// The Russian text opens with a Latin C, as the driver has always shown it.
inline constexpr DriverError kRateSumTooHigh[kRateGroups] = {
    {113,
     {"Sum of additional tax and VAT \"A\" exceeds 99,99%",
      "Cумма дополнительной и базовой ставок налога \"А\" превышает 99,99%",
      "Сума додаткової та базової ставок податку \"А\" перевищують 99,99%"}},
    {113,
     {"Sum of additional tax and VAT \"B\" exceeds 99,99%",
      "Cумма дополнительной и базовой ставок налога \"Б\" превышает 99,99%",
      "Сума додаткової та базової ставок податку \"Б\" перевищують 99,99%"}},
    {113,
     {"Sum of additional tax and VAT \"C\" exceeds 99,99%",
      "Cумма дополнительной и базовой ставок налога \"В\" превышает 99,99%",
      "Сума додаткової та базової ставок податку \"В\" перевищують 99,99%"}},
    {113,
     {"Sum of additional tax and VAT \"D\" exceeds 99,99%",
      "Cумма дополнительной и базовой ставок налога \"Г\" превышает 99,99%",
      "Сума додаткової та базової ставок податку \"Г\" перевищують 99,99%"}},
    {113,
     {"Sum of additional tax and VAT \"E\" exceeds 99,99%",
      "Cумма дополнительной и базовой ставок налога \"Д\" превышает 99,99%",
      "Сума додаткової та базової ставок податку \"Д\" перевищують 99,99%"}},
};

// Not among the classic texts: an additional rate outside 0 to 9999 would go out cut to 16 bits.
inline constexpr DriverError kExtraRateOutOfRange[kRateGroups] = {
    {113,
     {"Value of additional tax \"A\" exceeds 99,99%", "Значение дополнительной ставки налога \"А\" превышает 99,99%",
      "Значення додаткової ставки податку \"А\" перевищує 99,99%"}},
    {113,
     {"Value of additional tax \"B\" exceeds 99,99%", "Значение дополнительной ставки налога \"Б\" превышает 99,99%",
      "Значення додаткової ставки податку \"Б\" перевищує 99,99%"}},
    {113,
     {"Value of additional tax \"C\" exceeds 99,99%", "Значение дополнительной ставки налога \"В\" превышает 99,99%",
      "Значення додаткової ставки податку \"В\" перевищує 99,99%"}},
    {113,
     {"Value of additional tax \"D\" exceeds 99,99%", "Значение дополнительной ставки налога \"Г\" превышает 99,99%",
      "Значення додаткової ставки податку \"Г\" перевищує 99,99%"}},
    {113,
     {"Value of additional tax \"E\" exceeds 99,99%", "Значение дополнительной ставки налога \"Д\" превышает 99,99%",
      "Значення додаткової ставки податку \"Д\" перевищує 99,99%"}},
};

// The older classes show these as text alone.
inline constexpr DriverError kTaxValueImpossible = {113,
                                                    {
                                                        "VAT value impossible!",
                                                        "Недопустимое значение налоговой ставки!",
                                                        "Недопустиме значення податкової ставки!",
                                                    }};
inline constexpr DriverError kTooManyDecimals = {111,
                                                 {
                                                     "Quantity of decimal digits of money more than 8!",
                                                     "Количество десятичных разрядов денежных сумм больше 8!",
                                                     "Кількість десяткових розрядів грошових сум більше 8!",
                                                 }};

}  // namespace zorfp::texts
