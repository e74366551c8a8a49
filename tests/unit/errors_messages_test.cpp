#include "errors/messages.h"

#include <gtest/gtest.h>

#include "errors/codepage.h"
#include "errors/texts_items.h"
#include "errors/texts_payment.h"

namespace zorfp {
namespace {

// The texts as the client must receive them, one row per situation: English, Russian, Ukrainian.
struct Row {
  const Message& message;
  const char* en;
  const char* ru;
  const char* uk;
};

const Row kRows[] = {
    {texts::kNoAnswer, "Fiscal printer does not answer!", "ЭККР не отвечает!", "ЕККР не відповідає!"},
    {texts::kModemNoAnswer, "Modem does not answer!", "Модем не отвечает", "Модем не відповідає!"},
    {texts::kNoData.text, "Data from fiscal printer didn't receive!", "Данные от ЭККР не получены!",
     "Дані від ЕККР не отримані!"},
    {texts::kZeroLengthBlock.text, "The length of data block can't be equal zero!",
     "Длина блока данных не может быть равна нулю!", "Довжина блоку даних не може дорівнювати нулю!!"},
    {texts::kDataFormatError.text, "Data format error!", "Ошибка формата данных!", "Помилка формату даних!"},
    {texts::kTaxesEmpty.text, "VATs is empty!", "Налоги не запрограммированы!", "Податки не запрограмовані!"},
    {texts::kTaxesNotEnough.text, "VATs is not enough!", "Слишком мало налогов!", "Дуже мало податків!"},
    {texts::kTypeMismatch.text, "Type mismatch!", "Несоответствие типов!", "Невідповідність типів!"},
    {texts::kPortBusy, "Port is busy!", "Порт занят!", "Порт зайнятий!"},
    {texts::kDcbGetFailed.text, "Parameters of DCB-structure didn't receive!",
     "Не удалось получить параметры DCB-структуры!", "Не вдалося отримати параметри DCB-структури!"},
    {texts::kDcbSetFailed.text, "Parameters of DCB-structure didn't write!",
     "Не удалось записать параметры DCB-структуры!", "Не вдалося записати параметри DCB-структури!"},
    {texts::kTimeoutsGetFailed.text, "Timeouts values didn't receive!", "Не удалось получить значения таймаутов!",
     "Не вдалося отримати значення таймаутів!"},
    {texts::kTimeoutsSetFailed.text, "Timeouts values didn't write!", "Не удалось записать значения таймаутов!",
     "Не вдалося записати значення таймаутів!"},
    {texts::kItemsQuantity.text, "Items quantity more than is possible!", "Количество товаров больше допустимого!",
     "Кількість товарів більше ніж допустимо!"},
    {texts::kBadDiscountType.text, "Incorrect discount/mark-up type!", "Неправильный тип дисконтной операции!",
     "Невірний тип дисконтної операції!"},
    {texts::kIncorrectBaudRate.text, "Incorrect baud rate!", "Неверно задана скорость связи!",
     "Невірно задана швидкість зв'язку!"},
    {texts::kWaitZReport, "Executing Z-report. Please wait...", "Выполняется Z-отчёт. Ожидайте...",
     "Виконується Z-звіт. Очікуйте..."},
    {texts::kWaitSavingReport, "Saving report. Please wait...", "Сохранение отчёта. Ожидайте...",
     "Збереження звіту. Очікуйте..."},
};

std::string Picked(const Message& m, Byte lang) {
  return AnsiToUtf8(Pick(m, lang).value());
}

TEST(DriverTexts, EveryTextInEveryLanguage) {
  for (const Row& row : kRows) {
    EXPECT_EQ(Picked(row.message, kLangEnglish), row.en);
    EXPECT_EQ(Picked(row.message, kLangRussian), row.ru);
    EXPECT_EQ(Picked(row.message, kLangUkrainian), row.uk);
  }
}

TEST(Pick, HandsOutWindows1251Bytes) {
  EXPECT_EQ(Pick(texts::kPortBusy, kLangRussian), "\xCF\xEE\xF0\xF2 \xE7\xE0\xED\xFF\xF2!");  // Порт занят!
  EXPECT_EQ(Pick(texts::kPortBusy, kLangUkrainian), "\xCF\xEE\xF0\xF2 \xE7\xE0\xE9\xED\xFF\xF2\xE8\xE9!");
}

TEST(Pick, NoTextForAnUnknownLanguage) {
  EXPECT_EQ(Pick(texts::kPortBusy, 3), std::nullopt);
  EXPECT_EQ(Pick(texts::kPortBusy, 255), std::nullopt);
}

}  // namespace
}  // namespace zorfp
