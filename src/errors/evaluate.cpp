// Turning the printer's status and result bytes, a silent printer or the driver's own refusal
// into the last-call code, status and text. The texts are the tables below; the code only
// chooses among them.
#include "errors/evaluate.h"

#include <array>
#include <string>

#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr Byte kStatusDriverError = 255;
constexpr Byte kCodeNoAnswer = 101;

// Variant numbers that have texts of their own.
constexpr Byte kVariant05_02 = 3;
constexpr Byte kVariantEP_06 = 6;
constexpr Byte kVariant05_03 = 7;

// Prefixes: the first line of the text. Each rule that holds replaces the one chosen before it, so
// the last one in this order wins.
struct Prefix {
  bool (*holds)(const AnswerFlags& f, Byte variant);
  Message text;
};
const Prefix kPrefixes[] = {
    {[](const AnswerFlags& f, Byte) { return f.FinishAfterError; },
     {"<WARNING! THE COMAND FINISHED AFTER ELIMINATION OF ERROR>",
      "<ВНИМАНИЕ! КОМАНДА ЗАВЕРШИТСЯ ПОСЛЕ УСТРАНЕНИЯ ОШИБКИ>",
      "<ВНИМАНИЕ! КОМАНДА ЗАВЕРШИТЬСЯ ПІСЛЯ УСУНЕННЯ ПОМИЛКИ>"}},
    {[](const AnswerFlags& f, Byte variant) { return variant == kVariantEP_06 && f.NoPersonalization; },
     {"<NO PERSONALIZATION>", "<НЕ БЫЛО ПЕРСОНАЛИЗАЦИИ>", "<НЕ БУЛО ПЕРСОНАЛІЗАЦІЇ>"}},
    {[](const AnswerFlags& f, Byte) { return !f.CommandAccepted; },
     {"<THE COMMAND UNSUCCESSFUL>", "<КОМАНДА НЕ ПРИНЯТА К ИСПОЛНЕНИЮ>",
      "<КОМАНДА НЕ ПРИЙНЯТА ДО ВИКОНАННЯ>"}},
    {[](const AnswerFlags& f, Byte) { return f.ClockError; },
     {"<ERROR OF CLOCK>", "<ОШИБКА ЧАСОВ>", "<ПОМИЛКА ГОДИННИКА>"}},
    {[](const AnswerFlags& f, Byte) { return f.DayOver24Hours; },
     {"<WORKING DAY IS MORE THAN 24 HOURS>", "<РАБОЧИЙ ДЕНЬ ПРОДОЛЖАЕТСЯ БОЛЬШЕ 24 ЧАСОВ>",
      "<РОБОЧИЙ ДЕНЬ ТРИВАЄ БІЛЬШЕ 24 ГОДИН>"}},
};

// Status lines: one per status bit 0..6; bit 7 has none (the prefix tells it).
const std::array<Message, 7> kStatusLines = {{
    {"Printer is not ready", "Принтер не готов", "Принтер не готовий"},
    {"No paper", "Нет бумаги", "Немає паперу"},
    {"Fiscal memory is full", "Переполнение фискальной памяти", "Переповнення фіскальної пам'яті"},
    {"Wrong date or error of clock", "Неправильная дата или ошибка часов",
     "Невірна дата або помилка годинника"},
    {"Display error", "Ошибка дисплея", "Помилка дисплея"},
    {"Working day is too long", "Превышение продолжительности смены", "Перевищення тривалості зміни"},
    {"Low voltage", "Снижение напряжения питания", "Зниження напруги живлення"},
}};
// Printers with an electronic journal (EP-06, 05-03) use bit 1 for its storage time, and
// announce the end of the paper through the reserve byte, ahead of the bit-0 line.
const Message kKlefStorageLine = {"KLEF storage more than 72 hours",
                                  "Продолжительность хранения данных в КЛЭФ превышает 72 часа",
                                  "Термін збереження даних в КСЕФ перевищує 72 години"};
const Message kPaperOutLine = {"Paper out", "Нет бумаги", "Немає паперу"};

