#pragma once

#include <string>

#include "engine/engine_context.h"
#include "engine/run_options.h"

namespace qor::engine {

// Removes each taken entry's address from every contact linked to it; with AutoCascade the
// contact's remaining addresses move up one slot. Host failures end the action.
void DeleteEmailAddress(EngineContext& context, bool AutoCascade);

// Appends "[Processed by QOR]" and the address, optionally dated, to the notes of every contact
// linked to a taken entry. A failure shows the entry's address and ends the action quietly.
void AddNotes(EngineContext& context, bool notesDateStamp);

// Copies or moves every contact linked to a taken entry into the folder at
// `ContactFolderDestination`. Host failures end the action.
void MoveContactsToFolder(EngineContext& context, const std::string& ContactFolderDestination,
                          ContactTransfer copyOrMove);

}  // namespace qor::engine
