#pragma once

#include <filesystem>
#include <string>

#include "engine/engine_context.h"
#include "engine/run_options.h"

namespace qor::engine {

// Writes the addresses that take part, tab-delimited and optionally with their contacts' data, to
// the path the user picked. Should the gathering fail, the lines gathered so far are written
// before the error goes on.
void ExportToTabFile(EngineContext& context, const RunOptions& options);

// Writes the addresses that take part to the address file the external application reads.
void ExportEmailAddressOnly(EngineContext& context);

// "olqor.txt" in the application folder.
std::filesystem::path AddressFilePath(const std::string& usersAppFolderPath);

}  // namespace qor::engine
