#include "engine/contact_folder_cache.h"

namespace qor::engine {

std::shared_ptr<host::ContactItem> ContactFolderCache::Fetch(host::Application& outlook, const ChosenFolders* chosen,
                                                             std::string_view path, const std::string& entryId,
                                                             Resolver resolve) {
  auto storeId = storeIds_.find(std::string(path));
  if (storeId == storeIds_.end()) {
    const auto folder = resolve(outlook, chosen, path);
    if (!folder) return nullptr;
    storeId = storeIds_.emplace(std::string(path), folder->StoreID()).first;
  }
  if (!session_) session_ = outlook.Session();
  return host::AsContact(session_->GetItemFromID(entryId, storeId->second));
}

}  // namespace qor::engine