// Result codes with the same text on every printer.
struct Result {
  Byte code;
  Message text;
};
const Result kResults[] = {
    {1, {"Printer error", "Ошибка принтера", "Помилка принтера"}},
    {2, {"Paper ended", "Закончилаь бумага", "Закінчився папір"}},
    {4, {"Error of fiscal memory", "Сбой фискальной памяти", "Збій фіскальної пам'яті"}},
    {6, {"Low voltage", "Снижение напряжения питания", "Зниження напруги живлення"}},
    {8, {"Fiscal memory is full", "Фискальная память переполнена", "Фіскальна пам'ять переповнена"}},
    {10, {"No personalization", "Не проведена персонализация", "Не здійснена персоналізація"}},
    {16,
     {"A command is not supported in this mode", "Команда не поддерживается в данном режиме",
      "Команда заборонена в даному режимі"}},
    {19, {"Logo writing error", "Ошибка записи логотипа", "Помилка запису логотипа"}},
    {20, {"Bad line length", "Недопустимая длины строки", "Неприпустима довжина рядка"}},
    {21, {"Incorrect password", "Неверный пароль", "Невірний пароль"}},
    {22,
     {"Password or line number does not exist", "Несуществующий номер (пароля, строки)",
      "Неіснуючий номер (пароля, рядка)"}},
    {23, {"VAT does not exist", "Налоговой группы не существует", "Податкова група не існує"}},
    {24, {"Payment form does not exist", "Ошибка формы оплаты", "Помилка форми оплати"}},
    {25, {"Found illegal characters", "Найдены недопустимые символы", "Знайдені недопустимі символи"}},
    {26, {"Too many VATs", "Слишком много налогов", "Дуже багато податків"}},
    {27,
     {"Total of ticket is negative", "Ошибка, отрицательный итог по чеку",
      "Помилка, від'ємний підсумок чека"}},
    {28,
     {"Description error of item (name or VAT)", "Ошибка в описании артикула (название/налоговая группа)",
      "Помилка в описі артикулу (назва або податкова група)"}},
    {30, {"Date/time format error", "Ошибка формата даты/времени", "Помилка формату дати/часу"}},
    {31, {"Too many items in ticket", "Слишком много товаров в чеке", "Дуже багато товарів в чеку"}},
    {32,
     {"A cost too big", "Превышение разрядности вычисленной стоимости",
      "Перевищення розрядності обчисленої вартості"}},
    {33,
     {"A day register of sales is full", "Переполнение регистра дневного оборота",
      "Переповнення регістра денного обігу"}},
    {34,
     {"A day register of payments is full", "Переполнение регистра оплат", "Переповнення регістра оплат"}},
    {35,
     {"Try give out too big sum from cash drawer",
      "Попытка выдачи большей суммы наличных, чем в денежном ящике",
      "Спроба видачі більшої суми готівки, ніж в грошовій скринці"}},
    {36,
     {"Incorrect date", "Устанавливаемая дата предшествует дате последнего Z-отчета",
      "Встановлювана дата передує даті останнього Z-звіту"}},
    {37,
     {"Refunds making, sales are impossible in this ticket", "Открыт чек выплат, продажи запрещены",
      "Відкритий чек виплат, продажі заборонені"}},
    {38,
     {"Sales making, refunds are impossible in this ticket", "Открыт чек продаж, выплаты запрещены",
      "Відкритий чек продажів, виплати заборонені"}},
    {39,
     {"Command is impossible, because ticket is closed", "Команда запрещена, чек не открыт",
      "Команда заборонена, чек не відкритий"}},
    {41,
     {"Command is impossible, while not made Z-report", "Команда запрещена до выполнения Z-отчета",
      "Команда заборонена до виконання Z-звіту"}},
    {42,
     {"Command is impossible, no tickets", "Команда запрещена, не было чеков",
      "Команда заборонена, не було чеків"}},
    {43,
     {"Money surrender from this payment form is impossible", "Сдача с этой формы оплаты запрещена",
      "Здача з цієї форми оплати заборонена"}},
    {44,
     {"Command is impossible, ticket opened", "Команда запрещена, чек открыт",
      "Команда заборонена, відкритий чек"}},
    {45,
     {"Discounts and mark-ups are impossible because no sales/refunds",
      "Не было продаж/выплат, скидка невозможна", "Не було продажів/виплат, знижка неможлива"}},
    {46,
     {"Command is impossible after payment", "Команда запрещена после начала оплат",
      "Команда заборонена після початку оплат"}},
};

// Codes 42 and 44 while a service report is open.
const Message kServiceReportOpen = {"Command is impossible, service report opened",
                                    "Команда запрещена, открыт служебный отчёт",
                                    "Команда заборонена, відкритий службовий звіт"};

// Codes from 47 up mean different things on different printers.
const Message kMmcForbidden = {"Work with the MMC card is forbidden", "Работа с карточкой MMC запрещена",
                               "Робота з карткою MMC заборонена"};
const Message kMmcReportMissing = {"A report is not found in the MMC card", "Не найден отчёт в MMC",
                                   "Не знайдений звіт у MMC"};
const Message kCustomerDisplayMissing = {"Customer display is not found", "Не найден дисплей клиента",
                                         "Не знайдений дисплей кліента"};
const Message kBadParameter = {"Bad value of parameter", "Недопустимое значение параметра",
                               "Недопустиме значення параметра"};
const Message kMmcFull = {"MMC card is full", "Переполнение карточки MMC", "Переповнення картки MMC"};
const Message kMmcFailure = {"MMC card failure", "Сбой карточки MMC", "Збій картки MMC"};
const Message kJournalMemoryFull = {"Memory of the electronic journal full",
                                    "Переполнение памяти электронного журнала",
                                    "Переповнення пам''яті електронного журналу"};
