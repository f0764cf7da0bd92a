#pragma once

// MAPIFolder and Folders over the host's folders. Made fresh on every call, as Outlook does.

#include <oaidl.h>

#include <memory>

#include "com/com_object.h"
#include "host/outlook.h"
#include "standin/office/counted_dispatch.h"
#include "standin/outlook/namespace_object.h"
#include "standin/outlook/outlook_ids.h"
#include "standin/outlook/standin_folder.h"

namespace qor::standin {

class FolderObject final : public com::ComObject<FolderObject, office::CountedDispatch<FolderObject>, IStandinFolder> {
 public:
  // `session` is the NameSpace object, the parent of a top-level folder.
  FolderObject(std::shared_ptr<host::Folder> folder, com::ComPtr<NameSpaceObject> session) noexcept
      : folder_(std::move(folder)), session_(std::move(session)) {}

  static const com::DispatchTable<FolderObject>& DispatchMembers();
  static bool ExtraInterface(REFIID iid) noexcept { return iid == ids::kMapiFolder; }

  std::shared_ptr<host::Folder> StandinFolder() const noexcept override { return folder_; }

 private:
  com::Variant Parent();

  std::shared_ptr<host::Folder> folder_;
  com::ComPtr<NameSpaceObject> session_;
};

class FoldersObject final : public com::ComObject<FoldersObject, office::CountedDispatch<FoldersObject>> {
 public:
  FoldersObject(std::shared_ptr<host::Folders> folders, com::ComPtr<NameSpaceObject> session) noexcept
      : folders_(std::move(folders)), session_(std::move(session)) {}

  static const com::DispatchTable<FoldersObject>& DispatchMembers();

 private:
  // By position (1-based) or by display name, ignoring case.
  com::ComPtr<IDispatch> Item(const com::Variant& index);

  std::shared_ptr<host::Folders> folders_;
  com::ComPtr<NameSpaceObject> session_;
};

// Null for a null folder.
com::ComPtr<IDispatch> MakeFolderObject(std::shared_ptr<host::Folder> folder, com::ComPtr<NameSpaceObject> session);
com::ComPtr<IDispatch> MakeFoldersObject(std::shared_ptr<host::Folders> folders, com::ComPtr<NameSpaceObject> session);

// The host folder behind one of our folder objects; null for anything else, a null object included.
std::shared_ptr<host::Folder> HostFolderOf(IDispatch* object) noexcept;

}  // namespace qor::standin
