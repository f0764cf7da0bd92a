#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/outlook.h"

namespace qor::engine {

// What a run learns of the contact folders its groups name, so that fetching a matched contact
// asks Outlook for the folder once per run and not once per contact.
class ContactFolderCache {
 public:
  // The store id of the folder at `path` (spelt as the group spells it) when the run reached it.
  const std::string* StoreId(std::string_view path) const {
    const auto found = storeIds_.find(std::string(path));
    return found != storeIds_.end() ? &found->second : nullptr;
  }
  const std::string& Remember(std::string_view path, std::string storeId) {
    return storeIds_.insert_or_assign(std::string(path), std::move(storeId)).first->second;
  }

  // The session contacts are fetched through.
  host::NameSpace& Session(host::Application& outlook) {
    if (!session_) session_ = outlook.Session();
    return *session_;
  }

 private:
  std::unordered_map<std::string, std::string> storeIds_;
  std::shared_ptr<host::NameSpace> session_;
};

}  // namespace qor::engine