const Message kKlefOverflow = {"KLEF overflow", "КЛЭФ заполнена", "КСЕФ заповнена"};
const Message kKlefDataNumber = {"Wrong number KLEF data", "Неправильный номер данных КЛЭФ",
                                 "Невірний номер данних КСЕФ"};
const Message kKlefNotEmpty = {"Command is impossible, KLEF isn't empty",
                               "Команда запрещена, в КЛЭФ есть данные",
                               "Команда заборонена, КСЕФ не порожня"};

// Codes 47..55 on 05-02, EP-06 and 05-03; null: no text. The other printers have none.
struct VariantResult {
  Byte code;
  const Message* v3;
  const Message* v6;
  const Message* v7;
};
const VariantResult kVariantResults[] = {
    {47, &kMmcForbidden, &kKlefOverflow, &kMmcForbidden},
    {48, &kMmcReportMissing, &kKlefDataNumber, &kMmcReportMissing},
    {49, &kCustomerDisplayMissing, nullptr, &kCustomerDisplayMissing},
    {50, &kBadParameter, &kKlefNotEmpty, &kBadParameter},
    {51, &kMmcFull, nullptr, &kMmcFull},
    {52, &kMmcFailure, nullptr, &kMmcFailure},
    {53, &kJournalMemoryFull, nullptr, &kKlefOverflow},
    {54, nullptr, nullptr, &kKlefDataNumber},
    {55, nullptr, nullptr, &kKlefNotEmpty},
};

bool HasJournal(Byte variant) {
  return variant == kVariantEP_06 || variant == kVariant05_03;
}

// Texts given to EvaluateAnswer always exist: its language is already resolved to 0, 1 or 2.
AnsiString Text(const Message& m, Byte lang) {
  return Pick(m, lang).value_or(AnsiString());
}

const Message* ResultMessage(Byte result, Byte variant, const AnswerFlags& flags) {
  if ((result == 42 || result == 44) && flags.ServiceReportOpen) return &kServiceReportOpen;
  for (const Result& r : kResults) {
    if (r.code == result) return &r.text;
  }
  for (const VariantResult& r : kVariantResults) {
    if (r.code != result) continue;
    switch (variant) {
      case kVariant05_02:
        return r.v3;
      case kVariantEP_06:
        return r.v6;
      case kVariant05_03:
        return r.v7;
      default:
        return nullptr;
    }
  }
  return nullptr;
}

AnsiString StatusText(Byte status, Byte variant, const AnswerFlags& flags, Byte lang) {
  AnsiString text;
  for (int bit = 0; bit < 7; ++bit) {
    if ((status & (1u << bit)) == 0) continue;
    if (bit == 0 && HasJournal(variant) && flags.PaperOutNotice) text += Text(kPaperOutLine, lang) + kCrLf;
    const Message& line = bit == 1 && HasJournal(variant) ? kKlefStorageLine : kStatusLines[bit];
    text += Text(line, lang) + kCrLf;
  }
  return text;
}

void SetText(LastCall& call, const Message& text, Byte lang) {
  if (auto picked = Pick(text, lang)) call.ErrorText = std::move(*picked);
}

}  // namespace

Byte MessageLanguage(const std::array<Byte, 7>& langs_in_order) {
  Byte lang = kLangRussian;
  for (Byte l : langs_in_order) {
    if (l == kLangEnglish || l == kLangUkrainian) lang = l;
  }
  return lang;
}

bool EvaluateAnswer(LastCall& call, Byte status, Byte result, Byte variant_number, Byte language) {
  if (status == 0 && result == 0) return true;
  const Byte lang = language <= kLangUkrainian ? language : kLangRussian;

  const Message* prefix = nullptr;
  for (const Prefix& p : kPrefixes) {
    if (p.holds(call.flags, variant_number)) prefix = &p.text;
  }

  AnsiString message;
  if (status != 0) {
    message = StatusText(status, variant_number, call.flags, lang);
  } else if (const Message* m = ResultMessage(result, variant_number, call.flags)) {
    message = Text(*m, lang);
  }

  call.ReportedResult = result;
  call.ReportedStatus = status;
  call.ErrorText = prefix != nullptr ? Text(*prefix, lang) + kCrLf + message : message;
  return false;
}

void ReportNoAnswer(LastCall& call, Byte lang, Reporting reporting, bool modem) {
  if (reporting == Reporting::kCodeAndText) {
    call.ReportedResult = kCodeNoAnswer;
    call.ReportedStatus = kStatusDriverError;
  }
  SetText(call, modem ? texts::kModemNoAnswer : texts::kNoAnswer, lang);
}

void ReportDriverError(LastCall& call, const DriverError& error, Byte lang, Reporting reporting,
                       bool argument_check) {
  if (reporting == Reporting::kCodeAndText) {
    call.ReportedResult = error.code;
    if (argument_check) call.ReportedStatus = kStatusDriverError;
  }
  SetText(call, error.text, lang);
}

}  // namespace zorfp
