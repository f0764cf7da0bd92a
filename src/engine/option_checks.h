#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_options.h"
#include "host/outlook.h"

namespace qor::engine {

// The refusal of the contact folders page: scanning is ticked but no folder is listed.
std::optional<std::string> CheckContactFolderList(const RunOptions& options);

// The options page's checks, in order; the first refusal's message, or nothing.
std::optional<std::string> CheckRunOptions(const RunOptions& options);

// The pickers' refusals for a folder the user chose, or nothing when it is taken.
std::optional<std::string> CheckContactFolderPick(const std::shared_ptr<host::Folder>& folder);
std::optional<std::string> CheckMailDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                    const std::string& emailFolder);
std::optional<std::string> CheckContactDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                       const std::vector<std::string>& contactFolders);

// True when `list` holds `path`, ignoring letter case.
bool HoldsFolderPath(const std::vector<std::string>& list, const std::string& path);

}  // namespace qor::engine
