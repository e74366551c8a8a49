// The COM-shaped server: class objects in the server's order, creation, interfaces offered, and
// the reference counts behind the unload answer.
#include "server/com_object.h"

#include <gtest/gtest.h>

#include "server/value.h"
#include "variants/traits.h"

namespace zorfp::server {
namespace {

IClassFactory* Factory(const char* coclass) {
  IClassFactory* f = nullptr;
  EXPECT_EQ(
      GetClassObject(Catalogue().FindClass(coclass)->clsid, IID_IClassFactory, reinterpret_cast<void**>(&f)),
      S_OK);
  return f;
}

TEST(ClassObjects, OneForEachClassAndNoneForOthers) {
  for (const VariantTraits* t : ClassOrder()) {
    IUnknown* unknown = nullptr;
    ASSERT_EQ(
        GetClassObject(Catalogue().Class(t->id).clsid, IID_IUnknown, reinterpret_cast<void**>(&unknown)),
        S_OK);
    unknown->lpVtbl->Release(unknown);
  }
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(GetClassObject(Catalogue().libid, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(GetClassObject(Catalogue().Class(VariantId::k05_03).clsid, IID_IDispatch, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(GetClassObject(Catalogue().Class(VariantId::k05_03).clsid, IID_IClassFactory, nullptr),
            E_POINTER);
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST(ClassObjects, CreateObjectsOfTheirClass) {
  IClassFactory* f = Factory("ZOR_EP_01");
  IUnknown outer{};
  void* out = nullptr;
  EXPECT_EQ(f->lpVtbl->CreateInstance(f, &outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  ASSERT_EQ(f->lpVtbl->CreateInstance(f, nullptr, IID_IDispatch, &out), S_OK);
  IDispatch* d = static_cast<IDispatch*>(out);
  EXPECT_STREQ(DriverObject::From(d)->cls().coclass, "ZOR_EP_01");
  EXPECT_EQ(d->lpVtbl->Release(d), 0u);
  EXPECT_EQ(f->lpVtbl->CreateInstance(f, nullptr, Catalogue().Class(VariantId::kEP_01).iface->iid, &out),
            E_NOINTERFACE);
  EXPECT_EQ(LiveObjects(), 0);
  f->lpVtbl->Release(f);
}

TEST(ClassObjects, UnloadWaitsForObjectsReferencesAndLocks) {
  EXPECT_EQ(CanUnloadNow(), S_OK);
  IClassFactory* f = Factory("ZOR_05_03");
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // a client holds the class object

  IDispatch* d = nullptr;
  ASSERT_EQ(f->lpVtbl->CreateInstance(f, nullptr, IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
  EXPECT_EQ(f->lpVtbl->LockServer(f, 1), S_OK);
  f->lpVtbl->Release(f);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // locked, and an object lives
  EXPECT_EQ(f->lpVtbl->LockServer(f, 0), S_OK);
  EXPECT_EQ(CanUnloadNow(), S_FALSE);  // the object still lives

  EXPECT_EQ(d->lpVtbl->AddRef(d), 2u);
  IUnknown* unknown = nullptr;
  ASSERT_EQ(d->lpVtbl->QueryInterface(d, IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(static_cast<void*>(unknown), static_cast<void*>(d));
  EXPECT_EQ(unknown->lpVtbl->Release(unknown), 2u);
  EXPECT_EQ(d->lpVtbl->Release(d), 1u);
  EXPECT_EQ(LiveObjects(), 1);
  EXPECT_EQ(d->lpVtbl->Release(d), 0u);
  EXPECT_EQ(LiveObjects(), 0);
  EXPECT_EQ(CanUnloadNow(), S_OK);
}

TEST(DriverObjects, DispatchThroughTheFunctionTable) {
  IClassFactory* f = Factory("ZOR_EP_02");
  IDispatch* d = nullptr;
  ASSERT_EQ(f->lpVtbl->CreateInstance(f, nullptr, IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
  f->lpVtbl->Release(f);

  UINT count = 9;
  EXPECT_EQ(d->lpVtbl->GetTypeInfoCount(d, &count), S_OK);
  EXPECT_EQ(count, 0u);
  OLECHAR name[] = u"repeatcount";
  LPOLESTR names[] = {name};
  DISPID id = 0;
  EXPECT_EQ(d->lpVtbl->GetIDsOfNames(d, IID_IDispatch, names, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
  ASSERT_EQ(d->lpVtbl->GetIDsOfNames(d, IID_NULL, names, 1, 0, &id), S_OK);

  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none{};
  ASSERT_EQ(d->lpVtbl->Invoke(d, id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_UI1);
  EXPECT_EQ(result.bVal, 2);  // the initial retry count
  EXPECT_EQ(d->lpVtbl->Release(d), 0u);
}

// The failure's message is collected for the thread's error object (where the platform has one)
// even when the caller passes no EXCEPINFO; no other interface is offered on this platform.
TEST(DriverObjects, AFailureWithoutExcepinfoAndNoErrorInfoInterface) {
  IClassFactory* f = Factory("ZOR_05_03");
  IDispatch* d = nullptr;
  ASSERT_EQ(f->lpVtbl->CreateInstance(f, nullptr, IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
  f->lpVtbl->Release(f);

  const IID support_error_info = {
      0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
  void* out = d;
  EXPECT_EQ(d->lpVtbl->QueryInterface(d, support_error_info, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  ITypeInfo* info = nullptr;
  EXPECT_EQ(d->lpVtbl->GetTypeInfo(d, 1, 0, &info), DISP_E_BADINDEX);

  const BoundMember* unbuilt = nullptr;
  for (const BoundMember& m : DriverObject::From(d)->dispatcher().members()) {
    if (!m.call && m.info->kind == MemberKind::kMethod && m.info->params.empty()) unbuilt = &m;
  }
  if (unbuilt) {
    DISPPARAMS none{};
    VARIANT result;
    EXPECT_EQ(d->lpVtbl->Invoke(d, unbuilt->info->dispid, IID_NULL, 0, DISPATCH_METHOD, &none, &result,
                                nullptr, nullptr),
              DISP_E_EXCEPTION);
  }
  EXPECT_EQ(d->lpVtbl->Release(d), 0u);
}

}  // namespace
}  // namespace zorfp::server
