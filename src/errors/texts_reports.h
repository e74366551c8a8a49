// Refusals of the printing reports and the readers of the last Z report.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kBadReportPassword = {21,
                                                   {
                                                       "Incorrect password of reports!",
                                                       "Неверный пароль отчетов!",
                                                       "Невірний пароль звітів!",
                                                   }};
// The older classes' article report has always said it without the exclamation mark in English.
inline constexpr DriverError kBadReportPasswordArt = {21,
                                                      {
                                                          "Incorrect password of reports",
                                                          kBadReportPassword.text.ru,
                                                          kBadReportPassword.text.uk,
                                                      }};
inline constexpr DriverError kReportNumbersReversed = {111,
                                                       {
                                                           "Initial number of report more than final!",
                                                           "Начальный номер отчета больше конечного!",
                                                           "Початковий номер звіту більше кінцевого!",
                                                       }};
inline constexpr DriverError kDateConversion = {30,
                                                {
                                                    "Transformation error to date format!",
                                                    "Ошибка преобразования строки в формат даты!",
                                                    "Помилка перетворення рядка у формат дати!",
                                                }};
// Not among the classic texts: the day was closed, only the copy from the memory card failed, so
// the client must not print the Z report again. The save's own text follows it.
inline constexpr Message kDayClosedCopyFailed = {
    "Z-report done, the day is closed; only copying the report from the memory card failed: ",
    "Z-отчёт выполнен, смена закрыта; не удалось только скопировать отчёт с карты памяти: ",
    "Z-звіт виконано, зміну закрито; не вдалося лише скопіювати звіт з картки пам'яті: ",
};

}  // namespace zorfp::texts
