#include "com/com_object.h"
#include "com/dispatch_impl.h"

#include "com_test_support.h"

#include <stdexcept>

namespace qor::com {
namespace {

using testing::ComTest;
using testing::Junk;

class Probe final : public ComObject<Probe, DispatchImpl<Probe>, IPersist> {
 public:
  static const DispatchTable<Probe>& DispatchMembers() {
    static const DispatchTable<Probe> table;
    return table;
  }
  bool ExtraInterface(REFIID iid) const noexcept { return iid == __uuidof(DTestEvents); }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) noexcept override {
    if (id == nullptr) return E_POINTER;
    *id = CLSID_NULL;
    return S_OK;
  }
};

class Stream final : public ComObject<Stream, InterfaceWithBases<IPersistStream, IPersist>> {
 public:
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(IStream*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) noexcept override { return E_NOTIMPL; }
};

class ThrowsOnConstruction final : public ComObject<ThrowsOnConstruction, IPersist> {
 public:
  ThrowsOnConstruction() { throw std::runtime_error("no"); }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) noexcept override { return E_NOTIMPL; }
};

IUnknown* IdentityOf(IUnknown* object) {
  IUnknown* identity = nullptr;
  EXPECT_EQ(object->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity)), S_OK);
  identity->Release();
  return identity;
}

using ComObjectTest = ComTest;

TEST_F(ComObjectTest, QueryInterface_AnswersTheListOnceIdentityAndClearsOutOnFailure) {
  const ComPtr<Probe> probe = Make<Probe>();
  EXPECT_REF(probe.Get(), 1);
  EXPECT_EQ(ComObjectsAlive(), 1);
  EXPECT_EQ(ModuleLockCount(), 1);

  const auto dispatch = probe.As<IDispatch>();
  const auto persist = probe.As<IPersist>();
  EXPECT_REF(probe.Get(), 3);
  EXPECT_EQ(IdentityOf(dispatch.Get()), IdentityOf(persist.Get()));

  void* events = Junk<void>();
  ASSERT_EQ(probe->QueryInterface(__uuidof(DTestEvents), &events), S_OK);
  EXPECT_EQ(events, static_cast<void*>(dispatch.Get()));
  static_cast<IUnknown*>(events)->Release();

  void* factory = Junk<void>();
  EXPECT_EQ(probe->QueryInterface(__uuidof(IClassFactory), &factory), E_NOINTERFACE);
  EXPECT_EQ(factory, nullptr);
  EXPECT_EQ(persist->QueryInterface(__uuidof(IDispatch), nullptr), E_POINTER);
  EXPECT_REF(probe.Get(), 3);

  // An interface listed once answers for its bases too.
  const ComPtr<Stream> stream = Make<Stream>();
  EXPECT_EQ(stream.As<IPersist>().Get(), static_cast<IPersist*>(stream.Get()));
  EXPECT_TRUE(stream.TryAs<IPersistStream>());
  EXPECT_FALSE(stream.TryAs<IDispatch>());
}

TEST_F(ComObjectTest, Make_ConstructorThatThrowsLeavesNothingAliveAndModuleLocksCount) {
  EXPECT_THROW(Make<ThrowsOnConstruction>(), std::runtime_error);
  EXPECT_EQ(ComObjectsAlive(), 0);
  ModuleLock();
  {
    const auto probe = Make<Probe>();
    EXPECT_EQ(ModuleLockCount(), 2);
  }
  EXPECT_EQ(ModuleLockCount(), 1);
  ModuleUnlock();
}

using ComPtrTest = ComTest;

TEST_F(ComPtrTest, OwnershipIsStatedAndReferencesBalance) {
  ComPtr<Probe> probe = Make<Probe>();
  IPersist* raw = probe.Get();

  ComPtr<IPersist> copied;
  copied.CopyFrom(raw);
  EXPECT_REF(raw, 2);
  ComPtr<IPersist> adopted;
  raw->AddRef();
  adopted.Attach(raw);
  EXPECT_REF(raw, 3);
  adopted.Detach()->Release();
  EXPECT_FALSE(adopted);

  ComPtr<IPersist> second = copied;
  EXPECT_REF(raw, 3);
  ComPtr<IPersist> moved = std::move(second);
  EXPECT_FALSE(second);
  EXPECT_REF(raw, 3);
  moved = moved;
  EXPECT_REF(raw, 3);
  EXPECT_TRUE(moved == probe);
  EXPECT_TRUE(moved == copied);
  EXPECT_TRUE(adopted == nullptr);

  // Put and PutVoid give up what they hold before handing out the slot.
  EXPECT_EQ(*moved.Put(), nullptr);
  EXPECT_REF(raw, 2);
  EXPECT_EQ(*copied.PutVoid(), nullptr);
  EXPECT_REF(raw, 1);

  ComPtr<IUnknown> upcast = probe.As<IDispatch>();
  EXPECT_REF(raw, 2);
  upcast.Reset();
  EXPECT_REF(raw, 1);
}

TEST_F(ComPtrTest, AsThrowsNoInterfaceAndTryAsReturnsNull) {
  const ComPtr<IPersist> persist = Make<Probe>().As<IPersist>();
  try {
    persist.As<IClassFactory>();
    ADD_FAILURE() << "As did not throw";
  } catch (const ComError& error) {
    EXPECT_EQ(error.Code(), E_NOINTERFACE);
  }
  EXPECT_FALSE(persist.TryAs<IClassFactory>());
  EXPECT_TRUE(persist.TryAs<IDispatch>());
  EXPECT_FALSE(ComPtr<IPersist>().TryAs<IDispatch>());
  EXPECT_REF(persist.Get(), 1);
}

}  // namespace
}  // namespace qor::com
