#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/outlook.h"

namespace qor::host::memory {

class MemoryFolder;
class MemoryItem;

// A live view of a list of folders: a folder's subfolders or the session's top-level folders.
class MemoryFolders final : public host::Folders {
 public:
  // The pointer shares ownership with the list's owner, which it keeps alive.
  explicit MemoryFolders(std::shared_ptr<const std::vector<std::shared_ptr<MemoryFolder>>> folders);
  int Count() override;
  std::shared_ptr<host::Folder> Item(int index) override;
  std::shared_ptr<host::Folder> Item(const std::string& name) override;

 private:
  std::shared_ptr<const std::vector<std::shared_ptr<MemoryFolder>>> folders_;
};

// GetFirst/GetNext keep their cursor on the collection object, as Outlook's do.
class CursorItems : public host::Items {
 public:
  std::shared_ptr<host::Item> GetFirst() override;
  std::shared_ptr<host::Item> GetNext() override;

 private:
  int cursor_ = 0;
};

// A live view of a folder's items: moves and copies show at once.
class FolderItems final : public CursorItems {
 public:
  explicit FolderItems(std::shared_ptr<MemoryFolder> folder);
  int Count() override;
  std::shared_ptr<host::Item> Item(int index) override;
  std::shared_ptr<host::Items> Restrict(const std::string& filter) override;

 private:
  std::shared_ptr<MemoryFolder> folder_;
};

// The items a restriction matched when it ran, in folder order.
class ItemSnapshot final : public CursorItems {
 public:
  explicit ItemSnapshot(std::vector<std::shared_ptr<MemoryItem>> items);
  int Count() override;
  std::shared_ptr<host::Item> Item(int index) override;
  std::shared_ptr<host::Items> Restrict(const std::string& filter) override;

 private:
  std::vector<std::shared_ptr<MemoryItem>> items_;
};

}  // namespace qor::host::memory
