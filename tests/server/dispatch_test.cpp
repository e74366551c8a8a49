// Late binding through Invoke: names, access flags, argument count and conversion failures,
// members that are not built or that throw, and the module-wide sharing clients see.
#include "server/dispatch.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "variants/traits.h"

namespace zorfp::server {
namespace {

// Arguments are given in reading order and stored last first, as DISPPARAMS holds them.
class Call {
 public:
  Call& Int(std::int32_t x) {
    return Push(VT_I4, [&](VARIANT& v) { v.lVal = x; });
  }
  Call& Bool(bool x) {
    return Push(VT_BOOL, [&](VARIANT& v) { v.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE; });
  }
  Call& Str(const char* s) {
    return Push(VT_BSTR, [&](VARIANT& v) { v.bstrVal = Utf8ToBstr(s); });
  }
  Call& Named(DISPID id) { return named_.insert(named_.begin(), id), *this; }
  ~Call() {
    for (VARIANT& v : args_) VariantClear(&v);
    VariantClear(&result);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
  }

  HRESULT Invoke(const Dispatcher& disp, Driver& d, const char* member, WORD flags) {
    const std::optional<DISPID> id = disp.Find(member);
    if (!id) return DISP_E_UNKNOWNNAME;
    return Invoke(disp, d, *id, flags);
  }
  HRESULT Invoke(const Dispatcher& disp, Driver& d, DISPID id, WORD flags) {
    DISPPARAMS p{args_.data(), named_.data(), static_cast<UINT>(args_.size()),
                 static_cast<UINT>(named_.size())};
    VariantClear(&result);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    excep = EXCEPINFO{};
    return disp.Invoke(d, id, flags, &p, &result, &excep, &arg_err);
  }

  VARIANT result{};
  EXCEPINFO excep{};
  UINT arg_err = 99;

 private:
  template <typename F>
  Call& Push(VARTYPE vt, F fill) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    fill(v);
    args_.insert(args_.begin(), v);
    return *this;
  }
  std::vector<VARIANT> args_;
  std::vector<DISPID> named_;
};

constexpr WORD kRead = DISPATCH_METHOD | DISPATCH_PROPERTYGET;  // what a script sends for `x = o.Name`

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetModuleForTesting(); }
  void TearDown() override { ResetModuleForTesting(); }
  static const Dispatcher& Of(VariantId id) { return Dispatcher::For(id); }

  Driver ep02_{Traits(VariantId::kEP_02)};
  Driver ep02_other_{Traits(VariantId::kEP_02)};
  Driver ep01_{Traits(VariantId::kEP_01)};
  Driver z0503_{Traits(VariantId::k05_03)};
};

