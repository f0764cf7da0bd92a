#pragma once

// TadxAddin: the COM object an Office host creates and drives through IDTExtensibility2. For one
// connection it owns the add-in module: it creates it, lets it find its host, raises its events in
// a fixed order, answers the ribbon's requests, and frees it when the host disconnects.

#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <string>

#include "addin_interfaces.h"
#include "com/com_object.h"
#include "com/com_ptr.h"

namespace qor::framework {

class OutlookNameSpace;
class OutlookWindowTracking;
class TadxCOMAddInModule;
class TadxFactory;

class TadxAddin final
    : public com::ComObject<TadxAddin, IDTExtensibility2, IRibbonExtensibility, ICustomTaskPaneConsumer, IadxCallBack,
                            IProvideClassInfo, com::SupportsErrorInfo> {
 public:
  explicit TadxAddin(TadxFactory& factory);
  ~TadxAddin() override;

  // IUnknown: IDispatch and the coclass's default interface are the add-in's own dispatch.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;

  // IDispatch: the type information of the default interface, then the ribbon call-backs by name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT* argumentError) noexcept override;

  // IDTExtensibility2
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                         SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) noexcept override;
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) noexcept override;

  // IRibbonExtensibility
  HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* xml) noexcept override;
  // ICustomTaskPaneConsumer
  HRESULT STDMETHODCALLTYPE CTPFactoryAvailable(IDispatch* factory) noexcept override;
  // IadxCallBack
  HRESULT STDMETHODCALLTYPE CallBack(BSTR key, long i1, long i2, long i3, BSTR s1, BSTR s2,
                                     BSTR s3) noexcept override;
  // IProvideClassInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override;

  TadxCOMAddInModule* Module() const noexcept { return FAddInModule.get(); }

  // The ribbon call-backs: Office has loaded the document; a context-menu entry was clicked.
  void RibbonLoaded_Callback(IDispatch* ribbon);
  void OnActionCommon_Callback(IDispatch* control);

 private:
  void StartupComplete();
  void HookOutlook();
  void OptionsPagesAdd(IDispatch* pages);
  void FastShutdown();
  void BeginShutdown();
  void Disconnection(ext_DisconnectMode mode);
  void ReleaseConnection() noexcept;
  std::wstring BuildCustomUI(const std::wstring& ribbonId);
  TadxCOMAddInModule& ConnectedModule() const;
  ITypeInfo& DispatchInfo();

  TadxFactory& factory_;
  std::unique_ptr<TadxCOMAddInModule> FAddInModule;
  std::function<void(IDispatch* pages)> FOnOptionsPagesAdd;
  std::function<void()> FOnQuit;
  bool FDoNotRaiseShutdownEvents = false;
  std::unique_ptr<OutlookWindowTracking> FWindows;
  std::unique_ptr<OutlookNameSpace> FNameSpace;
  com::ComPtr<ITypeInfo> dispatchInfo_;
};

}  // namespace qor::framework
