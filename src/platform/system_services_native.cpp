#include "platform/system_services.h"

#include "platform/services_native.h"

namespace qor::platform {

SystemServices::SystemServices(const std::filesystem::path& appFolder)
    : settings_(std::make_unique<JsonSettingsStore>(appFolder / "settings.json")),
      shell_(std::make_unique<SpawnShell>()),
      folders_(CreateSpecialFolders()),
      messages_(std::make_unique<StderrMessageBoxes>()),
      clock_(std::make_unique<LocaleClock>()),
      services_{*settings_, *shell_, *folders_, *messages_, *clock_} {}

SystemServices::~SystemServices() = default;

std::unique_ptr<SpecialFolders> CreateSpecialFolders() { return std::make_unique<EnvironmentSpecialFolders>(); }

}  // namespace qor::platform