TEST_F(DispatchTest, NamesBindCaseInsensitivelyWithOneIdPerProperty) {
  const Dispatcher& d = Of(VariantId::k05_03);
  OLECHAR name1[] = u"fpchangebaudrate";
  OLECHAR name2[] = u"usb";
  OLECHAR name3[] = u"SPEEDINDEX";
  LPOLESTR names[] = {name1, name2, name3};
  DISPID ids[3];
  ASSERT_EQ(d.GetIDsOfNames(names, 3, ids), S_OK);
  EXPECT_EQ(ids[0], *d.Find("FPChangeBaudRate"));
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);

  OLECHAR unknown[] = u"FPChangeBaudRat";
  LPOLESTR bad[] = {unknown};
  EXPECT_EQ(d.GetIDsOfNames(bad, 1, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  OLECHAR param_unknown[] = u"Speed";
  LPOLESTR bad_param[] = {name1, param_unknown};
  EXPECT_EQ(d.GetIDsOfNames(bad_param, 2, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  // No fallback to another class's members.
  EXPECT_EQ(Of(VariantId::kEP_01).Find("GetTextErrorMessage"), std::nullopt);
  EXPECT_EQ(Of(VariantId::k08_01).Find("LogRecord"), std::nullopt);
}

TEST_F(DispatchTest, AutomationFailures) {
  const Dispatcher& d = Of(VariantId::kEP_02);
  const struct {
    const char* what;
    DISPID id;  // 0: by name
    const char* member;
    WORD flags;
    std::vector<int> ints;
    HRESULT hr;
    UINT arg_err = 99;
  } kCases[] = {
      {"too few arguments", 0, "FPChangeBaudRate", DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT},
      {"too many arguments", 0, "FPChangeBaudRate", DISPATCH_METHOD, {1, 2}, DISP_E_BADPARAMCOUNT},
      {"argument out of its type's range", 0, "FPChangeBaudRate", DISPATCH_METHOD, {256}, DISP_E_OVERFLOW, 0},
      {"second of four arguments fails", 0, "FPInit", DISPATCH_METHOD, {1, -1, 1, 1}, DISP_E_OVERFLOW, 2},
      {"unknown identifier", 9999, "", DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
      {"identifier 0", -2, "", DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
      {"method called as a write", 0, "FPClose", DISPATCH_PROPERTYPUT, {1}, DISP_E_MEMBERNOTFOUND},
      {"write to a read-only property", 0, "GetByteResult", DISPATCH_PROPERTYPUT, {1}, DISP_E_MEMBERNOTFOUND},
      {"a property read as a method only", 0, "GetByteResult", DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
      {"read of a plain property with an index",
       0,
       "GetByteResult",
       DISPATCH_PROPERTYGET,
       {1},
       DISP_E_BADPARAMCOUNT},
      {"write without a value", 0, "Lang", DISPATCH_PROPERTYPUT, {}, DISP_E_BADPARAMCOUNT},
  };
  for (const auto& c : kCases) {
    Call call;
    for (int x : c.ints) call.Int(x);
    const HRESULT hr = c.id == 0 ? call.Invoke(d, ep02_, c.member, c.flags)
                                 : call.Invoke(d, ep02_, c.id == -2 ? 0 : c.id, c.flags);
    EXPECT_EQ(hr, c.hr) << c.what;
    EXPECT_EQ(call.arg_err, c.arg_err) << c.what;
  }
  Call text;
  text.Str("fast");
  EXPECT_EQ(text.Invoke(d, ep02_, "FPChangeBaudRate", DISPATCH_METHOD), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(text.arg_err, 0u);
}

TEST_F(DispatchTest, OlderFamilyCallResultsAreMethods) {
  Call call;
  EXPECT_EQ(call.Invoke(Of(VariantId::kEP_01), ep01_, "GetByteResult", DISPATCH_PROPERTYGET),
            DISP_E_MEMBERNOTFOUND);
  ASSERT_EQ(call.Invoke(Of(VariantId::kEP_01), ep01_, "GetByteResult", DISPATCH_METHOD), S_OK);
  EXPECT_EQ(call.result.vt, VT_UI1);
  ASSERT_EQ(call.Invoke(Of(VariantId::kEP_02), ep02_, "GetByteResult", DISPATCH_PROPERTYGET), S_OK);
  EXPECT_EQ(call.result.vt, VT_I4);  // EErrorCode
}

TEST_F(DispatchTest, ArgumentsConvertAndTheDriverReportsThroughCallResults) {
  Call change;
  change.Str("3").Bool(true);  // the index as text: converted, then refused by the driver
  ASSERT_EQ(change.Invoke(Of(VariantId::k05_03), z0503_, "FPChangeBaudRate", DISPATCH_METHOD), S_OK);
  EXPECT_EQ(change.result.vt, VT_BOOL);
  EXPECT_EQ(change.result.boolVal, VARIANT_FALSE);

  Call result, status, text;
  ASSERT_EQ(result.Invoke(Of(VariantId::k05_03), z0503_, "GetByteResult", kRead), S_OK);
  EXPECT_EQ(result.result.lVal, 111);
  ASSERT_EQ(status.Invoke(Of(VariantId::k05_03), z0503_, "getbytestatus", kRead), S_OK);
  EXPECT_EQ(status.result.lVal, 255);
  ASSERT_EQ(text.Invoke(Of(VariantId::k05_03), z0503_, "GetTextErrorMessage", kRead), S_OK);
  ASSERT_EQ(text.result.vt, VT_BSTR);
  EXPECT_EQ(BstrToUtf8(text.result.bstrVal), "Неверно задана скорость связи!");
}

TEST_F(DispatchTest, NamedArgumentsGoToTheirParameters) {
  Call call;
  call.Bool(false).Int(7);  // USB:=false, SpeedIndex:=7
  call.Named(1).Named(0);
  // rgvarg[0] is the last pushed (SpeedIndex 7) and named 0; rgvarg[1] is USB, named 1.
  ASSERT_EQ(call.Invoke(Of(VariantId::k05_03), z0503_, "FPChangeBaudRate", DISPATCH_METHOD), S_OK);
  Call result;
  ASSERT_EQ(result.Invoke(Of(VariantId::k05_03), z0503_, "GetByteResult", kRead), S_OK);
  EXPECT_EQ(result.result.lVal, 111);  // index 7 refused: it went to SpeedIndex
}

TEST_F(DispatchTest, LangIsPerClassAndRepeatCountIsShared) {
  const Dispatcher& ep02 = Of(VariantId::kEP_02);
  const Dispatcher& z0503 = Of(VariantId::k05_03);
  Call write;
  write.Int(0).Named(DISPID_PROPERTYPUT);
  ASSERT_EQ(write.Invoke(ep02, ep02_, "Lang", DISPATCH_PROPERTYPUT), S_OK);
  Call read;
  ASSERT_EQ(read.Invoke(ep02, ep02_other_, "Lang", kRead), S_OK);
  EXPECT_EQ(read.result.vt, VT_UI1);
  EXPECT_EQ(read.result.bVal, 0);
  ASSERT_EQ(read.Invoke(z0503, z0503_, "Lang", kRead), S_OK);
  EXPECT_EQ(read.result.bVal, 1);

  Call repeat;
  repeat.Int(5);  // a write whose value is not named
  ASSERT_EQ(repeat.Invoke(ep02, ep02_, "RepeatCount", DISPATCH_PROPERTYPUT), S_OK);
  for (auto [id, driver] : {std::pair{VariantId::k05_03, &z0503_}, std::pair{VariantId::kEP_01, &ep01_}}) {
    ASSERT_EQ(read.Invoke(Of(id), *driver, "RepeatCount", kRead), S_OK);
    EXPECT_EQ(read.result.bVal, 5);
  }
  // The driver's texts follow Lang: English on EP-02 now, Russian on 05-03.
  Call change;
  change.Int(3);
  ASSERT_EQ(change.Invoke(ep02, ep02_, "FPChangeBaudRate", DISPATCH_METHOD), S_OK);
  ASSERT_EQ(read.Invoke(ep02, ep02_other_, "GetTextErrorMessage", kRead), S_OK);
  EXPECT_EQ(BstrToUtf8(read.result.bstrVal), "Incorrect baud rate!");
}

// A dispatcher for `id` whose member `name` is bound to `binding` instead (null: not built).
struct Rebound {
  Rebound(VariantId id, const char* name, const Binding* b)
      : cls(Catalogue().Class(id)),
        members(BoundMembers(*cls.iface).begin(), BoundMembers(*cls.iface).end()),
        dispid(cls.iface->Find(name)->dispid) {
    members[static_cast<std::size_t>(dispid) - 1].call = b;
  }
  const ClassInfo& cls;
  std::vector<BoundMember> members;
  DISPID dispid;
  Dispatcher dispatcher{cls, members};
};

// Every member of the catalogue is built; a build without one (a binding taken out) answers so.
TEST_F(DispatchTest, MemberNotBuiltAnswersNotImplemented) {
  const Rebound r(VariantId::kEP_02, "FPLineFeed", nullptr);
  Call call;
  ASSERT_EQ(call.Invoke(r.dispatcher, ep02_, r.dispid, DISPATCH_METHOD), DISP_E_EXCEPTION);
  EXPECT_EQ(call.excep.scode, E_NOTIMPL);
  EXPECT_EQ(BstrToUtf8(call.excep.bstrDescription), "FPLineFeed is not implemented in this build");
  EXPECT_EQ(BstrToUtf8(call.excep.bstrSource), "ZORFP.ZOR_EP_02");
  // The arguments are checked first, as the type information would.
  Call extra;
  extra.Int(1);
  EXPECT_EQ(extra.Invoke(r.dispatcher, ep02_, r.dispid, DISPATCH_METHOD), DISP_E_BADPARAMCOUNT);
}

bool Throws(Driver&, Byte) {
  throw std::runtime_error("'x' is not a valid integer value");
}

TEST_F(DispatchTest, AnExceptionInsideAMemberBecomesAFailureWithItsMessage) {
  const Binding throwing = Bind(&Throws, "FPChangeBaudRate");
  const Rebound r(VariantId::kEP_02, "FPChangeBaudRate", &throwing);
  Call call;
  call.Int(1);
  ASSERT_EQ(call.Invoke(r.dispatcher, ep02_, r.dispid, DISPATCH_METHOD), DISP_E_EXCEPTION);
  EXPECT_EQ(BstrToUtf8(call.excep.bstrDescription), "'x' is not a valid integer value");
  EXPECT_EQ(call.excep.scode, E_FAIL);
  EXPECT_EQ(call.result.vt, VT_EMPTY);
}

bool Succeeds(Driver&, const AnsiString&, bool) { return true; }

// One implementation serves both families; the older interface's method returns nothing.
TEST_F(DispatchTest, AnOlderMethodDropsTheSuccessFlag) {
  const Binding comment = Bind(&Succeeds, "FPComment");
  const struct {
    VariantId id;
    VARTYPE vt;
  } cases[] = {{VariantId::kEP_01, VT_EMPTY}, {VariantId::kEP_02, VT_BOOL}};
  for (const auto& c : cases) {
    const Rebound r(c.id, "FPComment", &comment);
    Driver d(Traits(c.id));
    Call call;
    call.Str("x");
    call.Bool(false);
    ASSERT_EQ(call.Invoke(r.dispatcher, d, r.dispid, DISPATCH_METHOD), S_OK);
    EXPECT_EQ(call.result.vt, c.vt);
  }
}

std::int32_t g_payment_form = -1;
bool RecordPayment(Driver&, std::int32_t form, std::uint32_t, bool, bool) {
  g_payment_form = form;
  return true;
}

TEST_F(DispatchTest, AnEnumerationArgumentTakesANumberOrItsEnumeratorsName) {
  const Binding record = Bind(&RecordPayment, "FPPayment");
  const Rebound r(VariantId::kEP_02, "FPPayment", &record);
  const struct {
    const char* form;  // null: the number 9
    HRESULT hr;
    std::int32_t value;
  } kCases[] = {
      {nullptr, S_OK, 9},
      {"eptCashPayment", S_OK, 3},
      {"EPTCARDPAYMENT", S_OK, 0},
      {"4", S_OK, 4},
      {"cash", DISP_E_TYPEMISMATCH, -1},
      {"etgTax_B", DISP_E_TYPEMISMATCH, -1},  // another enumeration's name
  };
  for (const auto& c : kCases) {
    g_payment_form = -1;
    Call call;
    c.form ? call.Str(c.form) : call.Int(9);
    call.Int(100).Bool(true).Bool(false);
    EXPECT_EQ(call.Invoke(r.dispatcher, ep02_, r.dispid, DISPATCH_METHOD), c.hr) << (c.form ? c.form : "9");
    EXPECT_EQ(g_payment_form, c.value) << (c.form ? c.form : "9");
  }
}

}  // namespace
}  // namespace zorfp::server
