#pragma once

#include <string_view>

#include "engine/bounce_report.h"
#include "engine/chosen_folders.h"
#include "engine/email_data.h"
#include "engine/progress.h"
#include "host/outlook.h"

namespace qor::engine {

// Rebuilds `data` from every item of the folder at `EmailFolder` (resolved through `chosen` when
// given): each distinct address once, with the entry id of the first item that holds it, in the
// order the scan met them. Host failures end the scan with the entries appended so far kept.
// With `report`, also rebuilds what the bodies say of each entry's address (bounce_report.h):
// that asks a message reporting failed recipients for its entry id even when it adds no entry.
void GetEmailAddressesFromFolder(host::Application& application, std::string_view EmailFolder, TEmailData& data,
                                 ProgressSink& progress, const ChosenFolders* chosen = nullptr,
                                 BounceReport* report = nullptr);

}  // namespace qor::engine
