#pragma once

#include "com/com_init.h"
#include "com/com_object.h"

#include <oaidl.h>

#include <gtest/gtest.h>

#include <cstdint>

// An event dispinterface of our own, answered through IDispatch as Outlook's are.
struct DTestEvents;
__CRT_UUID_DECL(DTestEvents, 0x5c1a07e2, 0x3f4b, 0x4c8e, 0x9a, 0x61, 0x2d, 0x7e, 0x40, 0x11, 0xb3, 0x95)

namespace qor::com::testing {

// The count an object reports, read as Wine's tests read it: one AddRef, one Release.
template <class T>
ULONG RefCount(T* object) {
  object->AddRef();
  return object->Release();
}
#define EXPECT_REF(object, expected) EXPECT_EQ(::qor::com::testing::RefCount(object), static_cast<ULONG>(expected))

// Out-parameters are filled with this first, so that a method that forgets one is caught.
template <class T>
T* Junk() {
  return reinterpret_cast<T*>(static_cast<std::uintptr_t>(0xdeadbeef));
}
inline VARIANT JunkVariant() {
  VARIANT junk;
  junk.vt = 0xbeef;
  junk.bstrVal = Junk<OLECHAR>();
  return junk;
}

// Each case runs in its own single-threaded apartment and must leave no object alive.
class ComTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(ComObjectsAlive(), 0) << "COM objects leaked";
    EXPECT_EQ(ModuleLockCount(), 0);
  }

 private:
  ComInit init_;
};

}  // namespace qor::com::testing
