#include "engine/chosen_folders.h"

#include <algorithm>

#include "engine/folder_path.h"
#include "engine/text.h"
#include "platform/case_blind.h"

namespace qor::engine {

std::string ChosenFolders::Remember(const std::shared_ptr<host::Folder>& folder) {
  Chosen chosen{GetFullFolderName(folder), folder->EntryID(), folder->StoreID()};
  const std::string path = chosen.path;
  const auto same = std::find_if(chosen_.begin(), chosen_.end(), [&path](const Chosen& known) {
    return platform::SameTextIgnoringCase(known.path, path);
  });
  if (same != chosen_.end()) {
    *same = std::move(chosen);
  } else {
    chosen_.push_back(std::move(chosen));
  }
  return path;
}

std::shared_ptr<host::Folder> ChosenFolders::Resolve(host::Application& application, std::string_view path) const {
  const std::string wanted = Trim(path);
  const auto known = std::find_if(chosen_.begin(), chosen_.end(), [&wanted](const Chosen& chosen) {
    return platform::SameTextIgnoringCase(Trim(chosen.path), wanted);
  });
  if (known != chosen_.end()) {
    try {
      auto folder = application.GetNamespace("MAPI")->GetFolderFromID(known->entryId, known->storeId);
      if (folder && platform::SameTextIgnoringCase(Trim(GetFullFolderName(folder)), wanted)) return folder;
    } catch (const host::HostError&) {
      // Deleted or out of reach: the path is all there is.
    }
  }
  return GetMapiFolder(application, path);
}

std::shared_ptr<host::Folder> ResolveFolder(host::Application& application, const ChosenFolders* chosen,
                                            std::string_view path) {
  return chosen ? chosen->Resolve(application, path) : GetMapiFolder(application, path);
}

std::shared_ptr<host::Folder> RequireFolder(host::Application& application, const ChosenFolders* chosen,
                                            std::string_view path) {
  auto folder = ResolveFolder(application, chosen, path);
  if (!folder) ThrowFolderNotFound(path);
  return folder;
}

void ThrowFolderNotFound(std::string_view path) {
  throw host::HostError("The folder \"" + std::string(path) + "\" cannot be found.");
}

}  // namespace qor::engine
