// qor: the bounce-back engine on the command line.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <exception>
#include <iostream>

#include "binary_stdio.h"
#include "commands.h"
#include "run_command.h"
#include "utf8_arguments.h"
#include "wizard_command.h"
#include "platform/diagnostics.h"

namespace {

// A command line qor cannot take, as for a run the wizard refused.
constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  qor::tools::UseBinaryStdio();

  CLI::App app{"QOR for Outlook: bounce-back addresses from a mailbox file", "qor"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "QOR for Outlook " QOR_VERSION);
  bool overCom = false;
  bool verbose = false;
  app.add_flag("--verbose", verbose, "Write the diagnostics log's records (errors passed over or shown) to standard error");
#ifdef _WIN32
  app.add_flag("--com", overCom, "Make every Outlook call through COM, as the add-in does inside Outlook");
#endif

  std::optional<std::string> extractFile;
  auto* extract = app.add_subcommand("extract", "Print the addresses in FILE (or standard input)");
  extract->add_option("FILE", extractFile, "File to read as bytes");
  bool extractClassify = false;
  extract->add_flag("--classify", extractClassify, "Follow each address with its role, failure kind and status");

  std::string mailbox;
  std::optional<std::string> folder;
  auto* scan = app.add_subcommand("scan", "Print the address table of a folder of MAILBOX");
  scan->add_option("MAILBOX", mailbox, "Mailbox file (JSON)")->required();
  scan->add_option("--folder", folder, "Folder path, e.g. Mailbox\\Bounces (default: the explorer's folder)");
  bool scanClassify = false;
  scan->add_flag("--classify", scanClassify, "Follow each entry with its address's role, failure kind and status");

  qor::tools::RunArguments runArguments;
  auto* run = qor::tools::AddRunCommand(app, runArguments);

  qor::tools::WizardArguments wizardArguments;
  auto* wizard = qor::tools::AddWizardCommand(app, wizardArguments);

  qor::tools::Utf8Arguments arguments(argc, argv);
  if (arguments.Count() <= 1) {
    std::cerr << app.help();
    return kUsageError;
  }
  try {
    app.parse(arguments.Count(), arguments.Values());
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : kUsageError;  // --help is no error
  }

  if (verbose) qor::platform::diagnostics::SetEcho(&std::cerr);
  runArguments.overCom = overCom;
  wizardArguments.overCom = overCom;
  try {
    if (*extract) qor::tools::RunExtract(extractFile, extractClassify, std::cout);
    if (*scan) qor::tools::RunScan(mailbox, folder, overCom, scanClassify, std::cout);
    int status = *run ? qor::tools::RunRun(runArguments, std::cout, std::cerr) : 0;
    if (*wizard) status = qor::tools::RunWizard(wizardArguments, std::cout);
    std::cout.flush();
    if (!std::cout) {
      // A full disk or a closed pipe: the output is incomplete, and the user must hear of it.
      std::cerr << "qor: cannot write to standard output: " << (errno != 0 ? std::strerror(errno) : "write failed")
                << '\n';
      return 1;
    }
    return status;
  } catch (const std::exception& e) {
    std::cerr << "qor: " << e.what() << '\n';
    return 1;
  }
}
