// qorhost: Outlook's stand-in, loading COM add-ins as Outlook of a given version does.
#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <io.h>
#include <cstdio>
#include <exception>
#include <iostream>

#include "host_script.h"
#include "outlook_image.h"
#include "server_registration.h"

namespace {

constexpr int kUsageError = 2;

// `/regserver` and `/unregserver`, as Outlook's setup runs OUTLOOK.EXE.
int RunRegistration(const std::string& option) {
  if (lstrcmpiA(option.c_str(), "/regserver") == 0) {
    qor::tools::qorhost::RegisterOutlookServer();
  } else {
    qor::tools::qorhost::UnregisterOutlookServer();
  }
  return 0;
}

bool IsRegistrationOption(const char* argument) {
  return lstrcmpiA(argument, "/regserver") == 0 || lstrcmpiA(argument, "/unregserver") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Bytes out exactly as written, each line at once: add-ins print through the same handle, and a
  // crash must not take the lines before it.
  _setmode(_fileno(stdout), _O_BINARY);
  std::cout << std::unitbuf;

  CLI::App app{"qorhost: Outlook's stand-in; loads the COM add-ins registered for Outlook as that version does"};
  qor::tools::qorhost::HostRun run;
  app.add_option("--mailbox", run.mailbox, "Mailbox file (JSON)")->required();
  app.add_option("--version", run.majorVersion, "Outlook's major version")
      ->check(CLI::IsMember({9, 10, 11, 12, 14, 15, 16}));
  app.add_option("--script", run.script, "Script of commands, one a line; without one, Outlook's window is the user's");
  app.add_flag("--window", run.windows, "The script drives Outlook's windows on the screen");
  app.add_flag("--timings", run.timings, "Print how long each command took, and its calls on Outlook, to stderr");
  app.add_option("--save", run.save, "Where to write the mailbox as the run left it");

  try {
    if (argc == 2 && IsRegistrationOption(argv[1])) return RunRegistration(argv[1]);
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
      return app.exit(e) == 0 ? 0 : kUsageError;
    }
    if (!qor::tools::qorhost::RunsAsOutlook(run.majorVersion))
      return static_cast<int>(
          qor::tools::qorhost::RunImage(qor::tools::qorhost::PrepareOutlookImage(run.majorVersion)));
    return qor::tools::qorhost::RunHost(run, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "qorhost: " << e.what() << '\n';
    return 1;
  }
}
