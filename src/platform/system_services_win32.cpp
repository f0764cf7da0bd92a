#include "platform/system_services.h"

#include "platform/services_win32.h"

namespace qor::platform {

// The settings live in the registry, so the application folder is not needed here.
SystemServices::SystemServices(const std::filesystem::path& /*appFolder*/)
    : settings_(std::make_unique<RegistrySettingsStore>()),
      shell_(std::make_unique<ShellExecuteShell>()),
      folders_(CreateSpecialFolders()),
      messages_(std::make_unique<WindowsMessageBoxes>()),
      clock_(std::make_unique<UserLocaleClock>()),
      services_{*settings_, *shell_, *folders_, *messages_, *clock_} {}

SystemServices::~SystemServices() = default;

std::unique_ptr<SpecialFolders> CreateSpecialFolders() { return std::make_unique<ShellSpecialFolders>(); }

}  // namespace qor::platform
