#pragma once

// The library's COM server: its type library, its class factories and the four entry points'
// work. Factories are added while the library loads, each at the head of the list; every walk
// starts at the head.

#include <oaidl.h>

#include <atomic>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

#include "com/com_ptr.h"

namespace qor::framework {

class AutomationFactory;

class ComServer {
 public:
  static ComServer& Instance();

  // Takes the factory over; the server keeps it until the library unloads.
  AutomationFactory& AddFactory(std::unique_ptr<AutomationFactory> factory);

  // The type library carried by this module, loaded on first need.
  ITypeLib& TypeLib();
  // The type library's name: the first part of every ProgID.
  std::wstring ServerName();
  std::wstring ServerFileName() const;

  HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object) noexcept;
  HRESULT CanUnloadNow() noexcept;
  HRESULT RegisterServer() noexcept;
  HRESULT UnregisterServer() noexcept;

  // References held on the factories from outside.
  void FactoryReferenced() noexcept { ++factoryRefs_; }
  void FactoryReleased() noexcept { --factoryRefs_; }

 private:
  ComServer() = default;
  std::vector<AutomationFactory*> Factories() const;

  mutable std::shared_mutex lock_;
  std::vector<std::unique_ptr<AutomationFactory>> factories_;  // head first
  com::ComPtr<ITypeLib> typeLib_;
  std::atomic<long> factoryRefs_{0};
};

}  // namespace qor::framework
