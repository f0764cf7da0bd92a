#include "probe_addin.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "com/bstr.h"
#include "com/dispatch_call.h"
#include "com/utf.h"
#include "engine/exclusions.h"
#include "host/automation/outlook_automation.h"
#include "platform/system_services.h"
#include "platform/text_file.h"
#include "wizard/win32/wizard_window.h"

namespace qor::probe {
namespace {

// The explorer ribbon's additions to the folder context menu.
constexpr char kFolderMenu[] =
    "  <contextMenus>\r\n"
    "    <contextMenu idMso=\"ContextMenuFolder\">\r\n"
    "      <menu id=\"probeMenu\" label=\"Probe &amp; Menu\">\r\n"
    "        <button id=\"probeWizard\" tag=\"wizard\" label=\"Probe Wizard\" onAction=\"Probe_OnAction\"/>\r\n"
    "        <button id=\"probeHello\" label=\"Hello\" onAction=\"Probe_OnAction\"/>\r\n"
    "      </menu>\r\n"
    "      <button id=\"probeOff\" label=\"Off\" enabled=\"false\" onAction=\"Probe_OnAction\"/>\r\n"
    "    </contextMenu>\r\n"
    "  </contextMenus>\r\n";

constexpr IID kApplicationEvents = {0x0006304E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DISPID kQuit = 0xF007;

// Prints the application's Quit event.
class QuitSink final : public com::ComObject<QuitSink, com::DispatchImpl<QuitSink>> {
 public:
  explicit QuitSink(std::string progId) : progId_(std::move(progId)) {}
  static const com::DispatchTable<QuitSink>& DispatchMembers() {
    static const auto table = com::DispatchTable<QuitSink>().Method(
        "Quit", kQuit, [](QuitSink& self) { Print("probe " + self.progId_ + " Quit"); });
    return table;
  }
  static bool ExtraInterface(REFIID iid) noexcept { return iid == kApplicationEvents; }

 private:
  std::string progId_;
};

// The name and file version of the program the add-in runs in, as add-ins read them.
std::string HostProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, length);
  std::string text = com::ToUtf8(file.substr(file.find_last_of(L"\\/") + 1));
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeW(file.c_str(), &ignored), '\0');
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (block.empty() || !GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size)) {
    return text + " (no version)";
  }
  char version[64];
  std::snprintf(version, sizeof version, " %u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  return text + version;
}

std::string ClsidText(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return com::ToUtf8(text);
}

}  // namespace

