#include "wizard/model/option_checks.h"

#include <algorithm>

#include "engine/folder_path.h"
#include "engine/text.h"
#include "platform/case_blind.h"

namespace qor::wizard {

namespace {

using engine::Trim;

Refusal Plain(std::string text) { return {kPlainCaption, std::move(text), MessageIcon::None}; }
Refusal Warning(std::string text) { return {"Warning", std::move(text), MessageIcon::Exclamation}; }
Refusal Error(std::string text) { return {"Error", std::move(text), MessageIcon::Exclamation}; }

}  // namespace

std::optional<Refusal> CheckContactFolderList(const engine::RunOptions& options) {
  if (options.scanContactFolders && options.contactFolders.empty()) {
    return Plain("Please add an Outlook Contact Folder to the list.");
  }
  return std::nullopt;
}

std::optional<Refusal> CheckRunOptions(const engine::RunOptions& options) {
  if (options.exportToTab && Trim(options.tabFilePath).size() < 6) {
    return Plain("Please provide a file path for the export file.");
  }
  if (options.exportContactFields && !options.exportName && !options.exportCompany && !options.exportPhone) {
    return Plain("Please select a contact field to export.");
  }
  if (options.moveEmail && Trim(options.destinationMailFolder).size() < 5) {
    return Plain("Please provide the message destination folder.");
  }
  if (options.moveContact && Trim(options.destinationContactFolder).size() < 5) {
    return Plain("Please provide the contact destination folder.");
  }
  return std::nullopt;
}

std::optional<Refusal> CheckContactFolderPick(host::Folder& folder) {
  if (folder.DefaultItemType() != host::ItemType::Contact) return Warning("Selected folder is not a Contact folder.");
  return std::nullopt;
}

std::optional<Refusal> CheckMailDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                const std::string& emailFolder) {
  if (folder->DefaultItemType() != host::ItemType::Mail) return Warning("Selected folder is not a Mail folder.");
  if (platform::SameTextIgnoringCase(Trim(engine::GetFullFolderName(folder)), Trim(emailFolder))) {
    return Error("Destination Mail folder cannot be equal to source mail folder.");
  }
  return std::nullopt;
}

std::optional<Refusal> CheckContactDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                   const std::vector<std::string>& contactFolders) {
  if (auto refusal = CheckContactFolderPick(*folder)) return refusal;
  if (HoldsFolderPath(contactFolders, engine::GetFullFolderName(folder))) {
    return Error("Destination Contact folder cannot be equal to any of the selected source contact folder.");
  }
  return std::nullopt;
}

bool HoldsFolderPath(const std::vector<std::string>& list, const std::string& path) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& item) { return platform::SameTextIgnoringCase(item, path); });
}

}  // namespace qor::wizard
