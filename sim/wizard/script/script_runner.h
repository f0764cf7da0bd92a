#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "wizard/script/script_answers.h"
#include "wizard/script/wizard_driver.h"

namespace qor::wizard {

// What the runner needs besides the wizard: where the answers go and who makes screenshots.
struct ScriptHooks {
  ScriptAnswers& answers;
  // `answer folder PATH|cancel`: what Outlook's folder picker returns next (nothing: cancel).
  std::function<void(const std::optional<std::string>& path)> answerFolder;
  // `screenshot FILE`: a picture of the wizard on the screen now; without a window there is nothing
  // to take. `screenshot message FILE` takes the next message box instead, before it is answered.
  std::function<void(const std::string& file)> screenshot;
};

// Runs a script's commands, one a line (blank lines and lines starting with "#" are skipped),
// printing what each shows to `out`. Throws ScriptError, naming the line, for a command, control
// or property the wizard does not know.
void RunScript(std::istream& script, WizardDriver& driver, const ScriptHooks& hooks, std::ostream& out);

// Runs one command line; throws ScriptError, without a line number, as RunScript would.
void RunCommand(const std::string& line, WizardDriver& driver, const ScriptHooks& hooks, std::ostream& out);

}  // namespace qor::wizard
