#pragma once

// The state behind one Application: the in-memory Outlook, the version it reports, the session
// object and the open windows with their activation order. Windows hold it weakly, so no COM
// object keeps another alive in a cycle.

#include <oaidl.h>

#include <memory>
#include <string>
#include <vector>

#include "com/com_ptr.h"
#include "host/memory/memory_outlook.h"
#include "standin/outlook/explorer_object.h"
#include "standin/outlook/inspector_object.h"
#include "standin/outlook/namespace_object.h"
#include "standin/outlook/windows_object.h"

namespace qor::standin {

class OutlookSession : public std::enable_shared_from_this<OutlookSession> {
 public:
  // Opens the first explorer, without events, when `outlook` shows an explorer folder.
  static std::shared_ptr<OutlookSession> Create(std::shared_ptr<host::memory::MemoryOutlook> outlook,
                                                std::string versionText);
  OutlookSession(std::shared_ptr<host::memory::MemoryOutlook> outlook, std::string versionText);
  ~OutlookSession();
  OutlookSession(const OutlookSession&) = delete;
  OutlookSession& operator=(const OutlookSession&) = delete;

  const std::shared_ptr<host::memory::MemoryOutlook>& Outlook() const noexcept { return outlook_; }
  const std::string& VersionText() const noexcept { return versionText_; }
  int MajorVersion() const noexcept { return majorVersion_; }

  const com::ComPtr<NameSpaceObject>& NameSpace() const noexcept { return nameSpace_; }
  const com::ComPtr<WindowsObject>& Explorers() const noexcept { return explorers_; }
  const com::ComPtr<WindowsObject>& Inspectors() const noexcept { return inspectors_; }

  // The most recently activated window of that kind, or of any kind; null when none is open.
  com::ComPtr<ExplorerObject> ActiveExplorer() const;
  com::ComPtr<InspectorObject> ActiveInspector() const;
  com::ComPtr<IDispatch> ActiveWindow() const;

  // NewExplorer / NewInspector (when announced), then activation.
  com::ComPtr<ExplorerObject> OpenExplorer(std::shared_ptr<host::Folder> folder, bool announce);
  com::ComPtr<InspectorObject> OpenInspector(std::shared_ptr<host::Item> item);
  // Deactivate on the window in front, then Activate on this one; nothing when it is in front.
  void Activate(OutlookWindow& window);
  // Close, then Activate on the window that comes to the front.
  void Close(OutlookWindow& window);
  // BeforeFolderSwitch(new folder, Cancel), then, unless cancelled, FolderSwitch. False when cancelled.
  bool SwitchFolder(ExplorerObject& explorer, std::shared_ptr<host::Folder> folder);
  // BeforeViewSwitch(new view, Cancel), then, unless cancelled, ViewSwitch.
  bool SwitchView(ExplorerObject& explorer, const std::string& view);
  void CloseAll();

  // Finds one of this session's windows by its object; null for anything else.
  OutlookWindow* FindWindow(IDispatch* object) const noexcept;

 private:
  struct OpenWindow {
    com::ComPtr<IDispatch> object;
    OutlookWindow* window;
  };

  void Track(OutlookWindow& window);
  void CloseWindow(OutlookWindow& window, bool activateNext);
  void SyncExplorerFolder();

  std::shared_ptr<host::memory::MemoryOutlook> outlook_;
  std::string versionText_;
  int majorVersion_;
  com::ComPtr<NameSpaceObject> nameSpace_;
  com::ComPtr<WindowsObject> explorers_;
  com::ComPtr<WindowsObject> inspectors_;
  std::vector<OpenWindow> zOrder_;  // front last
};

// The major version of a version text such as "16.0.0.4266"; 0 when there is none.
int MajorVersionOf(const std::string& versionText) noexcept;

}  // namespace qor::standin
