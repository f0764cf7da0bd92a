#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/memory/mailbox_file.h"
#include "platform/atomic_file.h"

namespace qor::host::memory {
namespace {

// Keys keep the order a person writing a fixture would use.
using Json = nlohmann::ordered_json;

Json ItemJson(const MemoryItem& item) {
  Json json = Json::object();
  json["entryId"] = item.StoredEntryId();
  json["class"] = static_cast<int>(item.StoredClass());
  if (const auto* contact = dynamic_cast<const MemoryContact*>(&item)) {
    const ContactFields& fields = contact->StoredFields();
    json["fullName"] = fields.fullName;
    json["companyName"] = fields.companyName;
    json["businessTelephoneNumber"] = fields.businessTelephoneNumber;
    json["email1Address"] = fields.email1Address;
    json["email2Address"] = fields.email2Address;
    json["email3Address"] = fields.email3Address;
  } else {
    json["subject"] = item.StoredSubject();
  }
  json["body"] = item.StoredBody();
  return json;
}

Json FolderJson(const MemoryFolder& folder) {
  Json json = Json::object();
  json["name"] = folder.DisplayName();
  if (!folder.ParentFolder()) json["storeId"] = folder.StoreId();
  json["defaultItemType"] = static_cast<int>(folder.ItemTypeByDefault());
  Json folders = Json::array();
  for (const auto& subfolder : folder.Subfolders()) folders.push_back(FolderJson(*subfolder));
  json["folders"] = std::move(folders);
  Json items = Json::array();
  folder.ForEachItem([&items](const std::shared_ptr<MemoryItem>& item) { items.push_back(ItemJson(*item)); });
  json["items"] = std::move(items);
  return json;
}

Json FolderPath(std::shared_ptr<MemoryFolder> folder) {
  if (!folder) return nullptr;
  std::vector<std::string> names;
  for (; folder; folder = folder->ParentFolder()) names.push_back(folder->DisplayName());
  // A separator between every two names, even when the store's name is empty.
  std::string path = names.back();
  for (auto name = names.rbegin() + 1; name != names.rend(); ++name) path += '\\' + *name;
  return path;
}

}  // namespace

std::string SerializeMailbox(const MemoryOutlook& outlook) {
  Json json = Json::object();
  json["outlookVersion"] = outlook.VersionText();
  json["activeExplorerFolder"] = FolderPath(outlook.ActiveExplorerFolder());
  Json stores = Json::array();
  for (const auto& store : outlook.Stores()) stores.push_back(FolderJson(*store));
  json["stores"] = std::move(stores);
  // Text that is no valid UTF-8 is written as U+FFFD, so the file is always valid JSON.
  return json.dump(1, ' ', false, nlohmann::detail::error_handler_t::replace) + "\n";
}

void SaveMailbox(const MemoryOutlook& outlook, const std::filesystem::path& path) {
  platform::WriteFileAtomically(path, SerializeMailbox(outlook));
}

}  // namespace qor::host::memory
