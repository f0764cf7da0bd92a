#include "standin/outlook/namespace_object.h"

#include <optional>
#include <string>
#include <utility>

#include "standin/outlook/folder_objects.h"
#include "standin/outlook/item_objects.h"

namespace qor::standin {

NameSpaceObject::NameSpaceObject(std::shared_ptr<host::NameSpace> session, int majorVersion)
    : session_(std::move(session)), majorVersion_(majorVersion) {
  AddConnectionPoint(ids::kNameSpaceEvents);
}

const com::DispatchTable<NameSpaceObject>& NameSpaceObject::DispatchMembers() {
  using Self = NameSpaceObject;
  static const auto table =
      com::DispatchTable<Self>()
          .Property("Type", [](Self&) { return std::string("MAPI"); })
          .Property("Folders",
                    [](Self& self) { return MakeFoldersObject(self.session_->Folders(), self.ThisObject()); })
          .Method("PickFolder", [](Self& self) { return self.MakeFolder(self.session_->PickFolder()); })
          .Method("GetItemFromID",
                  [](Self& self, std::string entryId, std::optional<std::string> storeId) {
                    return MakeItemObject(self.session_->GetItemFromID(entryId, storeId.value_or(std::string())));
                  })
          .Method("GetFolderFromID", [](Self& self, std::string entryId, std::optional<std::string> storeId) {
            return self.MakeFolder(self.session_->GetFolderFromID(entryId, storeId.value_or(std::string())));
          });
  return table;
}

com::ComPtr<IDispatch> NameSpaceObject::MakeFolder(std::shared_ptr<host::Folder> folder) {
  return MakeFolderObject(std::move(folder), ThisObject());
}

com::ComPtr<NameSpaceObject> NameSpaceObject::ThisObject() {
  com::ComPtr<NameSpaceObject> self;
  self.CopyFrom(this);
  return self;
}

}  // namespace qor::standin
