#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/outlook.h"

namespace qor::engine {

// The folders the explorer and the folder pickers handed the wizard, each with the path the wizard
// shows for it. A path alone may name another folder too (two stores called "Personal Folders")
// or none at all (a name holding "\"), so a path the wizard shows is resolved to the folder it was
// made from, by that folder's ids, for as long as Outlook still shows that folder under it.
class ChosenFolders {
 public:
  // The folder's path (GetFullFolderName), remembered with the folder's entry and store ids.
  std::string Remember(const std::shared_ptr<host::Folder>& folder);

  // The folder remembered under `path` (compared trimmed, ignoring case in every script) while
  // its own path still reads so; otherwise GetMapiFolder's folder for the path, as typed paths are.
  std::shared_ptr<host::Folder> Resolve(host::Application& application, std::string_view path) const;

 private:
  struct Chosen {
    std::string path;
    std::string entryId;
    std::string storeId;
  };
  std::vector<Chosen> chosen_;
};

// The folder a path names: `chosen`'s when there are chosen folders, else GetMapiFolder's.
std::shared_ptr<host::Folder> ResolveFolder(host::Application& application, const ChosenFolders* chosen,
                                            std::string_view path);

// The error of a path that names no folder: a HostError, "The folder "path" cannot be found.".
[[noreturn]] void ThrowFolderNotFound(std::string_view path);

// ResolveFolder, failing with ThrowFolderNotFound when the path names no folder: an action on no
// folder is an error, not a no-op.
std::shared_ptr<host::Folder> RequireFolder(host::Application& application, const ChosenFolders* chosen,
                                            std::string_view path);

}  // namespace qor::engine
