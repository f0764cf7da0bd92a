#include "framework/adx_factory.h"

#include <objbase.h>

#include "com/boundary.h"
#include "framework/addin_module.h"
#include "framework/addin_object.h"
#include "framework/adx_error.h"
#include "framework/com_server.h"
#include "framework/registry.h"

namespace qor::framework {

namespace {

// The hosts of `module` that are installed here, in host order.
template <class F>
void ForEachInstalledHost(const TadxCOMAddInModule& module, F&& visit) {
  for (int index = 0; index < kHostAppCount; ++index) {
    const auto host = static_cast<TadxOfficeHostApp>(index);
    if (module.SupportedApps().Contains(host) && TadxFactory::IsHostAppInstalled(host)) visit(host);
  }
}

bool IsRunning(TadxOfficeHostApp host) {
  CLSID classId{};
  if (FAILED(CLSIDFromProgID(std::wstring(adxOfficeProgIDs[host]).c_str(), &classId))) return false;
  com::ComPtr<IUnknown> running;
  return SUCCEEDED(GetActiveObject(classId, nullptr, running.Put())) && running;
}

}  // namespace

TadxFactory& TadxFactory::Create(ComServer& server, const CLSID& classId, ModuleClass moduleClass) {
  return static_cast<TadxFactory&>(
      server.AddFactory(std::make_unique<TadxFactory>(server, classId, std::move(moduleClass))));
}

TadxFactory::TadxFactory(ComServer& server, const CLSID& classId, ModuleClass moduleClass)
    : AutomationFactory(server, classId), FModuleClass(std::move(moduleClass)) {}

com::ComPtr<IUnknown> TadxFactory::CreateObject() {
  com::ComPtr<TadxAddin> addIn = com::Make<TadxAddin>(*this);
  return com::ComPtr<IUnknown>(com::ComPtr<IDTExtensibility2>(addIn));
}

void TadxFactory::UpdateRegistry(bool doRegister) {
  {
    const auto module = CreateModule();
    if (module->DisplayAlerts()) CheckRunningHosts(*module);
  }
  if (doRegister) {
    RegisterComClass();
    RegisterAddIn();
  } else {
    UnRegisterControls();
    UnRegisterAddIn();
    UnregisterComClass();
  }
}

void TadxFactory::CheckRunningHosts(const TadxCOMAddInModule& module) const {
  for (;;) {
    std::wstring running;
    ForEachInstalledHost(module, [&](TadxOfficeHostApp host) {
      if (IsRunning(host)) running += std::wstring(adxOfficeAppNames[host]) + L" ";
    });
    if (running.empty()) return;
    const std::wstring text = L"Please close all running host application instances:\r\n" + running;
    switch (MessageBoxW(nullptr, text.c_str(), module.AddInName().c_str(),
                        MB_CANCELTRYCONTINUE | MB_ICONINFORMATION | MB_TASKMODAL | MB_SETFOREGROUND)) {
      case IDCANCEL:
        throw AdxError("The registration process has been canceled.", kErrorRegistrationCanceled);
      case IDCONTINUE:
        return;
      default:
        break;  // Try Again
    }
  }
}

void TadxFactory::RaiseRegistrationEvent(TadxCOMAddInModule& module, TadxOfficeHostApp host, bool create,
                                         const std::function<void(TadxCOMAddInModule&)>& event) {
  if (!event) return;
  module.SetHostType(host);
  module.SetCOMAddInClassFactory(this);
  if (!module.GetRegistry().OpenKey(GetRegKey(host), create)) return;
  module.Guarded([&] { event(module); });
  module.GetRegistry().CloseKey();
}

void TadxFactory::RegisterAddIn() {
  const auto module = CreateModule();
  ForEachInstalledHost(*module, [&](TadxOfficeHostApp host) {
    Registry registry(ForAllUsers(*module) ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
    if (registry.OpenKey(GetRegKey(host), true)) {
      registry.WriteString(L"FriendlyName", module->AddInName());
      registry.WriteString(L"Description", module->Description());
      registry.WriteInteger(L"LoadBehavior", module->LoadBehavior());
      registry.WriteInteger(L"CommandLineSafe", 0);
    }
    RaiseRegistrationEvent(*module, host, true, module->OnAfterAddinRegister);
  });
}

void TadxFactory::UnRegisterControls() {
  const auto module = CreateModule();
  try {
    ForEachInstalledHost(*module, [&](TadxOfficeHostApp host) {
      if (host == ohaMapPoint) return;
      Registry registry(HKEY_CURRENT_USER);
      if (registry.OpenKey(GetRegKey(host), false)) {
        registry.WriteString(L"ADXStartMode", std::wstring(adxStartModeNames[smUninstall]));
        registry.CloseKey();
      }
      if (ForAllUsers(*module)) {
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (registry.OpenKey(GetRegKey(host), false)) registry.WriteInteger(L"LoadBehavior", 0);
      }
      // Outlook keeps no command bars of this add-in beyond its run; other hosts are not served.
    });
  } catch (...) {
    throw AdxError("Can't unregister add-in controls.", kErrorUnregisterControls);
  }
}

void TadxFactory::UnRegisterAddIn() {
  const auto module = CreateModule();
  ForEachInstalledHost(*module, [&](TadxOfficeHostApp host) {
    RaiseRegistrationEvent(*module, host, false, module->OnBeforeAddinUnregister);
    const std::wstring key = GetRegKey(host);
    if (ForAllUsers(*module)) {
      Registry machine(HKEY_LOCAL_MACHINE);
      if (machine.KeyExists(key)) machine.DeleteKey(key);
    }
    Registry user(HKEY_CURRENT_USER);
    if (user.KeyExists(key)) user.DeleteKey(key);
  });
}

bool TadxFactory::ForAllUsers(const TadxCOMAddInModule& module) const {
  return module.RegisterForAllUsers() && !Server().RegisteringPerUser();
}

bool TadxFactory::IsHostAppInstalled(TadxOfficeHostApp host) {
  return com::PassingOver("TadxFactory.IsHostAppInstalled", false, [&]() -> bool {
    CLSID classId{};
    if (SUCCEEDED(CLSIDFromProgID(std::wstring(adxOfficeProgIDs[host]).c_str(), &classId)) &&
        !IsEqualCLSID(classId, CLSID_NULL))
      return true;
    return Registry(HKEY_LOCAL_MACHINE).KeyExists(L"Software\\Microsoft\\Office\\14.0\\Common\\InstallRoot\\Virtual");
  });
}

std::wstring TadxFactory::GetRegKey(TadxOfficeHostApp host) const {
  const std::wstring name(adxOfficeAppNames[host]);
  if (host == ohaMapPoint || host == ohaVisio) return L"\\Software\\Microsoft\\" + name + L"\\AddIns\\" + ProgID();
  return L"\\Software\\Microsoft\\Office\\" + name + L"\\AddIns\\" + ProgID();
}

}  // namespace qor::framework
