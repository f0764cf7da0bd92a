#pragma once

#include <string>

#include "engine/bounce_report.h"
#include "engine/chosen_folders.h"
#include "engine/contact_folder_cache.h"
#include "engine/email_data.h"
#include "engine/progress.h"
#include "host/outlook.h"
#include "platform/services.h"

namespace qor::engine {

// What the wizard hands every engine step: Outlook, the address table, the progress page, the
// platform services, the application folder that holds the add-in's files and the folders chosen.
struct EngineContext {
  host::Application& outlook;
  TEmailData& data;
  ProgressSink& progress;
  platform::Services& services;
  std::string usersAppFolderPath;  // UTF-8
  // The folders the wizard's explorer and pickers gave, which its paths name; null: paths alone.
  const ChosenFolders* chosenFolders = nullptr;
  // What the scan found out about the table's addresses; null: nothing.
  const BounceReport* bounces = nullptr;
  // Filled as the run goes; a context lives for one run.
  mutable ContactFolderCache contactFolders = {};
};

}  // namespace qor::engine
