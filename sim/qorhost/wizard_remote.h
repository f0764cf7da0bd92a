#pragma once

// The wizard an add-in shows, driven by the wizard's own script commands (click, type, select,
// tab, show) with the meanings and output lines of `qor wizard --window`: window messages to the
// real dialog, found on the screen, its controls named by a form of the same design.

#include <memory>
#include <ostream>
#include <string>

#include "host/outlook.h"

namespace qor::tools::qorhost {

class WizardRemote {
 public:
  // `outlook` serves only the naming form, which never calls it.
  WizardRemote(host::Application& outlook, std::ostream& out);
  ~WizardRemote();
  WizardRemote(const WizardRemote&) = delete;
  WizardRemote& operator=(const WizardRemote&) = delete;

  // Runs `line` on the wizard on the screen, or prints "no wizard". Throws ScriptError for a
  // command the wizard does not understand.
  void Run(const std::string& line);

 private:
  struct Layout;

  host::Application& outlook_;
  std::ostream& out_;
  std::unique_ptr<Layout> layout_;  // made for the first wizard shown
};

}  // namespace qor::tools::qorhost
