#include "engine/folder_path.h"

#include <vector>

namespace qor::engine {

namespace {

// Empty components stay; a trailing "\" adds none.
std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> components;
  std::size_t start = 0;
  while (start < path.size()) {
    const auto end = path.find('\\', start);
    if (end == std::string_view::npos) {
      components.emplace_back(path.substr(start));
      break;
    }
    components.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return components;
}

}  // namespace

std::shared_ptr<host::Folder> GetMapiFolder(host::Application& application, std::string_view path) {
  const auto components = SplitPath(path);
  if (components.empty()) return nullptr;

  auto nameSpace = application.GetNamespace("MAPI");
  auto folder = nameSpace->Folders()->Item(components.front());
  for (std::size_t i = 1; i < components.size() && folder; ++i) {
    folder = folder->Folders()->Item(components[i]);
  }
  return folder;
}

std::string GetFullFolderName(const std::shared_ptr<host::Folder>& AFolder) {
  std::string path;
  for (auto folder = AFolder; folder;) {
    path.insert(0, "\\" + folder->Name());
    try {
      folder = folder->Parent();
    } catch (const host::HostError&) {
      break;  // an unreadable parent ends the walk with what was built so far
    }
  }
  if (!path.empty()) path.erase(0, 1);
  return path;
}

}  // namespace qor::engine
