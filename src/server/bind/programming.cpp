// Bindings of the programming members: cashiers and passwords, the fiscal number, the header and
// its held lines (05-02, 05-03), the advertising lines, the service settings and the payment-form
// names (EP-06).
#include "commands/programming.h"
#include "commands/status.h"
#include "server/binding_forms.h"

namespace zorfp {
namespace {

using server::Bind;
using server::BindLocal;
using server::BindPut;
using server::Family;
using server::QueryField;
using server::QueryFields;

// The held header lines are kept as the printer will receive them and shown back as they were set.
template <int I>
AnsiString HeadLine(Driver& d) {
  const bool cp866 = d.module().settings.CP866;
  return ClientTextOut(OemToAnsiText(HeldHeader(d).HeadLine[I]), cp866);
}
template <int I>
void PutHeadLine(Driver& d, const AnsiString& value) {
  HeldHeader(d).HeadLine[I] = PrinterTextOut(value, d.module().settings.CP866);
}
AnsiString RegCode(Driver& d) {
  return ClientTextOut(OemToAnsiText(HeldHeader(d).RegCode), d.module().settings.CP866);
}
void PutRegCode(Driver& d, const AnsiString& value) {
  HeldHeader(d).RegCode = PrinterTextOut(value, d.module().settings.CP866);
}
template <int I>
void PutDoubleWidth(Driver& d, bool value) {
  HeldHeader(d).DoubleWidth[I] = value;
}
template <int I>
void PutDoubleHeight(Driver& d, bool value) {
  HeldHeader(d).DoubleHeight[I] = value;
}

using NewerPassword = bool(std::uint16_t, std::uint16_t, Byte, const AnsiString&);
using OlderPassword = bool(std::uint16_t, std::uint16_t, Byte);
using NewerCashier = bool(Byte, const AnsiString&, std::uint16_t, bool);
using OlderCashier = bool(Byte, const AnsiString&, std::uint16_t);
using NewerHeadLine = bool(std::uint16_t, const AnsiString&, bool, bool, const AnsiString&, bool, bool,
                           const AnsiString&, bool, bool, const AnsiString&, bool);
using OlderHeadLine = bool(std::uint16_t, const AnsiString&, const AnsiString&, const AnsiString&,
                           const AnsiString&);

const server::Bindings kCashierBindings{
    Bind<NewerPassword>(&FPSetPassword, "FPSetPassword"),
    Bind<OlderPassword>(&FPSetPassword, "FPSetPassword"),
    Bind<NewerCashier>(&FPSetCashier, "FPSetCashier"),
    Bind<OlderCashier>(&FPSetCashier, "FPSetCashier"),
    QueryFields<&ReadPasswords, &PasswordTable::Cashier>(Family("GetPasswordCashier", 1, 8)),
    QueryField<&ReadPasswords, &PasswordTable::Prog>("GetPasswordProg"),
    QueryField<&ReadPasswords, &PasswordTable::Reports>("GetPasswordReports"),
};

const server::Bindings kHeaderBindings{
    Bind(&FPSetFiscalNumber, "FPSetFiscalNumber"),
    Bind(&FPFiscalization, "FPFiscalization"),
    Bind<NewerHeadLine>(&FPSetHeadLine, "FPSetHeadLine"),
    Bind<OlderHeadLine>(&FPSetHeadLine, "FPSetHeadLine"),
    Bind(&FPSetHeader, "FPSetHeader"),
    QueryField<&ReadStatus, &StatusBlock::HeadLine1>("GetHeadString1"),
    QueryField<&ReadStatus, &StatusBlock::HeadLine2>("GetHeadString2"),
    QueryField<&ReadStatus, &StatusBlock::HeadLine3>("GetHeadString3"),
    QueryField<&ReadStatus, &StatusBlock::RegCode>("GetHeadString4"),
    BindLocal(&HeadLine<0>, "HeadLine1"),
    BindPut(&PutHeadLine<0>, "HeadLine1"),
    BindLocal(&HeadLine<1>, "HeadLine2"),
    BindPut(&PutHeadLine<1>, "HeadLine2"),
    BindLocal(&HeadLine<2>, "HeadLine3"),
    BindPut(&PutHeadLine<2>, "HeadLine3"),
    BindLocal(&RegCode, "RegCode"),
    BindPut(&PutRegCode, "RegCode"),
    BindPut(&PutDoubleWidth<0>, "DWHeadLine1"),
    BindPut(&PutDoubleWidth<1>, "DWHeadLine2"),
    BindPut(&PutDoubleWidth<2>, "DWHeadLine3"),
    BindPut(&PutDoubleHeight<0>, "DHHeadLine1"),
    BindPut(&PutDoubleHeight<1>, "DHHeadLine2"),
    BindPut(&PutDoubleHeight<2>, "DHHeadLine3"),
    Bind(&FPSetInitialLines, "FPSetInitialLines"),
    Bind(&FPSetFinalLines, "FPSetFinalLines"),
    Bind(&FPSetHeaderLineAdd1, "FPSetHeaderLineAdd1"),
    Bind(&FPSetHeaderLineAdd2, "FPSetHeaderLineAdd2"),
};

const server::Bindings kServiceBindings{
    Bind(&FPEnableLogo, "FPEnableLogo"),
    Bind(&FPDisableLogo, "FPDisableLogo"),
    Bind(&FPLineSP, "FPLineSP"),
    Bind(&FPSetContrast, "FPSetContrast"),
    Bind(&FPSetFormat, "FPSetFormat"),
    Bind(&FPSqueeze, "FPSqueeze"),
    Bind(&FPPrintEAN13, "FPPrintEAN13"),
    BindLocal(&PrintEAN13, "PrintEAN13"),
    BindPut(&PutPrintEAN13, "PrintEAN13"),
    Bind(&FPSetPayName, "FPSetPayName"),
    Bind(&FPGetPayName, "FPGetPayName"),
    BindLocal(&GetPayName, "GetPayName"),
};

}  // namespace
}  // namespace zorfp
