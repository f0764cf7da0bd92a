#include "engine/message_actions.h"

#include <memory>
#include <unordered_set>

#include "engine/chosen_folders.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

// An empty path resolves to no folder; moving into or out of nothing is an error, not a no-op.
std::shared_ptr<host::Folder> RequireFolder(const EngineContext& context, const std::string& path) {
  auto folder = ResolveFolder(context.outlook, context.chosenFolders, path);
  if (!folder) throw host::HostError("The folder \"" + path + "\" cannot be found.");
  return folder;
}

}  // namespace

void MoveEmails(EngineContext& context, const std::string& emailFolder, const std::string& DestinationFolder) {
  const auto destination = RequireFolder(context, DestinationFolder);
  const std::string storeId = RequireFolder(context, emailFolder)->StoreID();
  const auto nameSpace = context.outlook.GetNamespace("MAPI");

  ProgressSink& progress = context.progress;
  StartProgress(progress, "Moving e-mail messages...", static_cast<int>(context.data.size()));

  // Lower-cased, so that identifiers differing only in letter case count as one message.
  std::unordered_set<std::string> handled;
  for (const TEmailEntry& entry : context.data) {
    StepProgress(progress);

    const std::string& messageId = entry[kMessageEntryId];
    if (!handled.insert(LowerAscii(messageId)).second) continue;
    if (const auto item = nameSpace->GetItemFromID(messageId, storeId)) item->Move(*destination);
  }
}

}  // namespace qor::engine
