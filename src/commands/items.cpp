#include "commands/items.h"

#include <limits>
#include <string>

#include "commands/decimal_text.h"
#include "commands/totals.h"
#include "commands/wire.h"
#include "errors/encodings.h"
#include "errors/texts_items.h"

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

struct NameLimit {
  std::size_t characters;
  const DriverError* error;
};
constexpr NameLimit kNameLimits[] = {
    {25, &texts::kItemNameOver25},
    {50, &texts::kItemNameOver50},
    {70, &texts::kItemNameOver70},
};

const DriverError& NameTooLong(std::size_t limit) {
  for (const NameLimit& l : kNameLimits) {
    if (l.characters == limit) return *l.error;
  }
  return texts::kItemNameOver50;
}

// What the printer answers a registered item: the receipt's cost and total so far.
struct ItemReply {
  std::int64_t cost = 0;
  std::int64_t total = 0;
};

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
  if (item.amount < 0 || item.amount > kMaxQuantity) return d.Refuse(texts::kItemsQuantity);
  // The price travels as sign and 31-bit magnitude: the one int32 it cannot carry is refused.
  if (item.price == std::numeric_limits<std::int32_t>::min()) return d.Refuse(texts::kIncorrectPrice);
  if (item.tax_group > kLastTaxGroup) return d.Refuse(texts::kTaxGroupMissing);
  const int code_bits = 8 * d.traits().article_code_bytes;
  if (code_bits < 64 && item.code >> code_bits != 0) return d.Refuse(texts::kIncorrectItemCode);
  if (item.name != nullptr && item.name->size() > d.traits().item_name_limit) {
    return d.Refuse(NameTooLong(d.traits().item_name_limit));
  }
  return true;
}

Command ItemCommand(Driver& d, const Item& item) {
  Command command(item.command);
  command.UIntLE(static_cast<std::uint32_t>(item.amount), 3).U8(item.status).SignMagnitude32(item.price);
  command.U8(static_cast<Byte>(kTaxGroupBase + item.tax_group));
  if (item.name == nullptr) {
    command.U8(kNameFromArticleMemory);
  } else {
    command.Text(d, *item.name);
  }
  command.UIntLE(item.code, d.traits().article_code_bytes);
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
  ReceiptValues& receipt = HeldReceipt(d);
  receipt.ReceiptCost = 0;
  receipt.ReceiptTotal = 0;
  if (!CheckItem(d, item)) return false;
  if (one_quant) item.status |= kOneQuantMark;
  if (item.name != nullptr && d.traits().ean13_mark && d.module().PrintEAN13 && IsEan13(item.code)) {
    item.status |= kEan13Mark;
  }
  const auto reply = Query<ItemReply>(
      d, ItemCommand(d, item),
      [](AnswerReader& r, ItemReply& out) {
        out.cost = r.SignMagnitude32();
        out.total = static_cast<std::int64_t>(r.UIntLE(4));
      },
      {.more_allowed = true});
  if (!reply) return false;
  receipt.ReceiptCost = reply->cost;
  receipt.ReceiptTotal = reply->total;
  receipt.Balance = 0;
  return true;
}

bool OlderItem(Driver& d, const Item& item) {
  return CheckItem(d, item) && d.Execute(ItemCommand(d, item));
}

// StrCode as the Ex members take it; nullopt (code 111 reported) for text that is not an integer.
std::optional<std::uint64_t> CodeFromText(Driver& d, const AnsiString& text, bool trim) {
  AnsiString code = ClientTextIn(text, d.module().settings.CP866);
  if (trim) code = Trim(code);
  const auto value = ParseInt64(code);
  if (!value) {
    HeldReceipt(d).ReceiptCost = 0;
    HeldReceipt(d).ReceiptTotal = 0;
    d.Refuse(texts::kIncorrectItemCode);
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

bool FPSale(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
            const AnsiString& Goods, std::uint32_t Articul) {
  return OlderItem(d, {kSaleItem, Amount, Print_Status, Price, NalogGroup, &Goods, Articul});
}

bool FPPayMoney(Driver& d, std::int32_t Amount, Byte Print_Status, std::int32_t Price, Byte NalogGroup,
                const AnsiString& Goods, std::uint32_t Articul) {
  return OlderItem(d, {kRefundItem, Amount, Print_Status, Price, NalogGroup, &Goods, Articul});
}

bool FPVoidLastItem(Driver& d) {
  return d.Execute(Command(kVoidLastItem));
}

bool FPResetOrder(Driver& d) {
  if (!d.Execute(Command(kResetOrder))) return false;
  if (!d.traits().older_family) ClearReceipt(HeldReceipt(d));
  return true;
}

}  // namespace zorfp
