#include "standin/outlook/folder_objects.h"

#include <optional>
#include <string>
#include <utility>

#include "standin/outlook/items_object.h"
#include "standin/outlook/table_object.h"

namespace qor::standin {

const com::DispatchTable<FolderObject>& FolderObject::DispatchMembers() {
  static const auto table =
      com::DispatchTable<FolderObject>()
          .Property("Name", [](FolderObject& self) { return self.folder_->Name(); })
          .Property("Parent", &FolderObject::Parent)
          .Property("Folders",
                    [](FolderObject& self) { return MakeFoldersObject(self.folder_->Folders(), self.session_); })
          .Property("Items", [](FolderObject& self) { return MakeItemsObject(self.folder_->Items()); })
          .Property("EntryID", [](FolderObject& self) { return self.folder_->EntryID(); })
          .Property("StoreID", [](FolderObject& self) { return self.folder_->StoreID(); })
          .Property("DefaultItemType",
                    [](FolderObject& self) { return static_cast<int>(self.folder_->DefaultItemType()); })
          .Method("GetTable", [](FolderObject& self, std::optional<std::string> filter, std::optional<int> contents) {
            return MakeTableObject(*self.folder_, filter.value_or(std::string()), contents.value_or(0),
                                   self.session_->MajorVersion());
          });
  return table;
}

com::Variant FolderObject::Parent() {
  // A top-level folder's parent is the session, which callers tell apart by its lack of MAPIFolder.
  if (auto parent = folder_->Parent()) return MakeFolderObject(std::move(parent), session_);
  return session_;
}

const com::DispatchTable<FoldersObject>& FoldersObject::DispatchMembers() {
  static const auto table = com::DispatchTable<FoldersObject>()
                                .Property("Count", [](FoldersObject& self) { return self.folders_->Count(); })
                                .Property("Item", DISPID_VALUE, &FoldersObject::Item);
  return table;
}

com::ComPtr<IDispatch> FoldersObject::Item(const com::Variant& index) {
  if (index.Type() == VT_BSTR) return MakeFolderObject(folders_->Item(index.ToUtf8()), session_);
  return MakeFolderObject(folders_->Item(index.ToInt()), session_);
}

com::ComPtr<IDispatch> MakeFolderObject(std::shared_ptr<host::Folder> folder, com::ComPtr<NameSpaceObject> session) {
  if (!folder) return nullptr;
  return com::Make<FolderObject>(std::move(folder), std::move(session));
}

com::ComPtr<IDispatch> MakeFoldersObject(std::shared_ptr<host::Folders> folders, com::ComPtr<NameSpaceObject> session) {
  return com::Make<FoldersObject>(std::move(folders), std::move(session));
}

std::shared_ptr<host::Folder> HostFolderOf(IDispatch* object) noexcept {
  com::ComPtr<IStandinFolder> folder;
  if (object == nullptr || FAILED(object->QueryInterface(__uuidof(IStandinFolder), folder.PutVoid()))) return nullptr;
  return folder->StandinFolder();
}

}  // namespace qor::standin
