#pragma once

// TActiveFormControl: the ActiveX control object around a form. It answers the standard
// interfaces of a control (embedding, in-place activation, drawing, persistence, events) and puts
// every interface query to the form first. ActiveFormFactory makes it and registers its class.

#include <objsafe.h>
#include <ocidl.h>
#include <oleidl.h>

#include <memory>
#include <span>

#include "com/com_object.h"
#include "com/com_ptr.h"
#include "com/connection_points.h"
#include "framework/activex/active_form.h"

// MinGW's objsafe.h declares the interface without the IID __uuidof needs.
__CRT_UUID_DECL(IObjectSafety, 0xCB5BDC81, 0x93C1, 0x11CF, 0x8F, 0x20, 0x00, 0x80, 0x5F, 0x2C, 0xD0, 0x64)

namespace qor::framework {

class ActiveFormFactory;

class TActiveFormControl final
    : public com::ComObject<TActiveFormControl, IOleObject, IOleControl,
                            com::InterfaceWithBases<IOleInPlaceObject, IOleWindow>, IOleInPlaceActiveObject,
                            com::InterfaceWithBases<IViewObject2, IViewObject>, IDataObject,
                            com::InterfaceWithBases<IPersistStreamInit, IPersist>, IPersistStorage, IPersistPropertyBag,
                            IPerPropertyBrowsing, ISpecifyPropertyPages, IQuickActivate, ISimpleFrameSite,
                            IObjectSafety, com::ConnectionPointContainerImpl, IProvideClassInfo, ISupportErrorInfo> {
 public:
  TActiveFormControl(const ActiveFormFactory& factory, std::unique_ptr<TActiveForm> form);
  ~TActiveFormControl();

  // The form first, then the control object; ISimpleFrameSite only under the simple-frame status.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;

  TActiveForm& Form() noexcept { return *form_; }
  IOleClientSite* ClientSite() const noexcept { return clientSite_.Get(); }
  // Raises an event of the class's source interface at every connected sink.
  com::FireResult FireEventArgs(DISPID id, std::span<const com::Variant> args);

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) noexcept override;
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) noexcept override;
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) noexcept override;
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                   LPCRECT position) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) noexcept override;
  HRESULT STDMETHODCALLTYPE Update() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* classId) noexcept override;
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* userType) noexcept override;
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) noexcept override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) noexcept override;
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override;
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) noexcept override;
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) noexcept override { return E_NOTIMPL; }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) noexcept override;
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL freeze) noexcept override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() noexcept override;
  HRESULT STDMETHODCALLTYPE UIDeactivate() noexcept override;
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) noexcept override;
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG message) noexcept override;
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) noexcept override { return S_OK; }

  // IViewObject2
  HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* device, HDC targetDc,
                                 HDC drawDc, LPCRECTL bounds, LPCRECTL windowBounds,
                                 BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR), ULONG_PTR contArgument) noexcept override;
  HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) noexcept override {
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) noexcept override;
  HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) noexcept override;
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE*, LPSIZEL size) noexcept override;

  // IDataObject: the control offers no data formats.
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) noexcept override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) noexcept override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) noexcept override { return DV_E_FORMATETC; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) noexcept override { return OLE_E_ADVISENOTSUPPORTED; }

  // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag: the extent is the state.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) noexcept override;
  HRESULT STDMETHODCALLTYPE IsDirty() noexcept override { return dirty_ ? S_OK : S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(IStream* stream) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) noexcept override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) noexcept override;
  HRESULT STDMETHODCALLTYPE InitNew() noexcept override;
  HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) noexcept override;
  HRESULT STDMETHODCALLTYPE Load(IStorage* storage) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) noexcept override;
  HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE HandsOffStorage() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) noexcept override;
  HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) noexcept override;

  // IPerPropertyBrowsing, ISpecifyPropertyPages: nothing of the control's own.
  HRESULT STDMETHODCALLTYPE GetDisplayString(DISPID, BSTR*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE MapPropertyToPage(DISPID, CLSID* page) noexcept override;
  HRESULT STDMETHODCALLTYPE GetPredefinedStrings(DISPID, CALPOLESTR*, CADWORD*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPredefinedValue(DISPID, DWORD, VARIANT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) noexcept override;

  // IQuickActivate
  HRESULT STDMETHODCALLTYPE QuickActivate(QACONTAINER* container, QACONTROL* control) noexcept override;
  HRESULT STDMETHODCALLTYPE SetContentExtent(LPSIZEL size) noexcept override;
  HRESULT STDMETHODCALLTYPE GetContentExtent(LPSIZEL size) noexcept override;

  // ISimpleFrameSite: messages of contained controls pass through unfiltered.
  HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD*) noexcept override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD) noexcept override {
    return S_OK;
  }

  // IObjectSafety: safe for scripting and for initialising.
  HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID, DWORD* supported, DWORD* enabled) noexcept override;
  HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID, DWORD mask, DWORD options) noexcept override;

  // IProvideClassInfo, ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID) noexcept override { return S_OK; }

 private:
  // Makes the form's window under `parent` if need be and shows it at `position`.
  void ActivateInPlace(HWND parent, const RECT& position);
  void ViewChanged() noexcept;

  const ActiveFormFactory& factory_;
  std::unique_ptr<TActiveForm> form_;
  IID eventsId_;
  com::ComPtr<IOleClientSite> clientSite_;
  com::ComPtr<IOleInPlaceSite> inPlaceSite_;
  com::ComPtr<IOleAdviseHolder> adviseHolder_;
  com::ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  SIZEL extent_{};  // HIMETRIC
  DWORD safety_ = 0;
  int eventsFrozen_ = 0;
  bool dirty_ = false;
};

}  // namespace qor::framework
