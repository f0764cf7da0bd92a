#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace qor::tools {

// `qor wizard`: a script drives the wizard opened on a mailbox file.
struct WizardArguments {
  std::string mailbox;
  std::string script;
  std::optional<std::string> appFolder;
  std::optional<std::string> save;
  bool window = false;
  bool overCom = false;  // the global --com
};

CLI::App* AddWizardCommand(CLI::App& app, WizardArguments& arguments);

// Prints what the script shows to `out`; returns the exit status. Script mistakes are thrown.
int RunWizard(const WizardArguments& arguments, std::ostream& out);

}  // namespace qor::tools
