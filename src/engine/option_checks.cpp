#include "engine/option_checks.h"

#include <algorithm>

#include "engine/folder_path.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

std::size_t TrimmedLength(const std::string& text) { return Trim(text).size(); }

}  // namespace

std::optional<std::string> CheckContactFolderList(const RunOptions& options) {
  if (options.scanContactFolders && options.contactFolders.empty()) {
    return "Please add an Outlook Contact Folder to the list.";
  }
  return std::nullopt;
}

std::optional<std::string> CheckRunOptions(const RunOptions& options) {
  if (options.exportToTab && TrimmedLength(options.tabFilePath) < 6) {
    return "Please provide a file path for the export file.";
  }
  if (options.exportContactFields && !options.exportName && !options.exportCompany && !options.exportPhone) {
    return "Please select a contact field to export.";
  }
  if (options.moveEmail && TrimmedLength(options.destinationMailFolder) < 5) {
    return "Please provide the message destination folder.";
  }
  if (options.moveContact && TrimmedLength(options.destinationContactFolder) < 5) {
    return "Please provide the contact destination folder.";
  }
  return std::nullopt;
}

std::optional<std::string> CheckContactFolderPick(const std::shared_ptr<host::Folder>& folder) {
  if (folder->DefaultItemType() != host::ItemType::Contact) return "Selected folder is not a Contact folder.";
  return std::nullopt;
}

std::optional<std::string> CheckMailDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                    const std::string& emailFolder) {
  if (folder->DefaultItemType() != host::ItemType::Mail) return "Selected folder is not a Mail folder.";
  if (UpperAscii(Trim(GetFullFolderName(folder))) == UpperAscii(Trim(emailFolder))) {
    return "Destination Mail folder cannot be equal to source mail folder.";
  }
  return std::nullopt;
}

std::optional<std::string> CheckContactDestinationPick(const std::shared_ptr<host::Folder>& folder,
                                                       const std::vector<std::string>& contactFolders) {
  if (auto refusal = CheckContactFolderPick(folder)) return refusal;
  if (HoldsFolderPath(contactFolders, GetFullFolderName(folder))) {
    return "Destination Contact folder cannot be equal to any of the selected source contact folder.";
  }
  return std::nullopt;
}

bool HoldsFolderPath(const std::vector<std::string>& list, const std::string& path) {
  const std::string wanted = LowerAscii(path);
  return std::any_of(list.begin(), list.end(), [&](const std::string& item) { return LowerAscii(item) == wanted; });
}

}  // namespace qor::engine
