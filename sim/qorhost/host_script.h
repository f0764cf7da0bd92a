#pragma once

// qorhost's runs: a script's, one command per line and one output line per observable event, or a
// user's at Outlook's window.

#include <optional>
#include <ostream>
#include <string>

namespace qor::tools::qorhost {

struct HostRun {
  std::string mailbox;
  int majorVersion = 16;
  std::optional<std::string> script;  // none: the user drives Outlook's window
  bool windows = false;               // a script drives Outlook's windows instead of the stand-in
  std::optional<std::string> save;    // the mailbox as the run left it
  bool timings = false;               // how long each command took (see RunHost)
};

// 0 when the script ran to its end or the user closed Outlook; 2 after a command that could not
// be carried out, 1 after any other failure, each reported on `err`. Outlook still running at the
// end closes as on `quit`. With timings, each command of the script prints how long it took and the
// calls the add-ins made meanwhile, and each wizard or menu how long it took to come up, to `err`.
int RunHost(const HostRun& run, std::ostream& out, std::ostream& err);

}  // namespace qor::tools::qorhost
