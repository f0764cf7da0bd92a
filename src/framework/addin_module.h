#pragma once

// TadxCOMAddInModule: the base of an add-in module. A module describes one add-in (name, hosts,
// load behaviour) for registration, and while connected holds the host application, its registry
// key and the add-in's event handlers. A descendant sets its design in its constructor. Its bars,
// items and sinks reach it as their ModuleSite; its command-bar installer owns their lists.

#include <oaidl.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "com/variant.h"
#include "framework/adx_types.h"
#include "framework/command_bar_installer.h"
#include "framework/module_site.h"
#include "framework/registry.h"

namespace qor::framework {

class ColorSchemeWindow;
class OutlookApplication;
class TadxAddin;
class TadxCustomCommandBar;
class TadxEventSink;
class TadxFactory;
class TadxOutlook2007Application;

class TadxCOMAddInModule : public ModuleSite {
 public:
  using NotifyEvent = std::function<void(TadxCOMAddInModule& sender)>;
  using ErrorEvent = std::function<void(const std::exception_ptr& error, bool& handled)>;

  TadxCOMAddInModule();
  virtual ~TadxCOMAddInModule();
  TadxCOMAddInModule(const TadxCOMAddInModule&) = delete;
  TadxCOMAddInModule& operator=(const TadxCOMAddInModule&) = delete;

  // Outlook's Options dialog and a folder's Properties dialog; a module overrides these to add pages.
  virtual void OptionsPagesAdd(IDispatch* sender, IDispatch* pages);
  virtual void NameSpaceOptionsPagesAdd(IDispatch* sender, IDispatch* pages, IDispatch* folder);

  // Registration properties. The setters refuse an empty value (error 31101).
  const std::wstring& AddInName() const noexcept { return addInName_; }
  void SetAddInName(const std::wstring& value);
  TadxHostAppSet SupportedApps() const noexcept override { return supportedApps_; }
  void SetSupportedApps(TadxHostAppSet value);
  const std::wstring& Description() const noexcept { return description_; }
  void SetDescription(const std::wstring& value) { description_ = value; }
  std::uint32_t LoadBehavior() const noexcept override { return loadBehavior_; }
  void SetLoadBehavior(std::uint32_t value) noexcept { loadBehavior_ = value; }
  bool RegisterForAllUsers() const noexcept { return registerForAllUsers_; }
  void SetRegisterForAllUsers(bool value) noexcept { registerForAllUsers_ = value; }
  bool DisplayAlerts() const noexcept { return displayAlerts_; }
  void SetDisplayAlerts(bool value) noexcept { displayAlerts_ = value; }
  const std::wstring& Namespace() const noexcept { return namespace_; }

  // Events; all optional.
  ErrorEvent OnError;
  NotifyEvent OnAddInInitialize, OnAddInStartupComplete, OnAddInBeginShutdown, OnAddInFinalize;
  NotifyEvent OnAfterAddinRegister, OnBeforeAddinUnregister;
  std::function<void(TadxCOMAddInModule& sender, const std::wstring& ribbonId)> OnRibbonBeforeCreate;
  std::function<void(TadxCOMAddInModule& sender, const std::wstring& ribbonId, std::wstring& xml)> OnRibbonBeforeLoad;
  std::function<void(TadxCOMAddInModule& sender, IDispatch* ribbon)> OnRibbonLoaded;
  std::function<void(IDispatch* factory)> OnCTPFactoryAvailable;
  std::function<void(const std::wstring& key, long i1, long i2, long i3, const std::wstring& s1,
                     const std::wstring& s2, const std::wstring& s3)>
      OnCallBack;
  std::function<void(TadxCOMAddInModule& sender, TadxOfficeColorScheme scheme)> OnOfficeColorSchemeChanged;

  // Outlook's windows, as the add-in object tracks them; `window` is the explorer or inspector.
  using WindowEvent = std::function<void(TadxCOMAddInModule& sender, IDispatch* window)>;
  WindowEvent OnOLNewExplorer, OnOLExplorerActivate, OnOLExplorerFolderSwitch, OnOLExplorerViewSwitch,
      OnOLExplorerDeactivate, OnOLExplorerSelectionChange, OnOLExplorerClose;
  WindowEvent OnOLNewInspector, OnOLInspectorActivate, OnOLInspectorDeactivate, OnOLInspectorClose;
  // The new folder or view, and the Cancel flag Outlook reads back.
  using BeforeSwitchEvent =
      std::function<void(TadxCOMAddInModule& sender, IDispatch* explorer, const com::Variant& target, bool& cancel)>;
  BeforeSwitchEvent OnOLExplorerBeforeFolderSwitch, OnOLExplorerBeforeViewSwitch;

