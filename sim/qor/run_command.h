#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace qor::tools {

// `qor run`: the wizard's whole run on a mailbox file, without windows.
struct RunArguments {
  std::string mailbox;
  std::optional<std::string> folder;
  std::optional<std::string> appFolder;
  std::vector<std::string> excludes;
  std::vector<std::string> contactFolders;
  bool scanContacts = false;
  std::optional<std::string> exportFile;
  std::optional<std::string> contactFields;
  bool deleteAddresses = false;
  bool cascade = false;
  bool notes = false;
  bool dateStamp = false;
  bool onlyFailed = false;
  std::optional<std::string> date;
  std::optional<std::string> copyContactsTo;
  std::optional<std::string> moveContactsTo;
  std::optional<std::string> moveMessagesTo;
  std::optional<std::string> runProgram;
  std::optional<std::string> params;
  std::optional<std::string> save;
  bool overCom = false;  // the global --com
};

// Status of a run the wizard's checks refused.
inline constexpr int kRefused = 2;

CLI::App* AddRunCommand(CLI::App& app, RunArguments& arguments);

// Prints the found addresses to `out`, every progress label and refusal to `err`; returns the
// exit status. Errors of the run are thrown after the changed mailbox is saved.
int RunRun(const RunArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace qor::tools
