#pragma once

// TAddInModule: this add-in's module. Its design declares the add-in (its name and host) and its
// folder context menu; its handlers open the wizard, the help page and the text editor.

#include <oaidl.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/addin_module.h"
#include "framework/context_menu.h"
#include "platform/services.h"

namespace qor::framework {
class ComServer;
}

namespace qor::addin {

class TAddInModule final : public framework::TadxCOMAddInModule {
 public:
  TAddInModule();
  ~TAddInModule() override;

  // The add-in adds no page to Outlook's Options dialog.
  void OptionsPagesAdd(IDispatch* sender, IDispatch* pages) override;

  void adxCOMAddInModuleAddInInitialize(framework::TadxCOMAddInModule& sender);
  void adxCOMAddInModuleAddInFinalize(framework::TadxCOMAddInModule& sender);
  // "QOR Agent": the wizard on the active explorer's folder, when that folder holds mail.
  void mnuMainControls0Click();
  // "Online Help": the help page shipped next to the library; first, when the add-in has
  // recorded failures, an offer to open the folder of its diagnostics log.
  void mnuMainControls0Controls1Click();
  // Starts the text editor.
  void AddBounceBackRule();

  // Where the handlers' shell "open" goes; the Windows shell unless a test says otherwise.
  void SetShell(platform::Shell& shell) noexcept { shell_ = &shell; }
  // How the user is asked a yes-or-no question; a message box unless a test says otherwise.
  void SetAsk(std::function<bool(const std::wstring& question)> ask) { ask_ = std::move(ask); }

  // "QOR for Outlook" > "QOR Agent", "Online Help" on Outlook's folder context menu.
  framework::TadxContextMenu mnuMain{this};

 private:
  void OfferDiagnosticsLog();

  std::unique_ptr<platform::Shell> ownShell_;
  platform::Shell* shell_;
  std::function<bool(const std::wstring& question)> ask_;
};

// The module of the current connection, between its OnAddInInitialize and its OnAddInFinalize.
extern TAddInModule* adxcoqorOutlook;

// The diagnostics log, in the user's local application data folder.
inline constexpr wchar_t kLogFolderName[] = L"QOR for Outlook";
inline constexpr wchar_t kLogFileName[] = L"qor.log";

// The help page's file name, next to the library.
inline constexpr wchar_t kHelpPageName[] = L"qorOutlook-help.html";

// Adds the add-in's class factory to the server, as loading the library does.
void InitializeAddInModuleUnit(framework::ComServer& server);

}  // namespace qor::addin