  // Connection state.
  const com::ComPtr<IDispatch>& HostApp() const noexcept override { return hostApp_; }
  void SetHostApp(com::ComPtr<IDispatch> app) noexcept { hostApp_ = std::move(app); }
  TadxOfficeHostApp HostType() const noexcept override { return hostType_; }
  void SetHostType(TadxOfficeHostApp host) noexcept { hostType_ = host; }
  int HostMajorVersion() const noexcept override { return hostMajorVersion_; }
  void SetHostMajorVersion(int version) noexcept { hostMajorVersion_ = version; }
  bool IsRibbon() const noexcept override { return isRibbon_; }
  void SetIsRibbon(bool value) noexcept { isRibbon_ = value; }
  TadxAddin* COMAddInClassInstance() const noexcept { return addInInstance_; }
  void SetCOMAddInClassInstance(TadxAddin* addIn) noexcept { addInInstance_ = addIn; }
  TadxFactory* COMAddInClassFactory() const noexcept { return factory_; }
  void SetCOMAddInClassFactory(TadxFactory* factory) noexcept { factory_ = factory; }
  const com::ComPtr<IDispatch>& AddInInstance() const noexcept { return officeAddIn_; }
  void SetAddInInstance(com::ComPtr<IDispatch> entry) noexcept { officeAddIn_ = std::move(entry); }
  TadxStartMode StartMode() const noexcept override { return startMode_; }
  void SetStartMode(TadxStartMode mode) noexcept { startMode_ = mode; }
  Registry& GetRegistry() noexcept { return registry_; }
  OutlookApplication* OutlookApp() const noexcept override { return outlook_.get(); }
  // The host's command bars the installer works on.
  const com::ComPtr<IDispatch>& CommandBars() const noexcept { return installer_.CommandBars(); }
  const com::ComPtr<IDispatch>& RibbonUI() const noexcept { return ribbonUI_; }
  void SetRibbonUI(com::ComPtr<IDispatch> ribbon) noexcept { ribbonUI_ = std::move(ribbon); }
  const com::ComPtr<IDispatch>& CTPFactory() const noexcept { return ctpFactory_; }
  void SetCTPFactory(com::ComPtr<IDispatch> factory) noexcept { ctpFactory_ = std::move(factory); }
  const std::wstring& OfficeXMLNS() const noexcept { return officeXmlns_; }
  void SetOfficeXMLNS(const std::wstring& value) { officeXmlns_ = value; }
  TadxOfficeColorScheme OfficeColorScheme() const noexcept { return colorScheme_; }
  // Counts one start-up completion; true for the first, the one that installs the add-in.
  bool CountStartupComplete() noexcept { return ++startupCompleteCounter_ == 1; }
  // An explorer opened and not yet activated for the add-in.
  bool ExplFirstStart() const noexcept { return explFirstStart_; }
  void SetExplFirstStart(bool value) noexcept { explFirstStart_ = value; }
  bool FastCommandBarSearch() const noexcept { return installer_.FastCommandBarSearch(); }
  void SetFastCommandBarSearch(bool value) noexcept { installer_.SetFastCommandBarSearch(value); }
  TadxOutlook2007Application* Outlook2007InternalWrapper() const noexcept { return outlook2007_.get(); }

  // The module's command bars in creation order, and the connected control sinks.
  const std::vector<TadxCustomCommandBar*>& CommandBarList() const noexcept { return installer_.CommandBarList(); }
  const std::vector<TadxEventSink*>& Sinks() const noexcept { return sinkList_; }
  CommandBarInstaller& Installer() noexcept override { return installer_; }
  void AddSink(TadxEventSink& sink) override { sinkList_.push_back(&sink); }
  void RemoveSink(TadxEventSink& sink) noexcept override { std::erase(sinkList_, &sink); }

  // Finds the host behind HostApp by its interfaces and wraps it.
  void SetHostApplication();
  void FreeHostApplication() noexcept;
  // The add-in key for HostType (Software\Microsoft\Office\<host>\AddIns\<ProgID>); empty
  // without a class factory.
  std::wstring GetRegistryKey() const override;
  std::wstring ProgID() const override;
  TadxOutlookShutdownBehavior OutlookShutdownBehavior() const;

  // Office's colour scheme from the host version's Common key, and the hidden window that hears
  // the scheme change; a failure there goes to DoError.
  void ReadOfficeColorScheme();
  void CreateColorSchemeWindow();
  void ColorSchemeChanged();

  // Raises OnError, else shows the error in a message box.
  using ModuleSite::DoError;
  void DoError(const std::exception_ptr& error) noexcept override;
  // Raises a module event with this module as sender, guarded.
  void Raise(const NotifyEvent& event) noexcept;
  void DoCallBack(const std::wstring& key, long i1, long i2, long i3, const std::wstring& s1, const std::wstring& s2,
                  const std::wstring& s3);
  void DoCTPFactoryAvailable() noexcept;

 private:
  std::wstring addInName_;
  std::wstring description_;
  TadxHostAppSet supportedApps_{ohaExcel};
  std::uint32_t loadBehavior_ = 3;
  bool registerForAllUsers_ = false;
  bool displayAlerts_ = false;
  std::wstring namespace_;

  Registry registry_{HKEY_CURRENT_USER};
  com::ComPtr<IDispatch> hostApp_;
  TadxOfficeHostApp hostType_ = ohaExcel;
  int hostMajorVersion_ = 0;
  bool isRibbon_ = false;
  TadxAddin* addInInstance_ = nullptr;
  TadxFactory* factory_ = nullptr;
  com::ComPtr<IDispatch> officeAddIn_;
  TadxStartMode startMode_ = smFirstStart;
  std::unique_ptr<OutlookApplication> outlook_;
  com::ComPtr<IDispatch> ribbonUI_;
  com::ComPtr<IDispatch> ctpFactory_;
  std::wstring officeXmlns_;
  TadxOfficeColorScheme colorScheme_ = csUnknown;
  std::unique_ptr<ColorSchemeWindow> colorSchemeWindow_;
  int startupCompleteCounter_ = 0;
  bool explFirstStart_ = false;
  std::unique_ptr<TadxOutlook2007Application> outlook2007_;
  std::vector<TadxEventSink*> sinkList_;
  CommandBarInstaller installer_{*this};
};

// The major version of a host's version text: the number before the first "." (else the first
// ","); 9 when there is none.
int MajorVersionOf(const std::wstring& versionText) noexcept;

// The text of an error for a message box or COM error information.
std::string ErrorMessage(const std::exception_ptr& error);

}  // namespace qor::framework
