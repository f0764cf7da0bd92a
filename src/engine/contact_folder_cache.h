#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/chosen_folders.h"
#include "host/outlook.h"

namespace qor::engine {

// Fetches the contacts a run's groups name, asking Outlook for each group's folder once per run
// and not once per contact.
class ContactFolderCache {
 public:
  // How a group's folder path becomes a folder: ResolveFolder (null when none) or RequireFolder
  // (which fails with the designed message).
  using Resolver = std::shared_ptr<host::Folder> (*)(host::Application&, const ChosenFolders*, std::string_view);

  // The contact `entryId` names in the store of the folder at `path` (spelt as the group spells
  // it); null when `resolve` gives no folder or the item is no contact.
  std::shared_ptr<host::ContactItem> Fetch(host::Application& outlook, const ChosenFolders* chosen,
                                           std::string_view path, const std::string& entryId, Resolver resolve);

 private:
  std::unordered_map<std::string, std::string> storeIds_;
  std::shared_ptr<host::NameSpace> session_;
};

}  // namespace qor::engine
