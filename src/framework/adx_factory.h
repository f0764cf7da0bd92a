#pragma once

// TadxFactory: the class factory of an add-in object. Besides the COM class it knows the add-in
// module class, whose designed properties say where and how the add-in is registered with its
// Office hosts.

#include <functional>
#include <memory>
#include <string>

#include "framework/adx_types.h"
#include "framework/automation_factory.h"

namespace qor::framework {

class TadxCOMAddInModule;

class TadxFactory final : public AutomationFactory {
 public:
  using ModuleClass = std::function<std::unique_ptr<TadxCOMAddInModule>()>;

  // Adds the factory to the server's list.
  static TadxFactory& Create(ComServer& server, const CLSID& classId, ModuleClass moduleClass);
  TadxFactory(ComServer& server, const CLSID& classId, ModuleClass moduleClass);

  // A module with its designed contents.
  std::unique_ptr<TadxCOMAddInModule> CreateModule() const { return FModuleClass(); }

  void UpdateRegistry(bool doRegister) override;
  void RegisterAddIn();
  void UnRegisterAddIn();
  void UnRegisterControls();
  static bool IsHostAppInstalled(TadxOfficeHostApp host);
  std::wstring GetRegKey(TadxOfficeHostApp host) const;

 protected:
  com::ComPtr<IUnknown> CreateObject() override;

 private:
  void CheckRunningHosts(const TadxCOMAddInModule& module) const;
  // A module registered for all users writes its add-in key in HKEY_LOCAL_MACHINE, except in a
  // per-user registration.
  bool ForAllUsers(const TadxCOMAddInModule& module) const;
  void RaiseRegistrationEvent(TadxCOMAddInModule& module, TadxOfficeHostApp host, bool create,
                              const std::function<void(TadxCOMAddInModule&)>& event);

  ModuleClass FModuleClass;
};

}  // namespace qor::framework
