#include "framework/addin_object.h"

#include "com/boundary.h"
#include "com/bstr.h"
#include "com/dispatch_args.h"
#include "com/type_info_answer.h"
#include "framework/addin_module.h"
#include "framework/adx_error.h"
#include "framework/adx_factory.h"
#include "framework/command_bar_items.h"
#include "framework/context_menu.h"
#include "framework/host_program.h"
#include "framework/outlook_application.h"
#include "framework/outlook_windows.h"
#include "framework/ribbon_callbacks.h"
#include "framework/xml_helper.h"
#include "platform/ascii_case.h"

namespace qor::framework {

namespace {

constexpr IID kOfficeComAddIn = {0x000C033A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// A member the type information describes and a client may call (not IUnknown's or IDispatch's own).
bool IsDispatchMember(ITypeInfo& info, DISPID id) {
  TYPEATTR* attributes = nullptr;
  if (FAILED(info.GetTypeAttr(&attributes))) return false;
  const WORD functions = attributes->cFuncs;
  info.ReleaseTypeAttr(attributes);
  for (UINT index = 0; index < functions; ++index) {
    FUNCDESC* function = nullptr;
    if (FAILED(info.GetFuncDesc(index, &function))) continue;
    const bool callable = function->memid == id && (function->wFuncFlags & FUNCFLAG_FRESTRICTED) == 0;
    info.ReleaseFuncDesc(function);
    if (callable) return true;
  }
  return false;
}

// The stored start mode; a name matched ignoring ASCII case, NORMAL for any other text, FIRSTSTART when
// there is none.
TadxStartMode ReadStartMode(const Registry& registry) {
  const std::optional<std::wstring> stored = registry.ReadString(L"ADXStartMode");
  if (!stored) return smFirstStart;
  for (std::size_t mode = 0; mode < adxStartModeNames.size(); ++mode)
    if (platform::EqualsIgnoringAsciiCase(*stored, adxStartModeNames[mode])) return static_cast<TadxStartMode>(mode);
  return smNormal;
}

// The module's context menus that Outlook 2010 and later build from customUI.
std::vector<TadxContextMenu*> RibbonContextMenus(const TadxCOMAddInModule& module) {
  std::vector<TadxContextMenu*> menus;
  for (TadxCustomCommandBar* bar : module.CommandBarList())
    if (auto* menu = dynamic_cast<TadxContextMenu*>(bar); menu != nullptr && menu->HasRibbonMarkup())
      menus.push_back(menu);
  return menus;
}

}  // namespace

TadxAddin::TadxAddin(TadxFactory& factory) : factory_(factory) {}

TadxAddin::~TadxAddin() { ReleaseConnection(); }

HRESULT STDMETHODCALLTYPE TadxAddin::QueryInterface(REFIID iid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == __uuidof(IDispatch)) {
    AddRef();
    *object = static_cast<IDispatch*>(static_cast<IDTExtensibility2*>(this));
    return S_OK;
  }
  HRESULT result = ComObject::QueryInterface(iid, object);
  if (result != E_NOINTERFACE) return result;
  // The default interface has no members of its own: the add-in's IDispatch serves it.
  bool isDefault = false;
  com::PassingOver("TadxAddin.QueryInterface", [&] {
    TYPEATTR* attributes = nullptr;
    ITypeInfo& info = DispatchInfo();
    if (SUCCEEDED(info.GetTypeAttr(&attributes))) {
      isDefault = attributes->guid == iid;
      info.ReleaseTypeAttr(attributes);
    }
  });
  return isDefault ? QueryInterface(__uuidof(IDispatch), object) : E_NOINTERFACE;
}

ITypeInfo& TadxAddin::DispatchInfo() {
  if (!dispatchInfo_) dispatchInfo_ = factory_.DefaultInterfaceInfo();
  return *dispatchInfo_;
}

HRESULT STDMETHODCALLTYPE TadxAddin::GetTypeInfoCount(UINT* count) noexcept {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TadxAddin::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  return com::AnswerTypeInfo(index, info, [this]() -> ITypeInfo& { return DispatchInfo(); });
}

HRESULT STDMETHODCALLTYPE TadxAddin::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                                   DISPID* ids) noexcept {
  return com::Entry("TadxAddin.GetIDsOfNames", [&]() -> HRESULT {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (names == nullptr || ids == nullptr || names[0] == nullptr) return E_POINTER;
    const HRESULT ordinary = DispatchInfo().GetIDsOfNames(names, count, ids);
    if (SUCCEEDED(ordinary)) return ordinary;
    // Office names call-backs in 8-bit text; a character beyond Latin-1 cannot match.
    std::string narrow;
    for (const wchar_t* c = names[0]; *c != L'\0' && narrow.size() < 255; ++c)
      narrow += static_cast<char>(*c > 255 ? 0 : *c);
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const std::optional<DISPID> callback = RibbonCallbackId(narrow);
    if (!callback) return ordinary;
    ids[0] = *callback;
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                            VARIANT* result, EXCEPINFO* info, UINT* argumentError) noexcept {
  return com::DispatchEntry("TadxAddin.Invoke", info, [&]() -> HRESULT {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (params == nullptr) return E_POINTER;
    if (params->cArgs > 0 && params->rgvarg == nullptr) return E_POINTER;
    ITypeInfo& own = DispatchInfo();
    if (IsDispatchMember(own, id))
      return DispInvoke(static_cast<IDispatch*>(static_cast<IDTExtensibility2*>(this)), &own, id, flags, params, result,
                        info, argumentError);
    if (!IsRibbonCallbackId(id)) return DISP_E_MEMBERNOTFOUND;
    if (result != nullptr) VariantInit(result);
    if ((flags & DISPATCH_METHOD) == 0) return DISP_E_MEMBERNOTFOUND;
    // Only the load call-back and the context-menu entries' action can come: the add-in's document
    // names no other control, no image and no view.
    if (id != kRibbonLoadedCallback && id != kOnActionCommonCallback) return E_NOTIMPL;
    if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
    const com::DispatchArgs args(params->rgvarg, params->cArgs);
    com::ComPtr<IDispatch> argument;
    try {
      argument = args.Value(0).ToDispatch();
    } catch (const com::ComError& error) {
      if (argumentError != nullptr) *argumentError = 0;
      return error.Code();
    }
    if (id == kRibbonLoadedCallback)
      RibbonLoaded_Callback(argument.Get());
    else
      OnActionCommon_Callback(argument.Get());
    return S_OK;
  });
}

// A context-menu entry of Outlook 2010 and later: the control's id names the item. A click while
// the item's previous click is still being handled is dropped by the item.
void TadxAddin::OnActionCommon_Callback(IDispatch* control) {
  TadxCOMAddInModule& module = ConnectedModule();
  if (control == nullptr) return;
  com::ComPtr<IDispatch> held;
  held.CopyFrom(control);
  const std::wstring id = com::Dispatch(held).Get("Id").ToUtf16();
  for (TadxContextMenu* menu : RibbonContextMenus(module)) {
    if (TadxCommandBarControl* item = menu->FindByRibbonId(id)) {
      module.Guarded([&] { item->DoAction(); });
      return;
    }
  }
}

void TadxAddin::RibbonLoaded_Callback(IDispatch* ribbon) {
  TadxCOMAddInModule& module = ConnectedModule();
  com::ComPtr<IDispatch> held;
  held.CopyFrom(ribbon);
  module.SetRibbonUI(held);
  if (module.OfficeXMLNS().empty())
    module.SetOfficeXMLNS(module.HostMajorVersion() == 12 ? kCustomUI2006 : kCustomUI2009);
  if (const auto handler = module.OnRibbonLoaded) module.Guarded([&] { handler(module, ribbon); });
}

HRESULT STDMETHODCALLTYPE TadxAddin::OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                                  SAFEARRAY**) noexcept {
  return com::Entry("TadxAddin.OnConnection", [&]() -> HRESULT {
    FAddInModule = factory_.CreateModule();
    FDoNotRaiseShutdownEvents = false;
    com::ComPtr<IDispatch> app;
    app.CopyFrom(application);
    FAddInModule->SetHostApp(app);
    FAddInModule->SetCOMAddInClassInstance(this);
    FAddInModule->SetCOMAddInClassFactory(&factory_);
    if (mode != ext_cm_Startup) StartupComplete();
    if (addInInst != nullptr) {
      com::ComPtr<IDispatch> entry;
      if (SUCCEEDED(addInInst->QueryInterface(kOfficeComAddIn, entry.PutVoid())) && entry) {
        FAddInModule->SetAddInInstance(entry);
        com::Dispatch(entry).Put("Object",
                                 com::Variant(static_cast<IDispatch*>(static_cast<IDTExtensibility2*>(this))));
      }
    }
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::OnStartupComplete(SAFEARRAY**) noexcept {
  return com::Entry("TadxAddin.OnStartupComplete", [&]() -> HRESULT {
    StartupComplete();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::OnAddInsUpdate(SAFEARRAY**) noexcept { return S_OK; }

HRESULT STDMETHODCALLTYPE TadxAddin::OnBeginShutdown(SAFEARRAY**) noexcept {
  return com::Entry("TadxAddin.OnBeginShutdown", [&]() -> HRESULT {
    BeginShutdown();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::OnDisconnection(ext_DisconnectMode mode, SAFEARRAY**) noexcept {
  return com::Entry("TadxAddin.OnDisconnection", [&]() -> HRESULT {
    Disconnection(mode);
    return S_OK;
  });
}

TadxCOMAddInModule& TadxAddin::ConnectedModule() const {
  if (!FAddInModule) throw AdxError("The add-in is not connected.", 0);
  return *FAddInModule;
}

// Runs once per connection, whether Outlook calls it or OnConnection does.
void TadxAddin::StartupComplete() {
  TadxCOMAddInModule& module = ConnectedModule();
  if (!module.CountStartupComplete()) return;
  module.SetHostApplication();
  Registry& registry = module.GetRegistry();
  registry.SetRootKey(HKEY_CURRENT_USER);
  // The start mode lives in the user's add-in key, made on the first start. An add-in registered for
  // the machine alone gets no such key: Outlook takes a user's key, even one without LoadBehavior,
  // over the machine's, and would not load the add-in again.
  const std::wstring key = module.GetRegistryKey();
  const bool machineOnly = !registry.KeyExists(key) && Registry(HKEY_LOCAL_MACHINE).KeyExists(key);
  registry.OpenKey(key, !machineOnly);
  module.SetStartMode(ReadStartMode(registry));
  module.ReadOfficeColorScheme();
  CommandBarInstaller& installer = module.Installer();
  installer.SetCommandBars(installer.GetAppCommandBars());
  module.Raise(module.OnAddInInitialize);
  installer.Install();
  module.Raise(module.OnAddInStartupComplete);
  if (module.StartMode() == smFirstStart && registry.IsOpen())
    registry.WriteString(L"ADXStartMode", std::wstring(adxStartModeNames[smNormal]));
  if (module.HostType() == ohaOutlook && module.OutlookApp() != nullptr) {
    FWindows = std::make_unique<OutlookWindowTracking>(module);
    FWindows->Start();
    HookOutlook();
  }
  module.CreateColorSchemeWindow();
}

void TadxAddin::HookOutlook() {
  TadxCOMAddInModule& module = *FAddInModule;
  OutlookApplication& outlook = *module.OutlookApp();
  FOnOptionsPagesAdd = std::exchange(outlook.OnOptionsPagesAdd, [this](IDispatch* pages) { OptionsPagesAdd(pages); });
  FNameSpace = std::make_unique<OutlookNameSpace>(outlook.Application().Call("GetNamespace", "MAPI").ToDispatch());
  FNameSpace->OnOptionsPagesAdd = [this](IDispatch* pages, IDispatch* folder) {
    TadxCOMAddInModule& connected = *FAddInModule;
    connected.Guarded([&] { connected.NameSpaceOptionsPagesAdd(connected.HostApp().Get(), pages, folder); });
  };
  if (module.OutlookShutdownBehavior() == osFast) FOnQuit = std::exchange(outlook.OnQuit, [this] { FastShutdown(); });
}

// Pages are added only to Outlook's own property-pages collection.
void TadxAddin::OptionsPagesAdd(IDispatch* pages) {
  TadxCOMAddInModule& module = *FAddInModule;
  module.Guarded([&] {
    com::ComPtr<IUnknown> outlookPages;
    if (pages == nullptr || FAILED(pages->QueryInterface(host::outlook_ids::kPropertyPages, outlookPages.PutVoid())))
      return;
    if (const auto previous = FOnOptionsPagesAdd) previous(pages);
    module.OptionsPagesAdd(module.HostApp().Get(), pages);
  });
}

// Outlook 2010 and later close without OnBeginShutdown and OnDisconnection; their Quit event is
// the add-in's last chance to let go of Outlook.
void TadxAddin::FastShutdown() {
  com::ComPtr<TadxAddin> self;
  self.CopyFrom(this);
  if (FAddInModule) {
    if (const auto previous = FOnQuit) FAddInModule->Guarded(previous);
  }
  FDoNotRaiseShutdownEvents = true;
  BeginShutdown();
  Disconnection(ext_dm_HostShutdown);
}

void TadxAddin::BeginShutdown() {
  if (!FAddInModule || FDoNotRaiseShutdownEvents) return;
  FAddInModule->Raise(FAddInModule->OnAddInBeginShutdown);
}

void TadxAddin::Disconnection(ext_DisconnectMode mode) {
  if (!FAddInModule) return;
  try {
    TadxCOMAddInModule& module = *FAddInModule;
    if (mode == ext_dm_UserClosed) {
      BeginShutdown();
      module.Installer().UninstallCommandBars();
      Registry user(HKEY_CURRENT_USER);
      for (const wchar_t* subkey : {L"\\CommandBars", L"\\Controls"}) {
        const std::wstring key = module.GetRegistryKey() + subkey;
        if (user.KeyExists(key)) user.DeleteKey(key);
      }
    }
    if (!FDoNotRaiseShutdownEvents) module.Raise(module.OnAddInFinalize);
  } catch (...) {
    ReleaseConnection();
    throw;
  }
  ReleaseConnection();
}

void TadxAddin::ReleaseConnection() noexcept {
  FWindows.reset();
  if (FAddInModule) FAddInModule->GetRegistry().CloseKey();
  FNameSpace.reset();
  FOnOptionsPagesAdd = nullptr;
  FOnQuit = nullptr;
  FAddInModule.reset();
}

HRESULT STDMETHODCALLTYPE TadxAddin::GetCustomUI(BSTR ribbonId, BSTR* xml) noexcept {
  return com::Entry("TadxAddin.GetCustomUI", [&]() -> HRESULT {
    if (xml == nullptr) return E_POINTER;
    *xml = nullptr;
    const std::wstring id = ribbonId == nullptr ? std::wstring() : std::wstring(ribbonId, SysStringLen(ribbonId));
    *xml = com::Bstr(BuildCustomUI(id)).Detach();
    return S_OK;
  });
}

std::wstring TadxAddin::BuildCustomUI(const std::wstring& ribbonId) {
  TadxCOMAddInModule& module = ConnectedModule();
  if (const std::optional<int> major = HostProgramMajorVersion()) module.SetHostMajorVersion(*major);
  if (ribbonId.starts_with(L"Microsoft.Outlook.") || ribbonId.starts_with(L"Microsoft.OMS.MMS") ||
      ribbonId.starts_with(L"Microsoft.OMS.SMS"))
    module.SetHostType(ohaOutlook);
  module.SetIsRibbon(true);
  if (const auto handler = module.OnRibbonBeforeCreate) module.Guarded([&] { handler(module, ribbonId); });
  const int major = module.HostMajorVersion();
  // Outlook 2010 and later show on their context menus only what customUI declares there.
  const std::vector<TadxContextMenu*> contextMenus = major >= 14 && ribbonId == L"Microsoft.Outlook.Explorer"
                                                         ? RibbonContextMenus(module)
                                                         : std::vector<TadxContextMenu*>();
  if (major == 12 || (major == 14 && contextMenus.empty()))
    module.SetOfficeXMLNS(kCustomUI2006);
  else if (major >= 14)
    module.SetOfficeXMLNS(kCustomUI2009);  // context menus, and Office 2013 and later, need it
  TadxXMLHelper writer;
  writer.WriteStartElement(L"customUI");
  writer.WriteAttributeString(L"xmlns", module.OfficeXMLNS());
  if (!module.Namespace().empty()) {
    writer.WriteAttributeString(L"xmlns:default", factory_.ProgID());
    writer.WriteAttributeString(L"xmlns:shared", module.Namespace());
  }
  writer.WriteAttributeString(L"onLoad", L"RibbonLoaded_Callback");
  writer.WriteAttributeString(L"loadImage", L"GetImages_Callback");
  if (!contextMenus.empty()) {
    writer.WriteStartElement(L"contextMenus");
    for (const TadxContextMenu* menu : contextMenus) menu->WriteRibbonMarkup(writer, L"OnActionCommon_Callback");
    writer.WriteEndElement(L"contextMenus");
  }
  writer.WriteEndElement(L"customUI");
  std::wstring text = writer.Text();
  if (const auto handler = module.OnRibbonBeforeLoad) module.Guarded([&] { handler(module, ribbonId, text); });
  return text;
}

HRESULT STDMETHODCALLTYPE TadxAddin::CTPFactoryAvailable(IDispatch* factory) noexcept {
  return com::Entry("TadxAddin.CTPFactoryAvailable", [&]() -> HRESULT {
    TadxCOMAddInModule& module = ConnectedModule();
    com::ComPtr<IDispatch> held;
    held.CopyFrom(factory);
    module.SetCTPFactory(held);
    module.DoCTPFactoryAvailable();
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::CallBack(BSTR key, long i1, long i2, long i3, BSTR s1, BSTR s2, BSTR s3) noexcept {
  return com::Entry("TadxAddin.CallBack", [&]() -> HRESULT {
    const auto text = [](BSTR value) {
      return value == nullptr ? std::wstring() : std::wstring(value, SysStringLen(value));
    };
    ConnectedModule().DoCallBack(text(key), i1, i2, i3, text(s1), text(s2), text(s3));
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TadxAddin::GetClassInfo(ITypeInfo** info) noexcept {
  return com::Entry("TadxAddin.GetClassInfo", [&]() -> HRESULT {
    if (info == nullptr) return E_POINTER;
    *info = factory_.ClassInfo().Detach();
    return S_OK;
  });
}

}  // namespace qor::framework
