// The catalogue as the library holds it: the seven interfaces with their member counts, the
// signatures that differ between classes under one name, identifiers and enumerations.
#include "server/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "variants/traits.h"

namespace zorfp::server {
namespace {

const InterfaceInfo& Of(const char* coclass) {
  const ClassInfo* c = Catalogue().FindClass(coclass);
  EXPECT_NE(c, nullptr) << coclass;
  return *c->iface;
}

std::string SignatureOf(const char* coclass, const char* member) {
  const MemberInfo* m = Of(coclass).Find(member);
  return m ? Signature(*m) : std::string("<missing>");
}

TEST(Catalogue, MemberCountsPerClass) {
  const struct {
    const char* coclass;
    std::size_t members;
  } kCases[] = {{"ZOR_EP_01", 95},  {"ZOR_08_01", 68},  {"ZOR_EP_02", 192}, {"ZOR_EP_05", 204},
                {"ZOR_EP_06", 280}, {"ZOR_05_02", 369}, {"ZOR_05_03", 416}};
  std::size_t total = 0;
  for (const auto& c : kCases) {
    EXPECT_EQ(Of(c.coclass).members.size(), c.members) << c.coclass;
    total += Of(c.coclass).members.size();
  }
  EXPECT_EQ(total, 1624u);
}

TEST(Catalogue, SignaturesSampledPerClass) {
  const struct {
    const char* coclass;
    const char* member;
    const char* signature;
  } kCases[] = {
      {"ZOR_EP_01", "FPInit",
       "FPInit(PortNumber byte, BaudRate dword, ReadTimeOut byte, WriteTimeOut byte) -> bool"},
      {"ZOR_EP_01", "FPSetDate", "FPSetDate(PrinterDate date)"},
      {"ZOR_EP_01", "GetByteResult", "GetByteResult() -> byte"},
      {"ZOR_EP_01", "LogRecord", "LogRecord: bool (read/write)"},
      {"ZOR_EP_01", "FPChangeRate", "FPChangeRate(Rate byte)"},
      {"ZOR_08_01", "FPInit", "FPInit(PortNumber byte, ReadTimeOut byte, WriteTimeOut byte) -> bool"},
      {"ZOR_08_01", "FPInitEx", "FPInitEx(Port string, ReadTimeOut byte, WriteTimeOut byte) -> bool"},
      {"ZOR_08_01", "FPSetCashier",
       "FPSetCashier(Number_Cashier byte, Name_Cashier string, Password_Cashier word)"},
      {"ZOR_08_01", "FPGetTaxRate6", "FPGetTaxRate6() -> string"},
      {"ZOR_EP_02", "GetByteResult", "GetByteResult: EErrorCode (read)"},
      {"ZOR_EP_02", "GetArticleNameEx", "GetArticleNameEx[StrCod string]: string (read)"},
      {"ZOR_EP_02", "CurrentDate", "CurrentDate: string (read/write)"},
      {"ZOR_EP_02", "FPChangeBaudRate", "FPChangeBaudRate(SpeedIndex byte) -> bool"},
      {"ZOR_EP_02", "FPTransPrint", "FPTransPrint(List string, EndList bool) -> bool"},
      {"ZOR_EP_05", "FPTransPrint", "FPTransPrint(List string, EndList bool, ReceiptOnly bool) -> bool"},
      {"ZOR_EP_05", "PrintEAN13", "PrintEAN13: bool (read/write)"},
      {"ZOR_EP_06", "FPTransPrintNew", "FPTransPrintNew(List string, EndList bool, Station byte) -> bool"},
      {"ZOR_EP_06", "ModemACQXchgTime", "ModemACQXchgTime: int (read)"},
      {"ZOR_05_02", "DHHeadLine1", "DHHeadLine1: bool (write)"},
      {"ZOR_05_02", "FPChangeBaudRate", "FPChangeBaudRate(SpeedIndex byte, USB bool) -> bool"},
      {"ZOR_05_02", "FPTransPrint", "FPTransPrint(List string, EndList bool) -> bool"},
      {"ZOR_05_02", "GetArticleTurnSaleExt", "GetArticleTurnSaleExt[Code qword]: int (read)"},
      {"ZOR_05_03", "FPPrintLockReport", "FPPrintLockReport(Password_Report word) -> bool"},
      {"ZOR_05_03", "GetRegistrationDateTime", "GetRegistrationDateTime: date (read)"},
      {"ZOR_05_03", "GetByteStatus", "GetByteStatus: EStatusFlags (read)"},
  };
  for (const auto& c : kCases) EXPECT_EQ(SignatureOf(c.coclass, c.member), c.signature) << c.coclass;
}

TEST(Catalogue, OneNameTwoSignatures) {
  EXPECT_EQ(Of("ZOR_EP_02").Find("FPSale")->params.size(), 8u);
  EXPECT_EQ(Of("ZOR_EP_01").Find("FPSale")->params.size(), 6u);
  for (const char* c : {"ZOR_05_02", "ZOR_05_03"}) {
    EXPECT_EQ(SignatureOf(c, "FPSendCustomer"), "FPSendCustomer(Line byte, Msg string) -> bool") << c;
  }
  for (const char* c : {"ZOR_EP_02", "ZOR_EP_05", "ZOR_EP_06"}) {
    EXPECT_EQ(SignatureOf(c, "FPSendCustomer"),
              "FPSendCustomer(StrFirstLast bool, MessageString string) -> bool")
        << c;
  }
}

TEST(Catalogue, RemovedAndAddedMembers) {
  const struct {
    const char* coclass;
    const char* member;
    bool present;
  } kCases[] = {
      {"ZOR_08_01", "LogRecord", false},
      {"ZOR_08_01", "FPDiscount", false},
      {"ZOR_EP_02", "ServiceReportStatus", true},
      {"ZOR_EP_05", "ServiceReportStatus", false},
      {"ZOR_EP_05", "GetServiceReportStatus", true},
      {"ZOR_05_02", "FPSetContrast", false},
      {"ZOR_05_02", "FPSetHeaderLineAdd1", false},  // EP-06's additions are not 05-02's
      {"ZOR_05_03", "GetKLEFFirstPID", true},
      {"ZOR_05_03", "GetKLEFBeginAdr", false},
      {"ZOR_EP_06", "GetKLEFBeginAdr", true},
      {"ZOR_EP_01", "GetByteReserv", false},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(Of(c.coclass).Find(c.member) != nullptr, c.present) << c.coclass << "." << c.member;
}

TEST(Catalogue, MembersKeepInterfaceOrderAndNumbering) {
  for (const InterfaceInfo& i : Catalogue().interfaces) {
    std::set<std::string> names;
    for (std::size_t n = 0; n < i.members.size(); ++n) {
      EXPECT_EQ(i.members[n].dispid, static_cast<DISPID>(n + 1)) << i.name;
      EXPECT_EQ(i.Member(i.members[n].dispid), &i.members[n]);
      EXPECT_TRUE(names.insert(i.members[n].name).second) << i.name << " repeats " << i.members[n].name;
    }
    EXPECT_EQ(i.Member(0), nullptr);
    EXPECT_EQ(i.Member(static_cast<DISPID>(i.members.size() + 1)), nullptr);
  }
  // First and last members, where the base list and the additions meet.
  EXPECT_STREQ(Of("ZOR_EP_02").members.front().name, "FPInit");
  EXPECT_STREQ(Of("ZOR_EP_02").members.back().name, "FPInitEx");
  EXPECT_STREQ(Of("ZOR_EP_05").members[191].name, "GetServiceReportStatus");
  EXPECT_STREQ(Of("ZOR_05_03").members.back().name, "ModemACQPort");
}

TEST(Catalogue, NamesBindCaseInsensitively) {
  EXPECT_EQ(Of("ZOR_05_03").Find("fpinitex"), Of("ZOR_05_03").Find("FPInitEx"));
  EXPECT_EQ(Of("ZOR_05_03").Find("FPINITEX")->dispid, Of("ZOR_05_03").Find("FPInitEx")->dispid);
  EXPECT_EQ(Of("ZOR_05_03").Find("FPInitE"), nullptr);
}

TEST(Catalogue, ClassesAndIdentifiers) {
  const LibraryInfo& lib = Catalogue();
  EXPECT_STREQ(lib.name, "ZORFP");
  EXPECT_EQ(GuidText(lib.libid), "{D3ED6F85-6413-466D-B761-172455D91B79}");
  EXPECT_EQ(lib.major, 1);
  EXPECT_EQ(lib.minor, 0);
  ASSERT_EQ(lib.classes.size(), kVariantCount);
  const ClassInfo* c = lib.FindClass("ZORFP.ZOR_05_03");
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(GuidText(c->clsid), "{83F413D9-5053-4017-9C09-A60CC2F99F64}");
  EXPECT_EQ(GuidText(c->iface->iid), "{018F97CC-375E-489E-AE71-6A5B467B117E}");
  EXPECT_STREQ(c->help, "ZOR_05_03 Object");
  EXPECT_STREQ(c->iface->help, "Dispatch interface for ZOR_05_03 Object");
  EXPECT_EQ(lib.FindClass(c->clsid), c);
  EXPECT_EQ(lib.FindClass("tzor_05_03"), c);
  EXPECT_EQ(lib.FindClass("05-03"), c);
  EXPECT_EQ(lib.FindClass("ZORFP.NOPE"), nullptr);
  for (const VariantTraits* t : ClassOrder()) {
    const ClassInfo& k = lib.Class(t->id);
    EXPECT_STREQ(k.coclass, t->coclass);
    EXPECT_STREQ(k.tag, t->tag);
  }
}

TEST(Catalogue, Enumerations) {
  const LibraryInfo& lib = Catalogue();
  ASSERT_EQ(lib.enums.size(), 6u);
  const MemberInfo* result = Of("ZOR_EP_02").Find("GetByteResult");
  ASSERT_EQ(result->type.type, AutoType::kEnum);
  const EnumInfo& codes = *result->type.enumeration;
  EXPECT_STREQ(codes.name, "EErrorCode");
  ASSERT_EQ(codes.values.size(), 52u);
  EXPECT_STREQ(codes.values.front().name, "eecNoError");
  EXPECT_STREQ(codes.values.back().name, "eecErrorTaxValue");
  EXPECT_EQ(codes.values.back().value, 113);
  const EnumInfo& tax = *Of("ZOR_EP_02").Find("FPSale")->params[4].type.enumeration;
  EXPECT_STREQ(tax.name, "ETaxGroup");
  EXPECT_EQ(tax.values.size(), 6u);
}

}  // namespace
}  // namespace zorfp::server
