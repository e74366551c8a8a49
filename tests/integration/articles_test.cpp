// Articles: programming them per class and code width, the article query decoded from crafted
// answers (both counter orders, misfits and their fallbacks), codes refused unsent, and an article
// programmed, sold by code and read back on the simulator.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "errors/codepage.h"
#include "support/member_call.h"
#include "support/pty_driver_fixture.h"
#include "support/sim_driver_fixture.h"

namespace zorfp {
namespace {

using testing::Call;
using testing::FromHex;

constexpr std::uint64_t k2To48 = std::uint64_t{1} << 48;

std::string U(const char* utf8) {
  return Utf8ToAnsi(utf8);
}

// The command inside a frame: after DLE STX and the sequence number, before the checksum and DLE ETX.
std::string CommandHex(const Bytes& frame) {
  Bytes content;
  for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
    content.push_back(frame[i]);
    if (frame[i] == 0x10) ++i;
  }
  return testing::Hex(Bytes(content.begin() + 1, content.end() - 1));
}

// Name "ABC" with the refunds first: refunds 5 (status 2) for 2^32, sales 16 (status 3) for
// 1000; price -200, group C.
const Bytes kRefundsFirst =
    FromHex("83 41 42 43 05 00 00 02 38 FF FF FF 82 00 00 00 00 01 10 00 00 03 E8 03 00 00 00");
// The same name with the sales first.
const Bytes kSalesFirst =
    FromHex("03 41 42 43 05 00 00 02 38 FF FF FF 82 00 00 00 00 01 10 00 00 03 E8 03 00 00 00");

using Step = std::function<void(Driver&)>;

class ArticlesTest : public testing::PtyDriverTest {
 protected:
  std::vector<std::string> Commands() const {
    std::vector<std::string> out;
    for (const Bytes& f : peer_.Frames()) out.push_back(CommandHex(f));
    return out;
  }
};

TEST_F(ArticlesTest, ProgrammingPerClassAndCodeWidth) {
  // One attempt each: a canned answer that does not fit its layout would be sent for again.
  module().settings.RepeatCount = 0;
  const struct {
    const char* what;
    VariantId id;
    Step call;
    const char* command;
  } cases[] = {
      {"six-byte code", VariantId::k05_03,
       [](Driver& d) {
         Call<bool>(d, "FPProgArt", std::uint16_t{0x0102}, Byte{3}, -150, 2, "AB", std::uint64_t{0x010203040506});
       },
       "22 02 01 03 96 00 00 80 82 02 41 42 06 05 04 03 02 01"},
      {"code as text", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPProgArtEx", std::uint16_t{0}, Byte{0}, 1850, 0, "", "4820000000011"); },
       "22 00 00 00 3A 07 00 00 80 00 0B 48 63 3E 62 04"},
      {"the largest code", VariantId::kEP_06,
       [](Driver& d) {
         Call<bool>(d, "FPProgArtEx", std::uint16_t{0}, Byte{0}, 1, 5, "", "281474976710655");
       },
       "22 00 00 00 01 00 00 00 85 00 FF FF FF FF FF FF"},
      {"EP-01: four bytes", VariantId::kEP_01,
       [](Driver& d) { Call(d, "FPProgArt", std::uint16_t{1}, Byte{0xC0}, 100, Byte{1}, "X", 0x01020304u); },
       "22 01 00 C0 64 00 00 00 81 01 58 04 03 02 01"},
      {"08-01: four bytes, though it sells by two", VariantId::k08_01,
       [](Driver& d) { Call(d, "FPProgArt", std::uint16_t{1}, Byte{0}, 100, Byte{5}, "X", 0x01020304u); },
       "22 01 00 00 64 00 00 00 85 01 58 04 03 02 01"},
      {"query by code", VariantId::kEP_05,
       [](Driver& d) { Call<AnsiString>(d, "GetArticleName", std::uint64_t{7}); }, "29 07 00 00 00 00 00"},
      {"query by text", VariantId::k05_02,
       [](Driver& d) { Call<std::int32_t>(d, "GetArticlePriceEx", "4820000000011"); }, "29 0B 48 63 3E 62 04"},
      {"held query", VariantId::k05_03, [](Driver& d) { Call<bool>(d, "FPGetArtInfoExt", "258"); },
       "29 02 01 00 00 00 00"},
  };
  for (const auto& c : cases) {
    Answer({});
    Open(c.id);
    const std::size_t before = peer_.FrameCount();
    c.call(*driver_);
    ASSERT_EQ(peer_.FrameCount(), before + 1) << c.what;
    EXPECT_EQ(Commands().back(), c.command) << c.what;
  }
}

TEST_F(ArticlesTest, RefusalsSendNothing) {
  const struct {
    const char* what;
    VariantId id;
    Step call;
    Byte code;
    const char* text;
  } cases[] = {
      {"password 65535", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPProgArt", std::uint16_t{65535}, Byte{0}, 1, 0, "", std::uint64_t{1}); }, 21,
       "Incorrect password of programming!"},
      {"tax group 6", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPProgArt", std::uint16_t{0}, Byte{0}, 1, 6, "", std::uint64_t{1}); }, 26,
       "VAT does not exist!"},
      {"name of 51", VariantId::kEP_05,
       [](Driver& d) {
         Call<bool>(d, "FPProgArt", std::uint16_t{0}, Byte{0}, 1, 0, std::string(51, 'n'), std::uint64_t{1});
       },
       20, "Item name exceeds 50 characters!"},
      {"EP-06 name of 71", VariantId::kEP_06,
       [](Driver& d) {
         Call<bool>(d, "FPProgArt", std::uint16_t{0}, Byte{0}, 1, 0, std::string(71, 'n'), std::uint64_t{1});
       },
       20, "Item name exceeds 70 characters!"},
      {"code 2^48", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPProgArt", std::uint16_t{0}, Byte{0}, 1, 0, "", k2To48); }, 111,
       "Incorrect item code (barcode)!"},
      {"negative code as text", VariantId::k05_03,
       [](Driver& d) { Call<bool>(d, "FPProgArtEx", std::uint16_t{0}, Byte{0}, 1, 0, "", "-1"); }, 111,
       "Incorrect item code (barcode)!"},
      {"2^48 as text", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPProgArtEx", std::uint16_t{0}, Byte{0}, 1, 0, "", "281474976710656"); }, 111,
       "Incorrect item code (barcode)!"},
      {"text that is no number", VariantId::kEP_02,
       [](Driver& d) { Call<bool>(d, "FPProgArtEx", std::uint16_t{0}, Byte{0}, 1, 0, "", "12a"); }, 111,
       "Incorrect item code (barcode)!"},
      {"query of a negative code", VariantId::kEP_06,
       [](Driver& d) { EXPECT_EQ(Call<AnsiString>(d, "GetArticleNameEx", "-5"), ""); }, 111,
       "Incorrect item code (barcode)!"},
      {"query of code 2^48", VariantId::k05_03,
       [](Driver& d) { EXPECT_EQ(Call<std::int32_t>(d, "GetArticlePrice", k2To48), -1); }, 111,
       "Incorrect item code (barcode)!"},
      {"held query of no number", VariantId::k05_03,
       [](Driver& d) { EXPECT_FALSE(Call<bool>(d, "FPGetArtInfoExt", "x")); }, 111,
       "Incorrect item code (barcode)!"},
  };
  for (const auto& c : cases) {
    Open(c.id);
    PutLang(*driver_, 0);
    c.call(*driver_);
    EXPECT_EQ(GetByteResult(*driver_), c.code) << c.what;
    EXPECT_EQ(GetByteStatus(*driver_), 255) << c.what;
    EXPECT_EQ(Text(*driver_), c.text) << c.what;
  }
  Open(VariantId::k08_01);
  PutLang(*driver_, 0);
  Call(*driver_, "FPProgArt", std::uint16_t{0}, Byte{0}, 1, Byte{0}, std::string(26, 'n'), 1u);
  EXPECT_EQ(OlderText(*driver_), "Item name exceeds 25 characters!");
  EXPECT_EQ(peer_.FrameCount(), 0u);
}

TEST_F(ArticlesTest, AnswerInBothCounterOrders) {
  for (const Bytes* answer : {&kRefundsFirst, &kSalesFirst}) {
    const bool refunds_first = answer == &kRefundsFirst;
    SCOPED_TRACE(refunds_first ? "refunds first" : "sales first");
    Open(VariantId::k05_03);
    Answer(*answer);
    const std::uint64_t code = 7;
    EXPECT_EQ(Call<Byte>(*driver_, "GetArticleLengthName", code), 3);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetArticleName", code), "ABC");
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticlePrice", code), -200);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleTax", code), 2);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleSaleAmount", code), refunds_first ? 16 : 5);
    EXPECT_EQ(Call<Byte>(*driver_, "GetArticleSaleStatus", code), refunds_first ? 3 : 2);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetArticleTurnSale", code), refunds_first ? "1000" : "4294967296");
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticlePayAmountEx", "7"), refunds_first ? 5 : 16);
    EXPECT_EQ(Call<Byte>(*driver_, "GetArticlePayStatusEx", "7"), refunds_first ? 2 : 3);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetArticleTurnPayEx", "7"), refunds_first ? "4294967296" : "1000");
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleTurnPayExt", code), refunds_first ? 0 : 1000);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleTurnSaleExExt", "7"), refunds_first ? 1000 : 0);
    EXPECT_EQ(GetByteResult(*driver_), 0);
  }
}

