// The driver's own failures and texts that every area shares: no answer, answers that cannot be
// used, the port, the line speed, the waiting window. Each area's own refusals are in
// texts_<area>.h. The texts are kept exactly as the driver has always shown them, slips
// included: clients compare them. Printer result codes and status bits have their tables in
// evaluate.cpp.
#pragma once

#include "errors/messages.h"

namespace zorfp::texts {

// No answer (code 101, set by ReportNoAnswer).
inline constexpr Message kNoAnswer = {
    "Fiscal printer does not answer!",
    "ЭККР не отвечает!",
    "ЕККР не відповідає!",
};
inline constexpr Message kModemNoAnswer = {
    "Modem does not answer!",
    "Модем не отвечает",
    "Модем не відповідає!",
};

// Answers that cannot be used.
inline constexpr DriverError kNoData = {102,
                                        {
                                            "Data from fiscal printer didn't receive!",
                                            "Данные от ЭККР не получены!",
                                            "Дані від ЕККР не отримані!",
                                        }};
inline constexpr DriverError kZeroLengthBlock = {102,
                                                 {
                                                     "The length of data block can't be equal zero!",
                                                     "Длина блока данных не может быть равна нулю!",
                                                     "Довжина блоку даних не може дорівнювати нулю!!",
                                                 }};
inline constexpr DriverError kDataFormatError = {103,
                                                 {
                                                     "Data format error!",
                                                     "Ошибка формата данных!",
                                                     "Помилка формату даних!",
                                                 }};
inline constexpr DriverError kTaxesEmpty = {104,
                                            {
                                                "VATs is empty!",
                                                "Налоги не запрограммированы!",
                                                "Податки не запрограмовані!",
                                            }};
inline constexpr DriverError kTaxesNotEnough = {104,
                                                {
                                                    "VATs is not enough!",
                                                    "Слишком мало налогов!",
                                                    "Дуже мало податків!",
                                                }};
inline constexpr DriverError kTypeMismatch = {112,
                                              {
                                                  "Type mismatch!",
                                                  "Несоответствие типов!",
                                                  "Невідповідність типів!",
                                              }};

// Opening the port.
inline constexpr Message kPortBusy = {
    "Port is busy!",
    "Порт занят!",
    "Порт зайнятий!",
};
inline constexpr DriverError kDcbGetFailed = {105,
                                              {
                                                  "Parameters of DCB-structure didn't receive!",
                                                  "Не удалось получить параметры DCB-структуры!",
                                                  "Не вдалося отримати параметри DCB-структури!",
                                              }};
inline constexpr DriverError kDcbSetFailed = {105,
                                              {
                                                  "Parameters of DCB-structure didn't write!",
                                                  "Не удалось записать параметры DCB-структуры!",
                                                  "Не вдалося записати параметри DCB-структури!",
                                              }};
inline constexpr DriverError kTimeoutsGetFailed = {106,
                                                   {
                                                       "Timeouts values didn't receive!",
                                                       "Не удалось получить значения таймаутов!",
                                                       "Не вдалося отримати значення таймаутів!",
                                                   }};
inline constexpr DriverError kTimeoutsSetFailed = {106,
                                                   {
                                                       "Timeouts values didn't write!",
                                                       "Не удалось записать значения таймаутов!",
                                                       "Не вдалося записати значення таймаутів!",
                                                   }};

// The line speed.
inline constexpr DriverError kIncorrectBaudRate = {111,
                                                   {
                                                       "Incorrect baud rate!",
                                                       "Неверно задана скорость связи!",
                                                       "Невірно задана швидкість зв'язку!",
                                                   }};

// Shared by the members that take an article code as text.
inline constexpr DriverError kIncorrectItemCode = {111,
                                                   {
                                                       "Incorrect item code (barcode)!",
                                                       "Неверный код (штрих-код) товара!",
                                                       "Невірний код (штрих-код) товару!",
                                                   }};

// The waiting window.
inline constexpr Message kWaitZReport = {
    "Executing Z-report. Please wait...",
    "Выполняется Z-отчёт. Ожидайте...",
    "Виконується Z-звіт. Очікуйте...",
};
inline constexpr Message kWaitSavingReport = {
    "Saving report. Please wait...",
    "Сохранение отчёта. Ожидайте...",
    "Збереження звіту. Очікуйте...",
};
// Not among the classic texts: a long job asked for while another waits behind the window.
inline constexpr DriverError kLongJobBusy = {111,
                                             {
                                                 "Another long operation is running, try again later!",
                                                 "Выполняется другая длительная операция, повторите позже!",
                                                 "Виконується інша тривала операція, повторіть пізніше!",
                                             }};

// A character the field cannot carry (barcodes, EAN-13 digits).
inline constexpr DriverError kIllegalCharacter = {111,
                                                  {
                                                      "Found illegal character!",
                                                      "Найден недопустимый символ!",
                                                      "Знайдено недопустимий символ!",
                                                  }};

}  // namespace zorfp::texts
