#pragma once

// A tree-view control showing the stores of a mailbox and their folders, all expanded, with the
// folder behind each tree item.

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <vector>

#include "host/memory/memory_folder.h"

namespace qor::tools::qorhost {

class FolderTree {
 public:
  FolderTree(HWND tree, const std::vector<std::shared_ptr<host::memory::MemoryFolder>>& stores);

  HWND Handle() const noexcept { return tree_; }
  // Null for no item or one this tree did not add.
  std::shared_ptr<host::memory::MemoryFolder> FolderOf(HTREEITEM item) const;
  // Null when the folder is not in the tree.
  HTREEITEM ItemOf(const host::memory::MemoryFolder& folder) const;
  std::shared_ptr<host::memory::MemoryFolder> Selected() const;
  // Selects the folder's item (which raises the tree's selection notifications).
  void Select(const host::memory::MemoryFolder& folder) const;

 private:
  void Add(HTREEITEM parent, const std::vector<std::shared_ptr<host::memory::MemoryFolder>>& folders);

  HWND tree_;
  std::vector<std::shared_ptr<host::memory::MemoryFolder>> folders_;  // an item's lParam indexes these
  std::map<const host::memory::MemoryFolder*, HTREEITEM> items_;
};

}  // namespace qor::tools::qorhost
