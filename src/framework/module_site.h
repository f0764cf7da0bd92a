#pragma once

// ModuleSite: what the parts of an add-in module (its bars and items, their event sinks, the
// command-bar installer and the host-event objects) need of the module that owns them. The parts
// depend on this, not on the module, so the module can own them without a cycle.

#include <oaidl.h>

#include <cstdint>
#include <exception>
#include <string>

#include "com/com_ptr.h"
#include "framework/adx_types.h"

namespace qor::framework {

class CommandBarInstaller;
class OutlookApplication;
class TadxEventSink;

class ModuleSite {
 public:
  // The connected host, as host detection and the ribbon requests found it.
  virtual const com::ComPtr<IDispatch>& HostApp() const noexcept = 0;
  virtual TadxOfficeHostApp HostType() const noexcept = 0;
  virtual int HostMajorVersion() const noexcept = 0;
  virtual bool IsRibbon() const noexcept = 0;
  // Outlook's application wrapper; null until host detection found Outlook.
  virtual OutlookApplication* OutlookApp() const noexcept = 0;

  // The add-in's design and registration.
  virtual TadxHostAppSet SupportedApps() const noexcept = 0;
  virtual std::uint32_t LoadBehavior() const noexcept = 0;
  virtual TadxStartMode StartMode() const noexcept = 0;
  // The add-in key (Software\Microsoft\Office\<host>\AddIns\<ProgID>) and the ProgID; both empty
  // without a class factory.
  virtual std::wstring GetRegistryKey() const = 0;
  virtual std::wstring ProgID() const = 0;

  // The module's bars and built-in controls, and the sinks connected to their host controls.
  virtual CommandBarInstaller& Installer() noexcept = 0;
  virtual void AddSink(TadxEventSink& sink) = 0;
  virtual void RemoveSink(TadxEventSink& sink) noexcept = 0;

  // The handler of every error the framework catches on a host event path.
  virtual void DoError(const std::exception_ptr& error) noexcept = 0;
  // The error being handled; call inside `catch`.
  void DoError() noexcept { DoError(std::current_exception()); }
  // Runs `handler`; an error goes to DoError and the caller goes on.
  template <class F>
  void Guarded(F&& handler) noexcept {
    try {
      handler();
    } catch (...) {
      DoError();
    }
  }

 protected:
  ModuleSite() = default;
  ~ModuleSite() = default;
  ModuleSite(const ModuleSite&) = default;
  ModuleSite& operator=(const ModuleSite&) = default;
};

}  // namespace qor::framework