TEST_F(ArticlesTest, MisfitsGiveTheFallbacks) {
  const struct {
    Bytes data;
    Byte code;
  } cases[] = {
      {Bytes(kRefundsFirst.begin(), kRefundsFirst.end() - 1), 103},
      {[] {
         Bytes b = kRefundsFirst;
         b.push_back(0);
         return b;
       }(),
       103},
      {FromHex("05 41 42"), 103},  // a name longer than the answer
      {{}, 102},
  };
  for (const auto& c : cases) {
    Open(VariantId::kEP_02);
    Answer(c.data);
    const std::uint64_t code = 1;
    EXPECT_EQ(Call<Byte>(*driver_, "GetArticleLengthName", code), 255);
    EXPECT_EQ(GetByteResult(*driver_), c.code);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetArticleName", code), "");
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticlePrice", code), -1);
    EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleSaleAmount", code), -1);
    EXPECT_EQ(Call<Byte>(*driver_, "GetArticlePayStatus", code), 255);
    EXPECT_EQ(Call<AnsiString>(*driver_, "GetArticleTurnPay", code), "");
  }
}

TEST_F(ArticlesTest, HeldArticleKeepsItsLastGoodAnswer) {
  Open(VariantId::k05_02);
  Answer(kRefundsFirst);
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetArtInfo", std::uint64_t{7}));
  EXPECT_EQ(Call<Byte>(*driver_, "GetArtNameLength"), 3);
  EXPECT_EQ(Call<AnsiString>(*driver_, "GetArtName"), "ABC");
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtTaxId"), 2);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtSaleAmount"), 16);
  EXPECT_EQ(Call<Byte>(*driver_, "GetArtRefundAmountStatus"), 2);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtSaleTurn"), 1000);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtRefundTurn"), 0) << "2^32 kept as its low 32 bits";

  Answer(Bytes(kSalesFirst.begin(), kSalesFirst.end() - 2));
  EXPECT_FALSE(Call<bool>(*driver_, "FPGetArtInfo", std::uint64_t{7}));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtSaleAmount"), 16) << "a misfit changes nothing";

  Bytes other_group = kSalesFirst;
  other_group[12] = 0x90;
  Answer(other_group);
  ASSERT_TRUE(Call<bool>(*driver_, "FPGetArtInfo", std::uint64_t{7}));
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtSaleAmount"), 5);
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArtTaxId"), 2) << "a group byte beyond F leaves the group";
  EXPECT_EQ(Call<std::int32_t>(*driver_, "GetArticleTax", std::uint64_t{7}), -1);
}

