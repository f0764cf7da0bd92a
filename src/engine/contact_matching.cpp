#include "engine/contact_matching.h"

#include "engine/chosen_folders.h"
#include "engine/contact_index.h"
#include "engine/linked_contacts.h"
#include "engine/text.h"
#include "engine/xprocs.h"

namespace qor::engine {

namespace {

constexpr std::size_t kRestrictionsCheaperUpTo = 8;

// The entry ids of the matched contacts, encoded and joined by ",", in the order the collection
// yields them.
std::string JoinEntryIds(host::Items& found) {
  std::string ids;
  auto item = found.GetFirst();
  if (!item) return ids;
  ids = EncodeLinkedField(item->EntryID());
  for (int position = 2; position <= found.Count(); ++position) {
    item = found.GetNext();
    if (!item) break;
    ids += ',';
    ids += EncodeLinkedField(item->EntryID());
  }
  return ids;
}

// The contacts carrying the address, found by one restriction.
std::string RestrictedEntryIds(host::Folder& folder, const std::string& address) {
  const auto found = SearchContact(folder, address);
  return found->Count() > 0 ? JoinEntryIds(*found) : std::string();
}

void AppendGroup(std::string& column, const std::string& folderPath, const std::string& ids) {
  if (HasLinkedContacts(column)) {
    column = Trim(column) + ";" + EncodeLinkedField(LowerAscii(Trim(folderPath))) + ":" + ids;
  } else {
    column = EncodeLinkedField(Trim(folderPath)) + ":" + ids;
  }
}

}  // namespace

std::shared_ptr<host::Items> SearchContact(host::Folder& folder, std::string_view emailaddress) {
  // The address goes in as it is: addresses never hold a quotation mark.
  const std::string address = Trim(emailaddress);
  const std::string filter = "[Email1Address] = \"" + address + "\" or [Email2Address] = \"" + address +
                             "\" or [Email3Address] = \"" + address + "\"";
  return folder.Items()->Restrict(filter);
}

ContactMatching ContactMatchingFor(std::size_t addresses) noexcept {
  return addresses <= kRestrictionsCheaperUpTo ? ContactMatching::RestrictPerAddress : ContactMatching::OnePass;
}

void GetLinkedContacts(EngineContext& context, const RunOptions& options, std::optional<ContactMatching> matching) {
  TEmailData& data = context.data;
  if (data.empty() || !options.scanContactFolders || options.contactFolders.empty()) return;
  const ContactMatching how = matching.value_or(ContactMatchingFor(data.size()));

  ProgressSink& progress = context.progress;
  for (const auto& folderPath : options.contactFolders) {
    const std::string displayName = strTokenAt(folderPath, '\\', strTokenCount(folderPath, '\\') - 1);
    const auto folder = RequireFolder(context.outlook, context.chosenFolders, folderPath);

    StartProgress(progress, "Matching e-mail addresses in \"" + displayName + "\"...",
                  static_cast<int>(data.size()) + 1);
    std::optional<ContactIndex> index;
    if (how == ContactMatching::OnePass) index.emplace(*folder);
    for (auto& entry : data) {
      StepProgress(progress);
      const std::string ids =
          index ? index->JoinedEntryIds(entry[kAddress]) : RestrictedEntryIds(*folder, entry[kAddress]);
      if (!ids.empty()) AppendGroup(entry[kLinkedContacts], folderPath, ids);
    }
  }
}

std::shared_ptr<host::ContactItem> GetContactInfo(const EngineContext& context, std::string_view ContactFolder,
                                                  const std::string& ContactEntryID) {
  return context.contactFolders.Fetch(context.outlook, context.chosenFolders, ContactFolder, ContactEntryID,
                                      &RequireFolder);
}

}  // namespace qor::engine
