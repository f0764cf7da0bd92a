#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "host/outlook.h"

namespace qor::engine {

// The folder a path of display names joined by "\" names, from the store's top-level folder
// down; null for an empty path. A name the host does not know fails with the host's error.
std::shared_ptr<host::Folder> GetMapiFolder(host::Application& application, std::string_view path);

// The path of a folder: the display names from its store's top-level folder down.
std::string GetFullFolderName(const std::shared_ptr<host::Folder>& AFolder);

}  // namespace qor::engine