class ArticlesOnSimulatorTest : public testing::SimDriverTest {};

TEST_F(ArticlesOnSimulatorTest, ProgrammedSoldByCodeAndReadBack) {
  for (VariantId id : {VariantId::kEP_02, VariantId::kEP_06, VariantId::k05_03}) {
    SCOPED_TRACE(Traits(id).tag);
    Start(id);
    ASSERT_TRUE(Call<bool>(d(), "FPProgArt", std::uint16_t{0}, Byte{3}, 1850, 0, U("Хліб"), std::uint64_t{11}));
    ASSERT_TRUE(Call<bool>(d(), "FPProgArtEx", std::uint16_t{0}, Byte{0}, 2490, 1, U("Молоко"), "4820000000028"));
    EXPECT_EQ(Call<AnsiString>(d(), "GetArticleName", std::uint64_t{11}), U("Хлiб"));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleSaleAmount", std::uint64_t{11}), 0);

    // The name comes from the article memory.
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 2000, Byte{3}, false, 1850, 0, true, "", std::uint64_t{11}));
    ASSERT_TRUE(Call<bool>(d(), "FPSale", 1500, Byte{3}, false, 1850, 0, true, "", std::uint64_t{11}));
    ASSERT_TRUE(Call<bool>(d(), "FPSaleEx", 2, Byte{0}, false, 2490, 1, true, "", "4820000000028"));
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 0u, true, true));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleSaleAmount", std::uint64_t{11}), 3500);
    EXPECT_EQ(Call<Byte>(d(), "GetArticleSaleStatus", std::uint64_t{11}), 3);
    EXPECT_EQ(Call<AnsiString>(d(), "GetArticleTurnSale", std::uint64_t{11}), "6475");
    EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleSaleAmountEx", "4820000000028"), 2);
    if (id == VariantId::k05_03) {
      EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleTurnSaleExt", std::uint64_t{4820000000028}), 4980);
    }

    ASSERT_TRUE(Call<bool>(d(), "FPPayMoney", 500, Byte{3}, false, 1850, 0, true, "", std::uint64_t{11}));
    ASSERT_TRUE(Call<bool>(d(), "FPPayment", 3, 0u, true, true));
    EXPECT_EQ(Call<std::int32_t>(d(), "GetArticlePayAmount", std::uint64_t{11}), 500);
    EXPECT_EQ(Call<AnsiString>(d(), "GetArticleTurnPay", std::uint64_t{11}), "925");

    PutLang(d(), 0);
    EXPECT_FALSE(Call<bool>(d(), "FPProgArt", std::uint16_t{0}, Byte{3}, 1, 0, "X", std::uint64_t{11}));
    EXPECT_EQ(GetByteResult(d()), 41) << "an article that sold today keeps its description";
    EXPECT_EQ(Call<AnsiString>(d(), "GetArticleName", std::uint64_t{12}), "");
    EXPECT_EQ(GetByteResult(d()), 28) << "no such article";
    const std::string state = sim_->StateJson();
    EXPECT_NE(state.find("6475"), std::string::npos);
  }
}

