#pragma once

#include <string>

#include "engine/engine_context.h"

namespace qor::engine {

// Moves into `DestinationFolder` every distinct message named in the table's message column,
// whatever the entry's exclusion mark. Both folders are full folder paths.
void MoveEmails(EngineContext& context, const std::string& emailFolder, const std::string& DestinationFolder);

// Moves into `DestinationFolder` every scanned message whose failed recipients all take part in
// this run (context.bounces); a message that reported none stays.
void MoveProcessedBounces(EngineContext& context, const std::string& emailFolder,
                          const std::string& DestinationFolder);

}  // namespace qor::engine
