#pragma once

#include <filesystem>
#include <memory>

#include "platform/services.h"

namespace qor::platform {

// This platform's real services. On Windows: the registry, ShellExecute, the shell's folders,
// message boxes and the user's date format. Natively: "settings.json" in the application folder,
// a started process, $XDG_DOCUMENTS_DIR or ~/Documents, standard error and the environment's locale.
class SystemServices {
 public:
  explicit SystemServices(const std::filesystem::path& appFolder);
  ~SystemServices();
  SystemServices(const SystemServices&) = delete;
  SystemServices& operator=(const SystemServices&) = delete;

  Services& Get() { return services_; }

 private:
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<SpecialFolders> folders_;
  std::unique_ptr<MessageBoxes> messages_;
  std::unique_ptr<Clock> clock_;
  Services services_;
};

// This platform's special folders alone, for finding the application folder before the services
// that keep their settings there exist.
std::unique_ptr<SpecialFolders> CreateSpecialFolders();

}  // namespace qor::platform
