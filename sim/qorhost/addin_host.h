#pragma once

// Outlook's side of its COM add-ins: which it loads, when it calls them and in which order,
// according to the version it plays.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "addin_registry.h"
#include "addins_dialog.h"
#include "com/com_ptr.h"
#include "host/outlook.h"
#include "loaded_addin.h"
#include "standin/office/addin_objects.h"
#include "standin/outlook/outlook_driver.h"

namespace qor::tools::qorhost {

class AddinHost {
 public:
  AddinHost(standin::OutlookDriver& driver, std::ostream& out);
  // Releases what is still loaded, without calls, and lets COM unload the add-ins' libraries.
  ~AddinHost();
  AddinHost(const AddinHost&) = delete;
  AddinHost& operator=(const AddinHost&) = delete;

  // Outlook starting: every add-in with LoadBehavior 3 connected (Outlook 2010 on: with the
  // explorer's ribbon), then each told that startup is complete.
  void Start();
  // Outlook 2007 on: ribbons load when the first inspector of their kind opens.
  void InspectorOpened(const host::Item& item);
  // The user ticking or clearing the add-in in the COM add-ins dialog. False when no add-in of
  // that ProgID is registered.
  bool Connect(const std::string& progId);
  // False when the add-in is not connected.
  bool Disconnect(const std::string& progId);
  // What the COM add-ins dialog lists: every registered add-in, with whether it is loaded.
  std::vector<ListedAddin> Listed();
  // Outlook closing, after its Quit event: Outlook 2010 on shuts down fast, calling add-ins
  // nothing unless they or the user asked for it.
  void Shutdown();

 private:
  // Outlook reads the registry again whenever it shows its add-ins or closes.
  void RefreshRegistrations();
  const AddinRegistration* Registration(const std::string& progId) const;
  std::vector<std::unique_ptr<LoadedAddin>>::iterator FindLoaded(const std::string& progId);
  // Creates and connects the add-in; null when either fails.
  std::unique_ptr<LoadedAddin> Load(const AddinRegistration& addin, ext_ConnectMode mode);
  void ReleaseAll() noexcept;

  standin::OutlookDriver& driver_;
  std::ostream& out_;
  std::vector<AddinRegistration> registrations_;
  com::ComPtr<standin::office::ComAddInsObject> entries_;
  std::vector<std::unique_ptr<LoadedAddin>> loaded_;  // in load order
};

}  // namespace qor::tools::qorhost
