#include "host/automation/outlook_automation.h"

#include "host/automation/automation_object.h"
#include "host/automation/automation_wrappers.h"

namespace qor::host::automation {

namespace {

class AutomationNameSpace : public OutlookObject, public host::NameSpace {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::Folders> Folders() override { return WrapFolders(Get("Folders").RequiredObject()); }
  // Nothing when the user cancels.
  std::shared_ptr<host::Folder> PickFolder() override { return WrapFolder(Call("PickFolder").Object()); }
  std::shared_ptr<host::Item> GetItemFromID(const std::string& entryId, const std::string& storeId) override {
    return WrapItem(Call("GetItemFromID", entryId, storeId).Object());
  }
  std::shared_ptr<host::Folder> GetFolderFromID(const std::string& entryId, const std::string& storeId) override {
    return WrapFolder(Call("GetFolderFromID", entryId, storeId).Object());
  }
};

class AutomationExplorer : public OutlookObject, public host::Explorer {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::Folder> CurrentFolder() override { return WrapFolder(Get("CurrentFolder").Object()); }
};

class AutomationApplication : public OutlookObject, public host::Application {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::NameSpace> GetNamespace(const std::string& type) override {
    return WrapNameSpace(Call("GetNamespace", type));
  }
  std::shared_ptr<host::NameSpace> Session() override { return WrapNameSpace(Get("Session")); }
  // Nothing when Outlook shows no explorer.
  std::shared_ptr<host::Explorer> ActiveExplorer() override {
    auto explorer = Call("ActiveExplorer").Object();
    if (!explorer) return nullptr;
    return std::make_shared<AutomationExplorer>("Explorer", std::move(explorer));
  }
  std::string Version() override { return Text("Version"); }

 private:
  static std::shared_ptr<host::NameSpace> WrapNameSpace(const Answer& answer) {
    return std::make_shared<AutomationNameSpace>("NameSpace", answer.RequiredObject());
  }
};

}  // namespace

std::shared_ptr<host::Application> WrapApplication(com::ComPtr<IDispatch> application) {
  if (!application) return nullptr;
  return std::make_shared<AutomationApplication>("Application", std::move(application));
}

}  // namespace qor::host::automation
