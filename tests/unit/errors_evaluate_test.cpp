#include "errors/evaluate.h"

#include <gtest/gtest.h>

#include <string>

#include "errors/codepage.h"
#include "errors/texts_items.h"
#include "errors/texts_payment.h"

namespace zorfp {
namespace {

constexpr Byte kEn = kLangEnglish;
constexpr Byte kRu = kLangRussian;
constexpr Byte kUk = kLangUkrainian;

// Answer flags as the exchange derives them; the journal bits are decoded here for every variant.
AnswerFlags FlagsOf(Byte status, Byte reserve = 0) {
  AnswerFlags f;
  f.ServiceReportOpen = (reserve & 0x01) != 0;
  f.FinishAfterError = (reserve & 0x02) != 0;
  f.PaperOutNotice = (reserve & 0x04) != 0;
  f.NoPersonalization = (reserve & 0x80) != 0;
  f.CommandAccepted = (status & 0x80) == 0;
  f.ClockError = (status & 0x08) != 0;
  f.DayOver24Hours = (status & 0x20) != 0;
  return f;
}

struct Outcome {
  bool executed;
  int result;
  int status;
  std::string text;  // UTF-8
};

Outcome Evaluate(Byte status, Byte result, Byte variant, Byte lang, const AnswerFlags& flags) {
  LastCall call;
  call.flags = flags;
  const bool executed = EvaluateAnswer(call, status, result, variant, lang);
  return {executed, call.ReportedResult, call.ReportedStatus, AnsiToUtf8(call.ErrorText)};
}

Outcome Evaluate(Byte status, Byte result, Byte variant, Byte lang = kEn, Byte reserve = 0) {
  return Evaluate(status, result, variant, lang, FlagsOf(status, reserve));
}

// Flags with no prefix at all, to see a table's text alone.
AnswerFlags Plain() {
  return FlagsOf(0);
}

TEST(EvaluateAnswer, ExecutedCommandLeavesTheCallStateAlone) {
  LastCall call;
  call.ReportedResult = 7;
  call.ReportedStatus = 9;
  call.ErrorText = "kept";
  call.flags = FlagsOf(0, 0x03);
  EXPECT_TRUE(EvaluateAnswer(call, 0, 0, 2, kEn));
  EXPECT_EQ(call.ReportedResult, 7);
  EXPECT_EQ(call.ReportedStatus, 9);
  EXPECT_EQ(call.ErrorText, "kept");
}

TEST(EvaluateAnswer, StatusBitsGiveOneLineEachAndIgnoreTheResult) {
  struct Case {
    Byte status;
    Byte variant;
    Byte reserve;
    const char* text;
  };
  const Case cases[] = {
      {0x03, 2, 0, "Printer is not ready\r\nNo paper\r\n"},
      {0x01, 7, 0x04, "Paper out\r\nPrinter is not ready\r\n"},
      {0x01, 6, 0x04, "Paper out\r\nPrinter is not ready\r\n"},
      {0x01, 5, 0x04, "Printer is not ready\r\n"},  // no paper notice on this printer
      {0x02, 6, 0, "KLEF storage more than 72 hours\r\n"},
      {0x02, 7, 0, "KLEF storage more than 72 hours\r\n"},
      {0x02, 3, 0, "No paper\r\n"},
      {0x80, 2, 0, "<THE COMMAND UNSUCCESSFUL>\r\n"},
      {0x88, 2, 0, "<ERROR OF CLOCK>\r\nWrong date or error of clock\r\n"},
      {0x20, 2, 0, "<WORKING DAY IS MORE THAN 24 HOURS>\r\nWorking day is too long\r\n"},
      {0x54, 1, 0, "Fiscal memory is full\r\nDisplay error\r\nLow voltage\r\n"},
  };
  for (const Case& c : cases) {
    const Outcome o = Evaluate(c.status, 5, c.variant, kEn, c.reserve);
    EXPECT_FALSE(o.executed);
    EXPECT_EQ(o.text, c.text) << int{c.status} << " variant " << int{c.variant};
    EXPECT_EQ(o.result, 5);  // stored as received, though the text came from the status
    EXPECT_EQ(o.status, c.status);
  }
}

TEST(EvaluateAnswer, LastPrefixThatHoldsWins) {
  struct Case {
    Byte status;
    Byte variant;
    Byte reserve;
    const char* text;
  };
  const Case cases[] = {
      {0x00, 2, 0x02, "<WARNING! THE COMAND FINISHED AFTER ELIMINATION OF ERROR>\r\nPrinter error"},
      {0x00, 6, 0x82, "<NO PERSONALIZATION>\r\nPrinter error"},
      {0x00, 7, 0x80, "Printer error"},  // the personalisation bit counts on EP-06 only
      {0x80, 6, 0x82, "<THE COMMAND UNSUCCESSFUL>\r\n"},
      {0xA8, 2, 0x02,
       "<WORKING DAY IS MORE THAN 24 HOURS>\r\n"
       "Wrong date or error of clock\r\nWorking day is too long\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(Evaluate(c.status, 1, c.variant, kEn, c.reserve).text, c.text);
}

TEST(EvaluateAnswer, UnlistedCodeGivesAnEmptyTextButStillFails) {
  const Outcome o = Evaluate(0, 3, 2);
  EXPECT_FALSE(o.executed);
  EXPECT_EQ(o.text, "");
  EXPECT_EQ(o.result, 3);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(Evaluate(0, 255, 7, kEn, 0x02).text,
            "<WARNING! THE COMAND FINISHED AFTER ELIMINATION OF ERROR>\r\n");
}

TEST(EvaluateAnswer, LanguageOutsideTheThreeIsRussian) {
  EXPECT_EQ(Evaluate(0, 1, 2, 7).text, "Ошибка принтера");
}

// Each status line alone, in the three languages.
TEST(EvaluateAnswer, StatusLineTexts) {
  struct Row {
    Byte status;
    Byte variant;
    AnswerFlags flags;
    const char* en;
    const char* ru;
    const char* uk;
  };
  AnswerFlags paper_out = Plain();
  paper_out.PaperOutNotice = true;
  const Row rows[] = {
      {0x01, 2, Plain(), "Printer is not ready", "Принтер не готов", "Принтер не готовий"},
      {0x02, 2, Plain(), "No paper", "Нет бумаги", "Немає паперу"},
      {0x02, 6, Plain(), "KLEF storage more than 72 hours",
       "Продолжительность хранения данных в КЛЭФ превышает 72 часа",
       "Термін збереження даних в КСЕФ перевищує 72 години"},
      {0x04, 2, Plain(), "Fiscal memory is full", "Переполнение фискальной памяти",
       "Переповнення фіскальної пам'яті"},
      {0x08, 2, Plain(), "Wrong date or error of clock", "Неправильная дата или ошибка часов",
       "Невірна дата або помилка годинника"},
      {0x10, 2, Plain(), "Display error", "Ошибка дисплея", "Помилка дисплея"},
      {0x20, 2, Plain(), "Working day is too long", "Превышение продолжительности смены",
       "Перевищення тривалості зміни"},
      {0x40, 2, Plain(), "Low voltage", "Снижение напряжения питания", "Зниження напруги живлення"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Evaluate(r.status, 0, r.variant, kEn, r.flags).text, std::string(r.en) + "\r\n");
    EXPECT_EQ(Evaluate(r.status, 0, r.variant, kRu, r.flags).text, std::string(r.ru) + "\r\n");
    EXPECT_EQ(Evaluate(r.status, 0, r.variant, kUk, r.flags).text, std::string(r.uk) + "\r\n");
  }
  EXPECT_EQ(Evaluate(0x01, 7, 7, kRu, paper_out).text, "Нет бумаги\r\nПринтер не готов\r\n");
  EXPECT_EQ(Evaluate(0x01, 7, 7, kUk, paper_out).text, "Немає паперу\r\nПринтер не готовий\r\n");
}

// Each prefix in the three languages.
TEST(EvaluateAnswer, PrefixTexts) {
  struct Row {
    Byte status;
    Byte reserve;
    const char* en;
    const char* ru;
    const char* uk;
  };
  const Row rows[] = {
      {0x00, 0x02, "<WARNING! THE COMAND FINISHED AFTER ELIMINATION OF ERROR>",
       "<ВНИМАНИЕ! КОМАНДА ЗАВЕРШИТСЯ ПОСЛЕ УСТРАНЕНИЯ ОШИБКИ>",
       "<ВНИМАНИЕ! КОМАНДА ЗАВЕРШИТЬСЯ ПІСЛЯ УСУНЕННЯ ПОМИЛКИ>"},
      {0x00, 0x80, "<NO PERSONALIZATION>", "<НЕ БЫЛО ПЕРСОНАЛИЗАЦИИ>", "<НЕ БУЛО ПЕРСОНАЛІЗАЦІЇ>"},
      {0x80, 0x00, "<THE COMMAND UNSUCCESSFUL>", "<КОМАНДА НЕ ПРИНЯТА К ИСПОЛНЕНИЮ>",
       "<КОМАНДА НЕ ПРИЙНЯТА ДО ВИКОНАННЯ>"},
  };
  for (const Row& r : rows) {
    // An unlisted code leaves the prefix alone on its line.
    EXPECT_EQ(Evaluate(r.status, 3, 6, kEn, r.reserve).text, std::string(r.en) + "\r\n");
    EXPECT_EQ(Evaluate(r.status, 3, 6, kRu, r.reserve).text, std::string(r.ru) + "\r\n");
    EXPECT_EQ(Evaluate(r.status, 3, 6, kUk, r.reserve).text, std::string(r.uk) + "\r\n");
  }
  EXPECT_EQ(Evaluate(0x08, 0, 2, kRu).text, "<ОШИБКА ЧАСОВ>\r\nНеправильная дата или ошибка часов\r\n");
  EXPECT_EQ(Evaluate(0x08, 0, 2, kUk).text, "<ПОМИЛКА ГОДИННИКА>\r\nНевірна дата або помилка годинника\r\n");
  EXPECT_EQ(Evaluate(0x20, 0, 2, kRu).text,
            "<РАБОЧИЙ ДЕНЬ ПРОДОЛЖАЕТСЯ БОЛЬШЕ 24 ЧАСОВ>\r\nПревышение продолжительности смены\r\n");
  EXPECT_EQ(Evaluate(0x20, 0, 2, kUk).text,
            "<РОБОЧИЙ ДЕНЬ ТРИВАЄ БІЛЬШЕ 24 ГОДИН>\r\nПеревищення тривалості зміни\r\n");
}

struct CodeRow {
  Byte code;
  const char* en;
  const char* ru;
  const char* uk;
};

void ExpectCodeTexts(const CodeRow& r, Byte variant, const AnswerFlags& flags) {
  EXPECT_EQ(Evaluate(0, r.code, variant, kEn, flags).text, r.en) << "code " << int{r.code};
  EXPECT_EQ(Evaluate(0, r.code, variant, kRu, flags).text, r.ru) << "code " << int{r.code};
  EXPECT_EQ(Evaluate(0, r.code, variant, kUk, flags).text, r.uk) << "code " << int{r.code};
}

// Result codes with the same text on every printer.
TEST(EvaluateAnswer, ResultCodeTexts) {
  const CodeRow rows[] = {
      {1, "Printer error", "Ошибка принтера", "Помилка принтера"},
      {2, "Paper ended", "Закончилаь бумага", "Закінчився папір"},
      {4, "Error of fiscal memory", "Сбой фискальной памяти", "Збій фіскальної пам'яті"},
      {6, "Low voltage", "Снижение напряжения питания", "Зниження напруги живлення"},
      {8, "Fiscal memory is full", "Фискальная память переполнена", "Фіскальна пам'ять переповнена"},
      {10, "No personalization", "Не проведена персонализация", "Не здійснена персоналізація"},
      {16, "A command is not supported in this mode", "Команда не поддерживается в данном режиме",
       "Команда заборонена в даному режимі"},
      {19, "Logo writing error", "Ошибка записи логотипа", "Помилка запису логотипа"},
      {20, "Bad line length", "Недопустимая длины строки", "Неприпустима довжина рядка"},
      {21, "Incorrect password", "Неверный пароль", "Невірний пароль"},
      {22, "Password or line number does not exist", "Несуществующий номер (пароля, строки)",
       "Неіснуючий номер (пароля, рядка)"},
      {23, "VAT does not exist", "Налоговой группы не существует", "Податкова група не існує"},
      {24, "Payment form does not exist", "Ошибка формы оплаты", "Помилка форми оплати"},
      {25, "Found illegal characters", "Найдены недопустимые символы", "Знайдені недопустимі символи"},
      {26, "Too many VATs", "Слишком много налогов", "Дуже багато податків"},
      {27, "Total of ticket is negative", "Ошибка, отрицательный итог по чеку",
       "Помилка, від'ємний підсумок чека"},
      {28, "Description error of item (name or VAT)",
       "Ошибка в описании артикула (название/налоговая группа)",
       "Помилка в описі артикулу (назва або податкова група)"},
      {30, "Date/time format error", "Ошибка формата даты/времени", "Помилка формату дати/часу"},
      {31, "Too many items in ticket", "Слишком много товаров в чеке", "Дуже багато товарів в чеку"},
      {32, "A cost too big", "Превышение разрядности вычисленной стоимости",
       "Перевищення розрядності обчисленої вартості"},
      {33, "A day register of sales is full", "Переполнение регистра дневного оборота",
       "Переповнення регістра денного обігу"},
      {34, "A day register of payments is full", "Переполнение регистра оплат",
       "Переповнення регістра оплат"},
      {35, "Try give out too big sum from cash drawer",
       "Попытка выдачи большей суммы наличных, чем в денежном ящике",
       "Спроба видачі більшої суми готівки, ніж в грошовій скринці"},
      {36, "Incorrect date", "Устанавливаемая дата предшествует дате последнего Z-отчета",
       "Встановлювана дата передує даті останнього Z-звіту"},
      {37, "Refunds making, sales are impossible in this ticket", "Открыт чек выплат, продажи запрещены",
       "Відкритий чек виплат, продажі заборонені"},
      {38, "Sales making, refunds are impossible in this ticket", "Открыт чек продаж, выплаты запрещены",
       "Відкритий чек продажів, виплати заборонені"},
      {39, "Command is impossible, because ticket is closed", "Команда запрещена, чек не открыт",
       "Команда заборонена, чек не відкритий"},
      {41, "Command is impossible, while not made Z-report", "Команда запрещена до выполнения Z-отчета",
       "Команда заборонена до виконання Z-звіту"},
      {42, "Command is impossible, no tickets", "Команда запрещена, не было чеков",
       "Команда заборонена, не було чеків"},
      {43, "Money surrender from this payment form is impossible", "Сдача с этой формы оплаты запрещена",
       "Здача з цієї форми оплати заборонена"},
      {44, "Command is impossible, ticket opened", "Команда запрещена, чек открыт",
       "Команда заборонена, відкритий чек"},
      {45, "Discounts and mark-ups are impossible because no sales/refunds",
       "Не было продаж/выплат, скидка невозможна", "Не було продажів/виплат, знижка неможлива"},
      {46, "Command is impossible after payment", "Команда запрещена после начала оплат",
       "Команда заборонена після початку оплат"},
  };
  for (Byte variant : {1, 2, 3, 5, 6, 7}) {
    for (const CodeRow& r : rows) ExpectCodeTexts(r, variant, Plain());
  }
  // Codes without a text in between.
  for (Byte code : {3, 5, 7, 9, 11, 15, 17, 18, 29, 40})
    EXPECT_EQ(Evaluate(0, code, 3).text, "") << int{code};
}

TEST(EvaluateAnswer, OpenServiceReportChangesCodes42And44Only) {
  AnswerFlags service = Plain();
  service.ServiceReportOpen = true;
  const CodeRow text = {0, "Command is impossible, service report opened",
                        "Команда запрещена, открыт служебный отчёт",
                        "Команда заборонена, відкритий службовий звіт"};
  for (Byte code : {42, 44}) ExpectCodeTexts({code, text.en, text.ru, text.uk}, 2, service);
  EXPECT_EQ(Evaluate(0, 43, 2, kEn, service).text, "Money surrender from this payment form is impossible");
}

// Codes from 47 up: which entry each printer gives, then each entry's texts.
TEST(EvaluateAnswer, CodesFrom47DependOnThePrinter) {
  const char* mmc_forbidden = "Work with the MMC card is forbidden";
  const char* mmc_report = "A report is not found in the MMC card";
  const char* display = "Customer display is not found";
  const char* parameter = "Bad value of parameter";
  const char* mmc_full = "MMC card is full";
  const char* mmc_failure = "MMC card failure";
  const char* journal_full = "Memory of the electronic journal full";
  const char* klef_overflow = "KLEF overflow";
  const char* klef_number = "Wrong number KLEF data";
  const char* klef_not_empty = "Command is impossible, KLEF isn't empty";
  struct Row {
    Byte code;
    const char* v3;
    const char* v6;
    const char* v7;
  };
  const Row rows[] = {
      {47, mmc_forbidden, klef_overflow, mmc_forbidden},
      {48, mmc_report, klef_number, mmc_report},
      {49, display, "", display},
      {50, parameter, klef_not_empty, parameter},
      {51, mmc_full, "", mmc_full},
      {52, mmc_failure, "", mmc_failure},
      {53, journal_full, "", klef_overflow},
      {54, "", "", klef_number},
      {55, "", "", klef_not_empty},
      {56, "", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Evaluate(0, r.code, 3).text, r.v3) << int{r.code};
    EXPECT_EQ(Evaluate(0, r.code, 6).text, r.v6) << int{r.code};
    EXPECT_EQ(Evaluate(0, r.code, 7).text, r.v7) << int{r.code};
    for (Byte variant : {1, 2, 4, 5}) EXPECT_EQ(Evaluate(0, r.code, variant).text, "") << int{r.code};
  }
  const Outcome missing = Evaluate(0, 48, 2);
  EXPECT_FALSE(missing.executed);
  EXPECT_EQ(missing.result, 48);

  const CodeRow texts[] = {
      {47, mmc_forbidden, "Работа с карточкой MMC запрещена", "Робота з карткою MMC заборонена"},
      {48, mmc_report, "Не найден отчёт в MMC", "Не знайдений звіт у MMC"},
      {49, display, "Не найден дисплей клиента", "Не знайдений дисплей кліента"},
      {50, parameter, "Недопустимое значение параметра", "Недопустиме значення параметра"},
      {51, mmc_full, "Переполнение карточки MMC", "Переповнення картки MMC"},
      {52, mmc_failure, "Сбой карточки MMC", "Збій картки MMC"},
      {53, journal_full, "Переполнение памяти электронного журнала",
       "Переповнення пам''яті електронного журналу"},
  };
  for (const CodeRow& r : texts) ExpectCodeTexts(r, 3, Plain());
  const CodeRow klef_texts[] = {
      {53, klef_overflow, "КЛЭФ заполнена", "КСЕФ заповнена"},
      {54, klef_number, "Неправильный номер данных КЛЭФ", "Невірний номер данних КСЕФ"},
      {55, klef_not_empty, "Команда запрещена, в КЛЭФ есть данные", "Команда заборонена, КСЕФ не порожня"},
  };
  for (const CodeRow& r : klef_texts) ExpectCodeTexts(r, 7, Plain());
}

TEST(MessageLanguage, LastClassSwitchedToEnglishOrUkrainianWins) {
  // Order: 08-01, EP-01, EP-02, EP-05, 05-02, EP-06, 05-03.
  struct Case {
    std::array<Byte, 7> langs;
    Byte expected;
  };
  const Case cases[] = {
      {{1, 1, 1, 1, 1, 1, 1}, kRu}, {{1, 1, 0, 1, 1, 1, 1}, kEn},    // EP-02 English, 05-03 left Russian
      {{1, 1, 0, 1, 1, 1, 2}, kUk},                                  // ... and 05-03 Ukrainian
      {{2, 1, 1, 1, 1, 0, 1}, kEn}, {{0, 5, 9, 255, 1, 3, 1}, kEn},  // values outside 0..2 are passed over
      {{3, 3, 3, 3, 3, 3, 3}, kRu},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageLanguage(c.langs), c.expected);
}

LastCall AfterExchange() {
  LastCall call;
  call.ReportedResult = 0;
  call.ReportedStatus = 0;
  call.ErrorText = "before";
  return call;
}

TEST(ReportNoAnswer, NewerInterfacesSetCodeStatusAndText) {
  LastCall call = AfterExchange();
  ReportNoAnswer(call, kEn, Reporting::kCodeAndText);
  EXPECT_EQ(call.ReportedResult, 101);
  EXPECT_EQ(call.ReportedStatus, 255);
  EXPECT_EQ(call.ErrorText, "Fiscal printer does not answer!");

  ReportNoAnswer(call, kRu, Reporting::kCodeAndText, /*modem=*/true);
  EXPECT_EQ(AnsiToUtf8(call.ErrorText), "Модем не отвечает");
  EXPECT_EQ(call.ReportedResult, 101);
}

TEST(ReportNoAnswer, OlderInterfacesSetTheTextAlone) {
  LastCall call = AfterExchange();
  ReportNoAnswer(call, kEn, Reporting::kTextOnly);
  EXPECT_EQ(call.ReportedResult, 0);
  EXPECT_EQ(call.ReportedStatus, 0);
  EXPECT_EQ(call.ErrorText, "Fiscal printer does not answer!");
}

TEST(ReportNoAnswer, UnknownLanguageKeepsTheTextButNotTheCode) {
  LastCall call = AfterExchange();
  ReportNoAnswer(call, 3, Reporting::kCodeAndText);
  EXPECT_EQ(call.ReportedResult, 101);
  EXPECT_EQ(call.ReportedStatus, 255);
  EXPECT_EQ(call.ErrorText, "before");
}

TEST(ReportDriverError, ArgumentChecksAlsoSetStatus255) {
  LastCall call = AfterExchange();
  ReportDriverError(call, texts::kIncorrectBaudRate, kUk, Reporting::kCodeAndText, true);
  EXPECT_EQ(call.ReportedResult, 111);
  EXPECT_EQ(call.ReportedStatus, 255);
  EXPECT_EQ(AnsiToUtf8(call.ErrorText), "Невірно задана швидкість зв'язку!");
}

TEST(ReportDriverError, AnswerFailuresKeepTheStatus) {
  LastCall call = AfterExchange();
  call.ReportedStatus = 4;
  ReportDriverError(call, texts::kDataFormatError, kEn, Reporting::kCodeAndText, false);
  EXPECT_EQ(call.ReportedResult, 103);
  EXPECT_EQ(call.ReportedStatus, 4);
  EXPECT_EQ(call.ErrorText, "Data format error!");
}

TEST(ReportDriverError, OlderInterfacesSetTheTextAlone) {
  for (bool argument_check : {false, true}) {
    LastCall call = AfterExchange();
    call.ReportedResult = 21;
    ReportDriverError(call, texts::kItemsQuantity, kEn, Reporting::kTextOnly, argument_check);
    EXPECT_EQ(call.ReportedResult, 21);
    EXPECT_EQ(call.ReportedStatus, 0);
    EXPECT_EQ(call.ErrorText, "Items quantity more than is possible!");
  }
}

TEST(ReportDriverError, UnknownLanguageKeepsTheTextButSetsTheCode) {
  LastCall call = AfterExchange();
  ReportDriverError(call, texts::kBadDiscountType, 200, Reporting::kCodeAndText, true);
  EXPECT_EQ(call.ReportedResult, 110);
  EXPECT_EQ(call.ReportedStatus, 255);
  EXPECT_EQ(call.ErrorText, "before");
}

}  // namespace
}  // namespace zorfp
