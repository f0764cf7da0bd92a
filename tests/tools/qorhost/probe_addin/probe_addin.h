#pragma once

// The probe: a COM add-in for qorhost's tests that prints every call Outlook makes on it, and what
// it sees of Outlook, as `probe PROGID ...` lines on the host's standard output. Its explorer
// ribbon adds a menu to the folder context menu, one of whose entries opens the wizard.

#include <oaidl.h>
#include <ocidl.h>

#include <string>

#include "addin_interfaces.h"
#include "com/com_object.h"
#include "com/dispatch_impl.h"

namespace qor::probe {

struct ProbeClass {
  const char* progId;
  CLSID clsid;
  bool offersRibbon;
  // Takes its time connecting and asks the user a question once Outlook has started.
  bool asks;
};

// Written straight to the process's standard output, so the lines interleave with the host's.
void Print(const std::string& line);

class ProbeAddin final
    : public com::ComObject<ProbeAddin, com::DispatchImpl<ProbeAddin, IDTExtensibility2>, IRibbonExtensibility> {
 public:
  explicit ProbeAddin(const ProbeClass& probeClass) : class_(probeClass) {}
  ~ProbeAddin() override;

  static const com::DispatchTable<ProbeAddin>& DispatchMembers();

  // Only a ribbon probe answers IRibbonExtensibility.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;

  // IRibbonExtensibility's IDispatch is the add-in's own.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override;

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                         SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* document) noexcept override;

 private:
  using Dispatch = com::DispatchImpl<ProbeAddin, IDTExtensibility2>;

  void Say(const std::string& what) const { Print(std::string("probe ") + class_.progId + " " + what); }
  void OnLoad(com::ComPtr<IDispatch> ribbon);
  // A folder-menu entry chosen: prints what the IRibbonControl says; "probeWizard" opens the
  // wizard, modal, on the Outlook this add-in is connected to, unless one is open already.
  void OnAction(com::ComPtr<IDispatch> control);
  void Unadvise() noexcept;

  const ProbeClass& class_;
  com::ComPtr<IDispatch> application_;
  bool wizardOpen_ = false;
  com::ComPtr<IConnectionPoint> quitEvents_;
  DWORD cookie_ = 0;
};

}  // namespace qor::probe
