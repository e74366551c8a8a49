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

const Message kItemNameOver25 = {
    "Item name exceeds 25 characters!",
    "Название товара превышает 25 символов!",
    "Назва товару перевищує 25 символів!",
};
const Message kItemNameOver50 = {
    "Item name exceeds 50 characters!",
    "Название товара превышает 50 символов!",
    "Назва товару перевищує 50 символів!",
};
const Message kItemNameOver70 = {
    "Item name exceeds 70 characters!",
    "Название товара превышает 70 символов!",
    "Назва товару перевищує 70 символів!",
};
const Message kIncorrectItemCode = {
    "Incorrect item code (barcode)!",
    "Неверный код (штрих-код) товара!",
    "Невірний код (штрих-код) товару!",
};
const Message kPaymentFormError = {
    "Payment form error!",
    "Ошибка формы оплаты!",
    "Помилка форми оплати!",
};

// Not among the classic texts: a payment, discount value or price whose high bits would be read
// by the printer as flags (close the receipt, relative, sign) is refused instead of sent.
const Message kIncorrectPaymentSum = {
    "Incorrect payment sum!",
    "Неверная сумма оплаты!",
    "Невірна сума оплати!",
};
const Message kIncorrectDiscountValue = {
    "Incorrect discount/mark-up value!",
    "Неверное значение скидки/надбавки!",
    "Невірне значення знижки/надбавки!",
};
const Message kIncorrectPrice = {
    "Incorrect price!",
    "Неверная цена!",
    "Невірна ціна!",
};
const Message kInformationOver14 = {
    "Comment line exceeds 14 characters!",
    "Строка комментария превышает 14 символов!",
    "Рядок коментаря до перевищує 14 символів!",
};
const Message kDiscountCommentOver25 = {
    "Comment line exceeds 25 characters!",
    "Строка комментария превышает 25 символов!",
    "Рядок коментара перевищує 25 символів!",
};
const Message kCommentsLengthError = {
    "Comments length error!",
    "Ошибка длины комментариев!",
    "Помилка довжини коментарів!",
};

const Message kCutterUndefined = {
    "The state of cutter wasn't  defined!",
    "Не удалось определить состояние автообрезчика!",
    "Не вдалося визначити стан автообрізувача!",
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
