#include "engine/message_actions.h"

#include <memory>
#include <unordered_set>

#include "engine/chosen_folders.h"
#include "engine/text.h"

namespace qor::engine {

void MoveEmails(EngineContext& context, const std::string& emailFolder, const std::string& DestinationFolder) {
  const auto destination = RequireFolder(context.outlook, context.chosenFolders, DestinationFolder);
  const std::string storeId = RequireFolder(context.outlook, context.chosenFolders, emailFolder)->StoreID();
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
