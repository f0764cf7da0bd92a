// The library's entry points, and the class factories its units add while it loads.

#include <windows.h>

#include "co_qor_settings.h"
#include "com/boundary.h"
#include "framework/com_server.h"
#include "qorOutlook_IMPL.h"

namespace {

// Loading the library adds the factories; a failure leaves the list short and every entry point
// still answers.
const bool factoriesAdded = qor::com::PassingOver("qorOutlook.AddFactories", false, [] {
  qor::addin::InitializeAddInModuleUnit(qor::framework::ComServer::Instance());
  // Added last, so the control class is registered first and unregistered first.
  qor::addin::InitializeCoQORSettingsUnit(qor::framework::ComServer::Instance());
  return true;
});

}  // namespace

extern "C" {

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  return qor::framework::ComServer::Instance().GetClassObject(classId, iid, object);
}

STDAPI DllCanUnloadNow() { return qor::framework::ComServer::Instance().CanUnloadNow(); }

STDAPI DllRegisterServer() { return qor::framework::ComServer::Instance().RegisterServer(); }

STDAPI DllUnregisterServer() { return qor::framework::ComServer::Instance().UnregisterServer(); }

// regsvr32 /n /i:user registers for the current user alone; /u /n /i:user removes that.
STDAPI DllInstall(BOOL install, PCWSTR commandLine) {
  return qor::framework::ComServer::Instance().Install(install != FALSE, commandLine);
}

}  // extern "C"
