// Refusals of the memory-card members: finding, reading, reprinting and saving stored reports.
#pragma once

#include "errors/texts_reports.h"

namespace zorfp::texts {

inline constexpr DriverError kCardPosition = {111,
                                              {
                                                  "Error of number of position in a sector!",
                                                  "Ошибка номера позиции в секторе!",
                                                  "Помилка номеру позиції у секторі!",
                                              }};
inline constexpr DriverError kCardBlockSize = {111,
                                               {
                                                   "Error of size of block of memory!",
                                                   "Ошибка размера блока памяти!",
                                                   "Помилка розміру блока пам''яті!",
                                               }};
inline constexpr DriverError kCardReportNumber = {111,
                                                  {
                                                      "Incorrect number of report!",
                                                      "Неверный номер отчёта!",
                                                      "Невірний номер звіту!",
                                                  }};
// Not among the classic texts: a report file needs the printer's serial number in its name.
inline constexpr DriverError kEmptySerialNumber = {103,
                                                   {
                                                       "Serial number of fiscal printer is empty!",
                                                       "Серийный номер ЭККР пуст!",
                                                       "Серійний номер ЕККР порожній!",
                                                   }};
// Not among the classic texts: the report file could not be written into MMCReportFolder.
inline constexpr DriverError kReportFileFailed = {111,
                                                  {
                                                      "Report file can't be written!",
                                                      "Не удалось записать файл отчёта!",
                                                      "Не вдалося записати файл звіту!",
                                                  }};

}  // namespace zorfp::texts
