#include "run_checks.h"

#include "engine/folder_path.h"
#include "engine/option_checks.h"

namespace qor::tools {

namespace {

void Require(bool condition, const std::string& message) {
  if (!condition) throw UsageError(message);
}

std::vector<std::string> SplitAtCommas(const std::string& list) {
  std::vector<std::string> fields;
  for (std::size_t start = 0;;) {
    const auto end = list.find(',', start);
    fields.push_back(list.substr(start, end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

void ApplyContactFields(const std::string& list, engine::RunOptions& options) {
  options.exportContactFields = true;
  for (const auto& field : SplitAtCommas(list)) {
    if (field == "name") {
      options.exportName = true;
    } else if (field == "company") {
      options.exportCompany = true;
    } else if (field == "phone") {
      options.exportPhone = true;
    } else if (!field.empty()) {
      throw UsageError("--contact-fields: unknown field \"" + field + "\" (use name, company, phone)");
    }
  }
}

// A folder the user names instead of picking it; a path naming nothing is refused like a bad pick.
std::shared_ptr<host::Folder> Picked(host::Application& outlook, const std::string& path) {
  try {
    if (auto folder = engine::GetMapiFolder(outlook, path)) return folder;
  } catch (const host::HostError&) {
  }
  throw UsageError("no folder \"" + path + "\" in the mailbox");
}

}  // namespace

engine::RunOptions OptionsFromArguments(const RunArguments& arguments, const std::string& emailFolder) {
  const bool scan = arguments.scanContacts;
  const char* const needsScan = " needs --scan-contacts: the wizard offers it only when contact folders are scanned";
  Require(!arguments.deleteAddresses || scan, std::string("--delete") + needsScan);
  Require(!arguments.notes || scan, std::string("--notes") + needsScan);
  Require(!(arguments.copyContactsTo || arguments.moveContactsTo) || scan,
          std::string("--copy-contacts-to and --move-contacts-to") + needsScan);
  Require(!(arguments.copyContactsTo && arguments.moveContactsTo),
          "--copy-contacts-to and --move-contacts-to exclude each other");
  Require(!arguments.cascade || arguments.deleteAddresses, "--cascade needs --delete");
  Require(!arguments.dateStamp || arguments.notes, "--date-stamp needs --notes");
  Require(!arguments.params || arguments.runProgram, "--params needs --run-program");
  Require(!arguments.contactFields || (arguments.exportFile && scan && !arguments.contactFolders.empty()),
          "--contact-fields needs --export, --scan-contacts and a --contact-folder");

  engine::RunOptions options;
  options.emailFolder = emailFolder;
  options.scanContactFolders = scan;
  options.contactFolders = arguments.contactFolders;
  options.addNotes = arguments.notes;
  options.notesDateStamp = arguments.dateStamp;
  options.exportToTab = arguments.exportFile.has_value();
  options.tabFilePath = arguments.exportFile.value_or("");
  if (arguments.contactFields) ApplyContactFields(*arguments.contactFields, options);
  options.deleteEmailAddress = arguments.deleteAddresses;
  options.autoCascade = arguments.cascade;
  options.moveContact = arguments.copyContactsTo || arguments.moveContactsTo;
  options.copyOrMove = arguments.moveContactsTo ? engine::ContactTransfer::Move : engine::ContactTransfer::Copy;
  options.destinationContactFolder = arguments.moveContactsTo.value_or(arguments.copyContactsTo.value_or(""));
  options.moveEmail = arguments.moveMessagesTo.has_value();
  options.destinationMailFolder = arguments.moveMessagesTo.value_or("");
  options.executeApplication = arguments.runProgram.has_value();
  options.externalExePath = arguments.runProgram.value_or("");
  options.parameters = arguments.params.value_or("");
  return options;
}

std::optional<std::string> PickFolders(host::Application& outlook, engine::RunOptions& options) {
  std::vector<std::string> contactFolders;
  for (const auto& path : options.contactFolders) {
    const auto folder = Picked(outlook, path);
    if (auto refusal = engine::CheckContactFolderPick(folder)) return refusal;
    const std::string fullPath = engine::GetFullFolderName(folder);
    if (!engine::HoldsFolderPath(contactFolders, fullPath)) contactFolders.push_back(fullPath);
  }
  options.contactFolders = contactFolders;
  if (auto refusal = engine::CheckContactFolderList(options)) return refusal;

  if (options.moveEmail) {
    const auto folder = Picked(outlook, options.destinationMailFolder);
    if (auto refusal = engine::CheckMailDestinationPick(folder, options.emailFolder)) return refusal;
    options.destinationMailFolder = engine::GetFullFolderName(folder);
  }
  if (options.moveContact) {
    const auto folder = Picked(outlook, options.destinationContactFolder);
    if (auto refusal = engine::CheckContactDestinationPick(folder, options.contactFolders)) return refusal;
    options.destinationContactFolder = engine::GetFullFolderName(folder);
  }
  return std::nullopt;
}

}  // namespace qor::tools
