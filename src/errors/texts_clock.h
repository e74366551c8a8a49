// Texts of the date and time members. Neither format failure changes the reported status.
#pragma once

#include "errors/texts.h"

namespace zorfp::texts {

inline constexpr DriverError kDateFormatError = {30,
                                                 {
                                                     "Date format error!",
                                                     "Ошибка формата даты!",
                                                     "Помилка формату дати!",
                                                 }};
inline constexpr DriverError kTimeFormatError = {30,
                                                 {
                                                     "Time format error!",
                                                     "Ошибка формата времени!",
                                                     "Помилка формату часу!",
                                                 }};
// A date from the printer that is no day of the calendar.
inline constexpr DriverError kDateTransformError = {30,
                                                    {
                                                        "Transformation error to date format!",
                                                        "Ошибка преобразования строки в формат даты!",
                                                        "Помилка перетворення рядка у формат дати!",
                                                    }};

}  // namespace zorfp::texts
