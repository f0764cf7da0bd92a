#include "qorOutlook_IMPL.h"

#include "com/dispatch_call.h"
#include "engine/exclusions.h"
#include "framework/adx_factory.h"
#include "framework/command_bar_items.h"
#include "framework/com_server.h"
#include "framework/module_instance.h"
#include "framework/outlook_application.h"
#include "host/automation/outlook_automation.h"
#include "platform/diagnostics.h"
#include "platform/services_win32.h"
#include "platform/system_services.h"
#include "platform/text_file.h"
#include "platform/version_text.h"
#include "platform/wide_text_win32.h"
#include "qorOutlook_TLB.h"
#include "wizard/win32/wizard_window.h"

namespace qor::addin {

TAddInModule* adxcoqorOutlook = nullptr;

namespace {

constexpr int olMailItem = 0;

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

bool AskWithMessageBox(const std::wstring& question) {
  return MessageBoxW(GetActiveWindow(), question.c_str(), L"QOR for Outlook", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

TAddInModule::TAddInModule()
    : ownShell_(std::make_unique<platform::ShellExecuteShell>()), shell_(ownShell_.get()), ask_(AskWithMessageBox) {
  // Only the path: the file is opened when there is something to write.
  if (const std::filesystem::path local = platform::LocalAppDataFolder(); !local.empty())
    platform::diagnostics::SetLogFile(local / kLogFolderName / kLogFileName);
  SetAddInName(L"QOR for Outlook");
  SetSupportedApps({framework::ohaOutlook});
  OnAddInInitialize = [this](framework::TadxCOMAddInModule& sender) { adxCOMAddInModuleAddInInitialize(sender); };
  OnAddInFinalize = [this](framework::TadxCOMAddInModule& sender) { adxCOMAddInModuleAddInFinalize(sender); };

  mnuMain.SetCommandBarName(L"FolderContextMenu");
  mnuMain.SetSupportedApp(framework::ohaOutlook);
  mnuMain.SetPropertyChanged(1);
  auto& popup = *mnuMain.Controls().Add(framework::adxPopup).AsPopup();
  popup.SetCaption(L"QOR for Outlook");
  popup.SetOfficeTag(L"{3FB59FA9-E1F8-4964-93EE-A4BDE994FD21}");
  popup.SetTemporary(true);
  popup.SetPropertyChanged(1);
  const auto button = [&](const wchar_t* caption, const wchar_t* tag, std::uint32_t changed,
                          void (TAddInModule::*click)()) {
    auto& item = *popup.Controls().Add(framework::adxButton).AsButton();
    item.SetCaption(caption);
    item.SetOfficeTag(tag);
    item.SetTemporary(true);
    item.SetPropertyChanged(changed);
    item.OnClick = [this, click](framework::TadxCommandBarControl&) { (this->*click)(); };
  };
  button(L"QOR Agent", L"{28EAC539-1DE3-4654-BB91-B7521CA1A367}", 2, &TAddInModule::mnuMainControls0Click);
  button(L"Online Help", L"{61E2FB79-5F28-43E3-BC1A-D1370343B7BC}", 1, &TAddInModule::mnuMainControls0Controls1Click);
}

// Under Outlook's fast shutdown the module goes without OnAddInFinalize.
TAddInModule::~TAddInModule() {
  if (adxcoqorOutlook == this) adxcoqorOutlook = nullptr;
  platform::diagnostics::Record(platform::diagnostics::Kind::Note, "shutdown");
  platform::diagnostics::Flush();
}

void TAddInModule::OptionsPagesAdd(IDispatch*, IDispatch*) {}

void TAddInModule::adxCOMAddInModuleAddInInitialize(framework::TadxCOMAddInModule&) {
  adxcoqorOutlook = this;
  const std::wstring outlook = OutlookApp() != nullptr ? OutlookApp()->Version() : L"unknown";
  platform::diagnostics::Record(platform::diagnostics::Kind::Note,
                                "start-up: QOR for Outlook " QOR_VERSION_TEXT ", Outlook " +
                                    platform::NarrowToUtf8(outlook) + ", start mode " +
                                    platform::NarrowToUtf8(std::wstring(framework::adxStartModeNames[StartMode()])));
}

void TAddInModule::adxCOMAddInModuleAddInFinalize(framework::TadxCOMAddInModule&) { adxcoqorOutlook = nullptr; }

void TAddInModule::mnuMainControls0Click() {
  if (OutlookApp() == nullptr) return;
  com::Dispatch& application = OutlookApp()->Application();
  const com::ComPtr<IDispatch> explorer = application.Call("ActiveExplorer").ToDispatch();
  if (!explorer) return;
  const com::ComPtr<IDispatch> folder = com::Dispatch(explorer).Get("CurrentFolder").ToDispatch();
  if (!folder || com::Dispatch(folder).Get("DefaultItemType").ToInt() != olMailItem) return;

  const std::shared_ptr<host::Application> outlook = host::automation::WrapApplication(application.Object());
  const std::unique_ptr<platform::SpecialFolders> folders = platform::CreateSpecialFolders();
  const std::string appFolder = engine::MakeUsersAppFolderPath(*folders);
  platform::SystemServices system(platform::PathFromUtf8(appFolder));
  wizard::win32::WizardWindow wizard({*outlook, system.Get()}, GetActiveWindow());
  wizard.ShowModal();
}

void TAddInModule::mnuMainControls0Controls1Click() {
  OfferDiagnosticsLog();
  shell_->Open(platform::NarrowToUtf8(Folder(framework::ThisModulePath()) + kHelpPageName), "");
}

void TAddInModule::OfferDiagnosticsLog() {
  namespace diagnostics = platform::diagnostics;
  const std::size_t failures = diagnostics::ErrorCount();
  const std::filesystem::path log = diagnostics::LogFile();
  if (failures == 0 || log.empty()) return;
  const std::wstring question = L"QOR for Outlook has recorded " + std::to_wstring(failures) +
                                (failures == 1 ? L" error" : L" errors") +
                                L" in its diagnostics log.\r\nOpen the folder that holds the log, to send it to us?";
  if (!ask_(question)) return;
  diagnostics::Flush();
  shell_->Open(platform::NarrowToUtf8(log.parent_path().wstring()), "");
}

void TAddInModule::AddBounceBackRule() { shell_->Open("notepad.exe", ""); }

void InitializeAddInModuleUnit(framework::ComServer& server) {
  framework::TadxFactory::Create(server, CLASS_coqorOutlook, [] { return std::make_unique<TAddInModule>(); });
}

}  // namespace qor::addin
