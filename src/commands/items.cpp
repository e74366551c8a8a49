#include "commands/items.h"

#include <limits>
#include <string>

#include "commands/answer.h"
#include "commands/decimal_text.h"
#include "commands/receipt_values.h"
#include "errors/encodings.h"
#include "errors/texts.h"

namespace zorfp {
namespace {

constexpr Byte kSaleItem = 0x12;
constexpr Byte kRefundItem = 0x08;
constexpr Byte kVoidLastItem = 0x32;
constexpr Byte kResetOrder = 0x0F;

constexpr std::int32_t kMaxQuantity = 0xFFFFFF;  // three bytes
constexpr std::uint32_t kLastTaxGroup = 5;       // A to F
constexpr Byte kOneQuantMark = 0x80;
constexpr Byte kEan13Mark = 0x40;
constexpr Byte kTaxGroupBase = 0x80;
constexpr Byte kNameFromArticleMemory = 0xFF;
constexpr std::size_t kItemReplySize = 8;

struct NameLimit {
  std::size_t characters;
  const Message* text;
};
constexpr NameLimit kNameLimits[] = {
    {25, &texts::kItemNameOver25},
    {50, &texts::kItemNameOver50},
    {70, &texts::kItemNameOver70},
};

const Message& NameTooLong(std::size_t limit) {
  for (const NameLimit& l : kNameLimits) {
    if (l.characters == limit) return *l.text;
  }
  return texts::kItemNameOver50;
}

// One item as both families send it; `name` absent means the printer prints the article's own.
struct Item {
  Byte command;
  std::int32_t amount;
  Byte status;
  std::int32_t price;
  std::uint32_t tax_group;
  const AnsiString* name;
  std::uint64_t code;
};

// Argument checks in the order the driver has always made them. A negative quantity and a code
// wider than the article field are refused too: sent as they stand they would register another
// quantity or another article.
bool CheckItem(Driver& d, const Item& item) {
  if (item.amount < 0 || item.amount > kMaxQuantity) return d.Refuse(109, texts::kItemsQuantity);
  // The price travels as sign and 31-bit magnitude: the one int32 it cannot carry is refused.
  if (item.price == std::numeric_limits<std::int32_t>::min()) return d.Refuse(111, texts::kIncorrectPrice);
  if (item.tax_group > kLastTaxGroup) return d.Refuse(23, texts::kTaxesEmpty);
  const int code_bits = 8 * d.traits().article_code_bytes;
  if (code_bits < 64 && item.code >> code_bits != 0) return d.Refuse(111, texts::kIncorrectItemCode);
  if (item.name != nullptr && item.name->size() > d.traits().item_name_limit) {
    return d.Refuse(20, NameTooLong(d.traits().item_name_limit));
  }
  return true;
}

Bytes ItemCommand(Driver& d, const Item& item) {
  Bytes command{item.command};
  PutUIntLE(command, static_cast<std::uint32_t>(item.amount), 3);
  command.push_back(item.status);
  const std::int64_t price = item.price;
  const std::uint32_t magnitude = static_cast<std::uint32_t>(price < 0 ? -price : price) & 0x7FFFFFFF;
  PutUIntLE(command, magnitude | (price < 0 ? 0x80000000u : 0u), 4);
  command.push_back(static_cast<Byte>(kTaxGroupBase + item.tax_group));
  if (item.name == nullptr) {
    command.push_back(kNameFromArticleMemory);
  } else {
    const std::string name = PrinterTextOut(*item.name, d.module().settings.CP866);
    command.push_back(static_cast<Byte>(name.size()));
    command.insert(command.end(), name.begin(), name.end());
  }
  PutUIntLE(command, item.code, d.traits().article_code_bytes);
  return command;
}

// The code read as an EAN-13 number: at most 13 digits, left-padded with zeros, whose last digit is
// the check digit of the first twelve.
bool IsEan13(std::uint64_t code) {
  std::string digits = std::to_string(code);
  if (digits.size() > 13) return false;
  digits.insert(0, 13 - digits.size(), '0');
  int sum = 0;
  for (int i = 0; i < 12; ++i) sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
  return (10 - sum % 10) % 10 == digits[12] - '0';
}

bool NewerItem(Driver& d, Item item, bool one_quant) {
  ReceiptValues& receipt = Receipt(d);
  receipt.ReceiptCost = 0;
  receipt.ReceiptTotal = 0;
  if (!CheckItem(d, item)) return false;
  if (one_quant) item.status |= kOneQuantMark;
  if (item.name != nullptr && d.traits().ean13_mark && d.module().PrintEAN13 && IsEan13(item.code)) {
    item.status |= kEan13Mark;
  }
  if (!d.Execute(ItemCommand(d, item))) return false;
  if (!RequireData(d, kItemReplySize)) return false;
  const Bytes& reply = d.Answer();
  receipt.ReceiptCost = SignMagnitude32(std::span(reply).first(4));
  receipt.ReceiptTotal = static_cast<std::int64_t>(UIntLE(std::span(reply).subspan(4, 4)));
  receipt.Balance = 0;
  return true;
}

void OlderItem(Driver& d, const Item& item) {
  d.call().ErrorText.clear();
  if (CheckItem(d, item)) d.Execute(ItemCommand(d, item));
}

// StrCode as the Ex members take it; nullopt (code 111 reported) for text that is not an integer.
std::optional<std::uint64_t> CodeFromText(Driver& d, const AnsiString& text, bool trim) {
  AnsiString code = ClientTextIn(text, d.module().settings.CP866);
  if (trim) code = Trim(code);
  const auto value = ParseInt64(code);
  if (!value) {
    Receipt(d).ReceiptCost = 0;
    Receipt(d).ReceiptTotal = 0;
    d.Refuse(111, texts::kIncorrectItemCode);
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(*value);
}

}  // namespace

bool FPSale(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
            std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName, std::uint64_t Code) {
  return NewerItem(d,
                   {kSaleItem, Amount, Amount_Status, Price, static_cast<std::uint32_t>(TAXGroup),
                    MemoryGoodName ? nullptr : &GoodName, Code},
                   IsOneQuant);
}

bool FPPayMoney(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
                std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName, std::uint64_t Code) {
  return NewerItem(d,
                   {kRefundItem, Amount, Amount_Status, Price, static_cast<std::uint32_t>(TAXGroup),
                    MemoryGoodName ? nullptr : &GoodName, Code},
                   IsOneQuant);
}

bool FPSaleEx(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
              std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName,
              const AnsiString& StrCode) {
  const auto code = CodeFromText(d, StrCode, /*trim=*/false);
  return code &&
         FPSale(d, Amount, Amount_Status, IsOneQuant, Price, TAXGroup, MemoryGoodName, GoodName, *code);
}

bool FPPayMoneyEx(Driver& d, std::int32_t Amount, Byte Amount_Status, bool IsOneQuant, std::int32_t Price,
                  std::int32_t TAXGroup, bool MemoryGoodName, const AnsiString& GoodName,
                  const AnsiString& StrCode) {
  const auto code = CodeFromText(d, StrCode, /*trim=*/true);
  return code &&
         FPPayMoney(d, Amount, Amount_Status, IsOneQuant, Price, TAXGroup, MemoryGoodName, GoodName, *code);
}

void FPSale(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
            const AnsiString& Goods, std::uint32_t Articul) {
  OlderItem(d, {kSaleItem, Amount, Print_Status, Price, NalogGroup, &Goods, Articul});
}

void FPPayMoney(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
                const AnsiString& Goods, std::uint32_t Articul) {
  OlderItem(d, {kRefundItem, Amount, Print_Status, Price, NalogGroup, &Goods, Articul});
}

bool FPVoidLastItem(Driver& d) {
  return d.Execute({kVoidLastItem});
}

bool FPResetOrder(Driver& d) {
  if (d.traits().older_family) {
    d.call().ErrorText.clear();
    return d.Execute({kResetOrder});
  }
  if (!d.Execute({kResetOrder})) return false;
  ClearReceipt(Receipt(d));
  return true;
}

}  // namespace zorfp
