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
#include "platform/unique_any_win32.h"

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
  // Machine-wide registration (HKEY_CLASSES_ROOT, the type library for every user).
  HRESULT RegisterServer() noexcept;
  HRESULT UnregisterServer() noexcept;
  // DllInstall: "user" registers or unregisters for the current user alone (the user's
  // Software\Classes, no administrator rights needed); an empty command line machine-wide.
  HRESULT Install(bool install, const wchar_t* commandLine) noexcept;

  // Where the classes are written: HKEY_CLASSES_ROOT, or the user's classes during a per-user
  // registration.
  HKEY ClassesRoot() const noexcept { return userClasses_ ? userClasses_.Get() : HKEY_CLASSES_ROOT; }
  bool RegisteringPerUser() const noexcept { return static_cast<bool>(userClasses_); }

  // References held on the factories from outside.
  void FactoryReferenced() noexcept { ++factoryRefs_; }
  void FactoryReleased() noexcept { --factoryRefs_; }

 private:
  ComServer() = default;
  std::vector<AutomationFactory*> Factories() const;
  void Register();
  void Unregister();

  mutable std::shared_mutex lock_;
  std::vector<std::unique_ptr<AutomationFactory>> factories_;  // head first
  com::ComPtr<ITypeLib> typeLib_;
  std::atomic<long> factoryRefs_{0};
  platform::UniqueHkey userClasses_;  // open only while registering per user
};

}  // namespace qor::framework
