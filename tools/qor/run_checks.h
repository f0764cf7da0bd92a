#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/run_options.h"
#include "host/outlook.h"
#include "run_command.h"

namespace qor::tools {

// A run the wizard would never start, such as an option whose box it keeps disabled.
class UsageError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// The options a `qor run` ticks, filled in as the wizard's pages and pickers would fill them.
// Throws UsageError for combinations the wizard never enables.
engine::RunOptions OptionsFromArguments(const RunArguments& arguments, const std::string& emailFolder);

// Resolves the named folders as the wizard's pickers would (full paths, duplicate contact folders
// dropped) and applies the pickers' and the contact folders page's refusals: the first
// refusal's message, or nothing. A path naming no folder throws UsageError.
std::optional<std::string> PickFolders(host::Application& outlook, engine::RunOptions& options);

}  // namespace qor::tools
