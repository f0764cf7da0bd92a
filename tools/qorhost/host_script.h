#pragma once

// qorhost's script mode: one command per line, one output line per observable event.

#include <optional>
#include <ostream>
#include <string>

namespace qor::tools::qorhost {

struct ScriptRun {
  std::string mailbox;
  int majorVersion = 16;
  std::string script;
  std::optional<std::string> save;  // the mailbox as the run left it
};

// 0 when the script ran to its end; 2 after a command that could not be carried out, 1 after any
// other failure, each reported on `err`. Outlook still running at the end closes as on `quit`.
int RunScript(const ScriptRun& run, std::ostream& out, std::ostream& err);

}  // namespace qor::tools::qorhost
