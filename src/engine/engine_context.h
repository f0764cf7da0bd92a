#pragma once

#include <string>

#include "engine/email_data.h"
#include "engine/progress.h"
#include "host/outlook.h"
#include "platform/services.h"

namespace qor::engine {

// What the wizard hands every engine step: Outlook, the address table, the progress page, the
// platform services and the application folder that holds the add-in's files.
struct EngineContext {
  host::Application& outlook;
  TEmailData& data;
  ProgressSink& progress;
  platform::Services& services;
  std::string usersAppFolderPath;  // UTF-8
};

}  // namespace qor::engine
