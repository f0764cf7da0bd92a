#include "host/automation/outlook_automation.h"

#include "host/automation/automation_object.h"
#include "host/automation/automation_wrappers.h"

namespace qor::host::automation {

namespace {

class AutomationNameSpace : public OutlookObject, public host::NameSpace {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::Folders> Folders() override { return WrapFolders(RequiredObjectOf(Get("Folders"), "Folders")); }
  // Nothing when the user cancels.
  std::shared_ptr<host::Folder> PickFolder() override { return WrapFolder(ObjectOf(Call("PickFolder"))); }
  std::shared_ptr<host::Item> GetItemFromID(const std::string& entryId, const std::string& storeId) override {
    return WrapItem(ObjectOf(Call("GetItemFromID", entryId, storeId)));
  }
};

class AutomationExplorer : public OutlookObject, public host::Explorer {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::Folder> CurrentFolder() override { return WrapFolder(ObjectOf(Get("CurrentFolder"))); }
};

class AutomationApplication : public OutlookObject, public host::Application {
 public:
  using OutlookObject::OutlookObject;

  std::shared_ptr<host::NameSpace> GetNamespace(const std::string& type) override {
    return WrapNameSpace(Call("GetNamespace", type), "GetNamespace");
  }
  std::shared_ptr<host::NameSpace> Session() override { return WrapNameSpace(Get("Session"), "Session"); }
  // Nothing when Outlook shows no explorer.
  std::shared_ptr<host::Explorer> ActiveExplorer() override {
    auto explorer = ObjectOf(Call("ActiveExplorer"));
    if (!explorer) return nullptr;
    return std::make_shared<AutomationExplorer>(std::move(explorer));
  }
  std::string Version() override { return Text("Version"); }

 private:
  static std::shared_ptr<host::NameSpace> WrapNameSpace(const com::Variant& value, std::string_view member) {
    return std::make_shared<AutomationNameSpace>(RequiredObjectOf(value, member));
  }
};

}  // namespace

std::shared_ptr<host::Application> WrapApplication(com::ComPtr<IDispatch> application) {
  if (!application) return nullptr;
  return std::make_shared<AutomationApplication>(std::move(application));
}

}  // namespace qor::host::automation