void Print(const std::string& line) {
  const std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

ProbeAddin::~ProbeAddin() {
  Unadvise();
  try {
    Say("released");
  } catch (...) {
    // A line lost for want of memory shows in the test's output.
  }
}

const com::DispatchTable<ProbeAddin>& ProbeAddin::DispatchMembers() {
  static const auto table = com::DispatchTable<ProbeAddin>()
                                .Method("Probe_OnLoad", &ProbeAddin::OnLoad)
                                .Method("Probe_OnAction", &ProbeAddin::OnAction);
  return table;
}

HRESULT ProbeAddin::QueryInterface(REFIID iid, void** object) noexcept {
  if (iid == __uuidof(IRibbonExtensibility) && !class_.offersRibbon) {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT ProbeAddin::GetTypeInfoCount(UINT* count) noexcept { return Dispatch::GetTypeInfoCount(count); }

HRESULT ProbeAddin::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept {
  return Dispatch::GetTypeInfo(index, locale, info);
}

HRESULT ProbeAddin::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) noexcept {
  return Dispatch::GetIDsOfNames(iid, names, count, locale, ids);
}

HRESULT ProbeAddin::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* info, UINT* argumentError) noexcept {
  return Dispatch::Invoke(id, iid, locale, flags, params, result, info, argumentError);
}

HRESULT ProbeAddin::OnConnection(IDispatch* application, ext_ConnectMode mode, IDispatch* addInInst,
                                 SAFEARRAY** custom) noexcept try {
  if (application == nullptr || addInInst == nullptr || custom == nullptr || *custom == nullptr) return E_POINTER;
  com::ComPtr<IDispatch> held;
  held.CopyFrom(application);
  application_ = held;
  com::Dispatch app(held);
  com::ComPtr<IDispatch> entryObject;
  entryObject.CopyFrom(addInInst);
  com::Dispatch entry(entryObject);

  // Publish this object, then find it again the way other code reaches it: by ProgID in the parent.
  com::ComPtr<IDispatch> self;
  self.CopyFrom(static_cast<IDTExtensibility2*>(this));
  entry.Put("Object", com::Variant(self));
  com::Dispatch parent(entry.Get("Parent").ToDispatch());
  const auto published = com::Dispatch(parent.Call("Item", class_.progId).ToDispatch()).Get("Object").ToDispatch();

  Say("OnConnection mode=" + std::to_string(mode) + " custom=" + std::to_string((*custom)->rgsabound[0].cElements) +
      " outlook=" + app.Get("Version").ToUtf8() + " program=" + HostProgram());
  Say("AddInInst ProgId=" + entry.Get("ProgId").ToUtf8() + " Description=" + entry.Get("Description").ToUtf8() +
      " Guid=" + (entry.Get("Guid").ToUtf8() == ClsidText(class_.clsid) ? "clsid" : entry.Get("Guid").ToUtf8()) +
      " Connect=" + (entry.Get("Connect").ToBool() ? "true" : "false") +
      " Object=" + (published.Get() == self.Get() ? "self" : "other"));

  com::ComPtr<IConnectionPointContainer> container = held.As<IConnectionPointContainer>();
  com::ThrowIfFailed(container->FindConnectionPoint(kApplicationEvents, quitEvents_.Put()));
  com::ThrowIfFailed(quitEvents_->Advise(com::Make<QuitSink>(class_.progId).Get(), &cookie_));
  if (class_.asks) Sleep(300);
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

HRESULT ProbeAddin::OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) noexcept try {
  Say("OnDisconnection mode=" + std::to_string(mode) + (custom != nullptr && *custom != nullptr ? "" : " no-custom"));
  Unadvise();
  application_.Reset();
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

HRESULT ProbeAddin::OnAddInsUpdate(SAFEARRAY**) noexcept try {
  Say("OnAddInsUpdate");
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

HRESULT ProbeAddin::OnStartupComplete(SAFEARRAY**) noexcept try {
  Say("OnStartupComplete");
  if (class_.asks) {
    const int answer = MessageBoxW(nullptr, L"Keep the probe loaded?", L"Probe", MB_YESNO | MB_ICONEXCLAMATION);
    Say(std::string("answer=") + (answer == IDYES ? "yes" : answer == IDNO ? "no" : "other"));
  }
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

HRESULT ProbeAddin::OnBeginShutdown(SAFEARRAY**) noexcept try {
  Say("OnBeginShutdown");
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

HRESULT ProbeAddin::GetCustomUI(BSTR ribbonId, BSTR* document) noexcept try {
  if (document == nullptr) return E_POINTER;
  *document = nullptr;
  const std::string ribbon = com::Bstr(ribbonId).ToUtf8();
  Say("GetCustomUI " + ribbon);
  const std::string menus = ribbon != "Microsoft.Outlook.Explorer" ? "" : kFolderMenu;
  *document = com::Bstr(
                  "<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\" "
                  "onLoad=\"Probe_OnLoad\">\r\n"
                  "  <ribbon><tabs><tab id=\"probeTab\" label=\"" +
                  ribbon + "\"/></tabs></ribbon>\r\n" + menus + "</customUI>")
                  .Detach();
  return S_OK;
} catch (...) {
  return com::ReportToCom();
}

void ProbeAddin::OnLoad(com::ComPtr<IDispatch> ribbon) {
  Say("Probe_OnLoad");
  com::Dispatch(std::move(ribbon)).Call("InvalidateControl", "probeTab");
}

void ProbeAddin::OnAction(com::ComPtr<IDispatch> control) {
  com::Dispatch shown(std::move(control));
  const std::string id = shown.Get("Id").ToUtf8();
  Say("Probe_OnAction id=" + id + " tag=" + shown.Get("Tag").ToUtf8() +
      " context=" + com::Dispatch(shown.Get("Context").ToDispatch()).Get("Name").ToUtf8());
  if (id != "probeWizard") return;
  if (wizardOpen_ || !application_) {
    Say("dropped");
    return;
  }
  wizardOpen_ = true;
  try {
    const std::shared_ptr<host::Application> outlook = host::automation::WrapApplication(application_);
    const std::unique_ptr<platform::SpecialFolders> folders = platform::CreateSpecialFolders();
    platform::SystemServices system(platform::PathFromUtf8(engine::MakeUsersAppFolderPath(*folders)));
    wizard::win32::WizardWindow wizard({*outlook, system.Get()}, GetActiveWindow());
    wizard.ShowModal();
  } catch (...) {
    wizardOpen_ = false;
    throw;
  }
  wizardOpen_ = false;
  Say("wizard closed");
}

void ProbeAddin::Unadvise() noexcept {
  if (quitEvents_) quitEvents_->Unadvise(cookie_);
  quitEvents_.Reset();
}

}  // namespace qor::probe
