// Refusals of the programming members: cashiers and passwords, the header and the advertising
// lines, the fiscal number, payment names and the service settings.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

// Cashiers and passwords.
inline constexpr Message kUserIdImpossible = {
    "User ID impossible!",
    "Недопустимый идентификатор пользователя!",
    "Недопустимий ідентифікатор користувача!",
};
inline constexpr DriverError kPasswordUserId = {20, kUserIdImpossible};
inline constexpr DriverError kCashierUserId = {22, kUserIdImpossible};
inline constexpr DriverError kUserNameTooLong = {20,
                                                 {
                                                     "User name exceeds 15 characters!",
                                                     "Имя пользователя превышает 15 символов!",
                                                     "Ім'я користувача перевищує 15 символів!",
                                                 }};

// The header.
inline constexpr DriverError kHeadLineTooLong[3] = {
    {20,
     {
         "Length of first line of headline is too long!",
         "Длина первой строки заголовка больше допустимой!",
         "Довжина першого рядка заголовку більше допустимої!",
     }},
    {20,
     {
         "Length of second line of headline is too long!",
         "Длина второй строки заголовка больше допустимой!",
         "Довжина другого рядка заголовку більше допустимої!",
     }},
    {20,
     {
         "Length of third line of headline is too long!",
         "Длина третей строки заголовка больше допустимой!",
         "Довжина третього рядка заголовку більше допустимої!",
     }},
};
inline constexpr DriverError kIdentificationNumber = {20,
                                                      {
                                                          "Incorrect identification number!",
                                                          "Неверно задан идентификационный номер!",
                                                          "Невірно заданий ідентифікаційний номер!",
                                                      }};
inline constexpr DriverError kRegistrationNumber = {20,
                                                    {
                                                        "Incorrect registration number!",
                                                        "Неверно задан налоговый номер!",
                                                        "Невірно заданий податковий номер!",
                                                    }};
// The older classes' header checks (their text alone reaches the client).
inline constexpr DriverError kHeadLinesTooLong = {20,
                                                  {
                                                      "Lines length of headline is too long!",
                                                      "Длина строк заголовка больше допустимой!",
                                                      "Довжина рядків заголовку більше допустимої!",
                                                  }};
inline constexpr DriverError kFourthHeadLineTooLong = {
    20,
    {
        "Length of fourth line of headline more than 12 characters!",
        "Длина четвёртой строки заголовка больше 12 символов!",
        "Довжина четвертого рядка заголовку більш ніж 12 символів!",
    }};

// Advertising, final and additional header lines.
inline constexpr DriverError kPublicityLineLength = {20,
                                                     {
                                                         "Length error of publicity line!",
                                                         "Ошибка длины рекламной строки!",
                                                         "Помилка довжини рекламного рядка!",
                                                     }};
inline constexpr DriverError kFinalLineLength = {20,
                                                 {
                                                     "Bad line length of final message!",
                                                     "Ошибка длины строки конечного сообщения!",
                                                     "Помилка довжини рядка кінцевого повідомлення!",
                                                 }};
inline constexpr DriverError kHeaderLineAdd1Length = {
    20,
    {
        "Length error of first additional header line!",
        "Ошибка длины 1-й доп. строки шапки чека",
        "Помилка довжини 1-го додаткового рядка заголовка чека!",
    }};
inline constexpr DriverError kHeaderLineAdd2Length = {
    20,
    {
        "Length error of second additional header line!",
        "Ошибка длины 2-й доп. строки шапки чека",
        "Помилка довжини 2-го додаткового рядка заголовка чека!",
    }};
inline constexpr DriverError kLineNumber = {22,
                                            {
                                                "Line number error!",
                                                "Ошибка номера строки!",
                                                "Помилка номеру рядка!",
                                            }};

// The fiscal number.
inline constexpr DriverError kFiscalNumberLength = {20,
                                                    {
                                                        "Length of fiscal number exceeds 10 digits!",
                                                        "Длина фискального номера превышает 10 цифр!",
                                                        "Довжина фіскального номера перевищує 10 цифр!",
                                                    }};
inline constexpr DriverError kFiscalNumberCharacters = {25,
                                                        {
                                                            "Fiscal number can be only from digits!",
                                                            "Фискальный номер может состоять только из цифр!",
                                                            "Фіскальний номер може складатися лише з цифр!",
                                                        }};

// Service settings.
inline constexpr DriverError kLineInterval = {111,
                                              {
                                                  "Incorrect interval between lines!",
                                                  "Неверное межстрочное расстояние!",
                                                  "Невірна відстань між рядками!",
                                              }};
inline constexpr DriverError kContrastValue = {111,
                                               {
                                                   "Value error of print contrast!",
                                                   "Ошибка в значении контрастности печати!",
                                                   "Помилка в значенні контрастності друку!",
                                               }};
inline constexpr DriverError kItemsQuantityFormat = {111,
                                                     {
                                                         "Incorrect quantity of items!",
                                                         "Недопустимое количество товаров!",
                                                         "Недопустима кількість товарів!",
                                                     }};
inline constexpr DriverError kEan13Length = {20,
                                             {
                                                 "Barcode length can be only 13 digits!",
                                                 "Длина штрих-кода - 13 цифр!",
                                                 "Довжина штрих-коду - 13 цифр!",
                                             }};
inline constexpr DriverError kEan13CheckSum = {111,
                                               {
                                                   "Error of check sum EAN13!",
                                                   "Ошибка контрольной суммы EAN13!",
                                                   "Помилка контрольної суми EAN13!",
                                               }};

// Payment-form names (EP-06).
inline constexpr DriverError kPaymentIndex = {111,
                                              {
                                                  "Invalid index of payment!",
                                                  "Недопустимый индекс оплат!",
                                                  "Неприпустимий індекс оплат!",
                                              }};
inline constexpr DriverError kPaymentName = {111,
                                             {
                                                 "Invalid name of payment form!",
                                                 "Недопустимое название формы оплаты!",
                                                 "Неприпустима назва форми оплати!",
                                             }};

}  // namespace zorfp::texts
