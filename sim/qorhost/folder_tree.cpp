#include "folder_tree.h"

#include "com/utf.h"

namespace qor::tools::qorhost {

using host::memory::MemoryFolder;

FolderTree::FolderTree(HWND tree, const std::vector<std::shared_ptr<MemoryFolder>>& stores) : tree_(tree) {
  Add(TVI_ROOT, stores);
}

void FolderTree::Add(HTREEITEM parent, const std::vector<std::shared_ptr<MemoryFolder>>& folders) {
  for (const auto& folder : folders) {
    const std::wstring name = com::ToUtf16(folder->DisplayName());
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.lParam = static_cast<LPARAM>(folders_.size());
    const auto item =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    folders_.push_back(folder);
    items_[folder.get()] = item;
    Add(item, folder->Subfolders());
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  }
}

std::shared_ptr<MemoryFolder> FolderTree::FolderOf(HTREEITEM item) const {
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (item == nullptr || !SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  const auto index = static_cast<std::size_t>(data.lParam);
  return index < folders_.size() ? folders_[index] : nullptr;
}

HTREEITEM FolderTree::ItemOf(const MemoryFolder& folder) const {
  const auto found = items_.find(&folder);
  return found == items_.end() ? nullptr : found->second;
}

std::shared_ptr<MemoryFolder> FolderTree::Selected() const {
  return FolderOf(reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void FolderTree::Select(const MemoryFolder& folder) const {
  if (const HTREEITEM item = ItemOf(folder))
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

}  // namespace qor::tools::qorhost
