#pragma once

// One add-in object Outlook has created, and every call Outlook makes on it, each printed as the
// script's output line. The time spent inside the add-in adds up from its creation on.

#include <oaidl.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <set>
#include <string>

#include "addin_interfaces.h"
#include "com/com_ptr.h"
#include "standin/office/addin_objects.h"

namespace qor::tools::qorhost {

class LoadedAddin {
 public:
  // Creates the add-in's object from its ProgID, in process; throws ComError with the failure.
  LoadedAddin(std::string progId, com::ComPtr<standin::office::ComAddInObject> entry, std::ostream& out);
  ~LoadedAddin();
  LoadedAddin(const LoadedAddin&) = delete;
  LoadedAddin& operator=(const LoadedAddin&) = delete;

  const std::string& ProgId() const noexcept { return progId_; }
  // Connected ends true only when OnConnection succeeds.
  HRESULT Connect(IDispatch& application, ext_ConnectMode mode);
  // GetCustomUI(ribbonId) the first time the add-in's ribbon of that id loads, then the onLoad
  // call-back after the first document. Nothing when the add-in offers no IRibbonExtensibility.
  // The document when one came this time.
  std::optional<std::string> LoadRibbon(const std::string& ribbonId);
  // What Office calls the document's call-backs on.
  com::ComPtr<IDispatch> Callbacks() const { return addin_.As<IDispatch>(); }
  void StartupComplete();
  void BeginShutdown();
  void Disconnect(ext_DisconnectMode mode);
  long long Milliseconds() const;

 private:
  template <class Call>
  HRESULT Timed(Call&& call);
  void CallOnLoad(const std::string& callback);

  std::string progId_;
  com::ComPtr<standin::office::ComAddInObject> entry_;
  std::ostream& out_;
  std::chrono::steady_clock::duration spent_{};
  com::ComPtr<IDTExtensibility2> addin_;
  com::ComPtr<IRibbonExtensibility> ribbon_;
  std::set<std::string> ribbonsLoaded_;
  com::ComPtr<IDispatch> ribbonUi_;  // made for the first document
};

}  // namespace qor::tools::qorhost
