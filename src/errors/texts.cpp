// The texts are kept exactly as the driver has always shown them, slips included: clients compare
// them.
#include "errors/texts.h"

namespace zorfp::texts {

const Message kNoAnswer = {
    "Fiscal printer does not answer!",
    "ЭККР не отвечает!",
    "ЕККР не відповідає!",
};
const Message kModemNoAnswer = {
    "Modem does not answer!",
    "Модем не отвечает",
    "Модем не відповідає!",
};

const Message kNoData = {
    "Data from fiscal printer didn't receive!",
    "Данные от ЭККР не получены!",
    "Дані від ЕККР не отримані!",
};
const Message kZeroLengthBlock = {
    "The length of data block can't be equal zero!",
    "Длина блока данных не может быть равна нулю!",
    "Довжина блоку даних не може дорівнювати нулю!!",
};
const Message kDataFormatError = {
    "Data format error!",
    "Ошибка формата данных!",
    "Помилка формату даних!",
};
const Message kTaxesEmpty = {
    "VATs is empty!",
    "Налоги не запрограммированы!",
    "Податки не запрограмовані!",
};
const Message kTaxesNotEnough = {
    "VATs is not enough!",
    "Слишком мало налогов!",
    "Дуже мало податків!",
};
const Message kTypeMismatch = {
    "Type mismatch!",
    "Несоответствие типов!",
    "Невідповідність типів!",
};

const Message kPortBusy = {
    "Port is busy!",
    "Порт занят!",
    "Порт зайнятий!",
};
const Message kDcbGetFailed = {
    "Parameters of DCB-structure didn't receive!",
    "Не удалось получить параметры DCB-структуры!",
    "Не вдалося отримати параметри DCB-структури!",
};
const Message kDcbSetFailed = {
    "Parameters of DCB-structure didn't write!",
    "Не удалось записать параметры DCB-структуры!",
    "Не вдалося записати параметри DCB-структури!",
};
const Message kTimeoutsGetFailed = {
    "Timeouts values didn't receive!",
    "Не удалось получить значения таймаутов!",
    "Не вдалося отримати значення таймаутів!",
};
const Message kTimeoutsSetFailed = {
    "Timeouts values didn't write!",
    "Не удалось записать значения таймаутов!",
    "Не вдалося записати значення таймаутів!",
};

const Message kItemsQuantity = {
    "Items quantity more than is possible!",
    "Количество товаров больше допустимого!",
    "Кількість товарів більше ніж допустимо!",
};
const Message kBadDiscountType = {
    "Incorrect discount/mark-up type!",
    "Неправильный тип дисконтной операции!",
    "Невірний тип дисконтної операції!",
};
const Message kIncorrectBaudRate = {
    "Incorrect baud rate!",
    "Неверно задана скорость связи!",
    "Невірно задана швидкість зв'язку!",
};

const Message kWaitZReport = {
    "Executing Z-report. Please wait...",
    "Выполняется Z-отчёт. Ожидайте...",
    "Виконується Z-звіт. Очікуйте...",
};
const Message kWaitSavingReport = {
    "Saving report. Please wait...",
    "Сохранение отчёта. Ожидайте...",
    "Збереження звіту. Очікуйте...",
};

}  // namespace zorfp::texts
