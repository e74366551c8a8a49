// Refusals of the text lines, the non-fiscal text lists, the barcodes and the customer display.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kBadLineLength = {20,
                                               {
                                                   "Bad line length!",
                                                   "Ошибка длины строки!",
                                                   "Помилка довжини рядка!",
                                               }};
inline constexpr DriverError kBadDisplayLine = {111,
                                                {
                                                    "Incorrect line of customer display!",
                                                    "Ошибка номера строки при выводе на дисплей!",
                                                    "Помилка номеру рядка при виводі на дисплей!",
                                                }};
inline constexpr DriverError kBarcodeLength = {20,
                                               {
                                                   "Barcode length error!",
                                                   "Ошибка длины штрих-кода!",
                                                   "Помилка довжини штрих-коду!",
                                               }};
// A non-fiscal line that is too long: the line's number, CR LF and this text follow kListLineNumber.
inline constexpr Message kListLineNumber = {"Line №", "Строка №", "Рядок №"};
inline constexpr DriverError kNonFiscalLineTooLong = {
    20,
    {
        "Length of not fiscal text line exceeds 37 characters!",
        "Длина строки не фискального текста превышает 37 символов!",
        "Довжина рядка не фіскального тексту перевищує 37 символів!",
    }};

}  // namespace zorfp::texts