TEST_F(ArticlesOnSimulatorTest, ACancelledReceiptBooksNothing) {
  Start(VariantId::k05_03);
  ASSERT_TRUE(Call<bool>(d(), "FPProgArt", std::uint16_t{0}, Byte{0}, 100, 0, "A", std::uint64_t{5}));
  ASSERT_TRUE(Call<bool>(d(), "FPSale", 3, Byte{0}, false, 100, 0, true, "", std::uint64_t{5}));
  ASSERT_TRUE(Call<bool>(d(), "FPSale", 1, Byte{0}, false, 100, 0, true, "", std::uint64_t{5}));
  ASSERT_TRUE(Call<bool>(d(), "FPVoidLastItem"));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleSaleAmount", std::uint64_t{5}), 3);
  ASSERT_TRUE(Call<bool>(d(), "FPResetOrder"));
  EXPECT_EQ(Call<std::int32_t>(d(), "GetArticleSaleAmount", std::uint64_t{5}), 0);
  EXPECT_EQ(Call<AnsiString>(d(), "GetArticleTurnSale", std::uint64_t{5}), "0");
}

// 08-01 programs a four-byte code but sells by two: only a code below 65536 can be sold.
TEST_F(ArticlesOnSimulatorTest, OlderClassesProgramFourBytes) {
  Start(VariantId::k08_01);
  Call(d(), "FPProgArt", std::uint16_t{0}, Byte{0}, 100, Byte{0}, "Short", 0x1234u);
  Call(d(), "FPProgArt", std::uint16_t{0}, Byte{0}, 100, Byte{0}, "Wide", 0x12345678u);
  EXPECT_EQ(GetByteResult(d()), 0);
  Call(d(), "FPSale", 2, Byte{0}, 100, Byte{0}, "Short", 0x1234u);
  EXPECT_EQ(GetByteResult(d()), 0);
  const auto articles = sim_->WithModel([](sim::PrinterModel& m) { return m.programming.articles; });
  ASSERT_EQ(articles.size(), 2u);
  EXPECT_EQ(articles.at(0x1234).day.sales.quantity, 2u);
  EXPECT_EQ(articles.at(0x12345678).name, "Wide");
}

}  // namespace
}  // namespace zorfp
