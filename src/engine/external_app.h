#pragma once

#include <string>

#include "engine/engine_context.h"
#include "platform/services.h"

namespace qor::engine {

// The parameter text the program is started with: the built-in one for the companion engine
// program when none is typed, otherwise the typed text with "{QORFILE}" (any letter case)
// replaced by the address file's path, in quotes when it holds a blank and the text does not
// already quote it.
std::string BuildParameters(const std::string& exepath, const std::string& exeparam,
                            const std::string& usersAppFolderPath);

// Starts the program with the shell's "open" verb and returns at once. A program that cannot be
// started is reported in an error message box with the system's reason; the run goes on.
void ExecuteApplication(EngineContext& context, const std::string& exepath, const std::string& exeparam);

// The texts of "Run external application"'s two boxes as the settings keep them.
struct ExeSettings {
  std::string exePath;   // edtExternalExePath
  std::string exeParam;  // edtparameters, placeholder unexpanded
};

void SaveExePathAndParam(platform::SettingsStore& settings, const ExeSettings& values);
ExeSettings RestoreExePathAndParam(platform::SettingsStore& settings);

}  // namespace qor::engine
