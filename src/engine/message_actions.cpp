#include "engine/message_actions.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "engine/chosen_folders.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

// Moves messages of one folder's store by entry id into the destination folder.
class MessageMover {
 public:
  MessageMover(EngineContext& context, const std::string& emailFolder, const std::string& DestinationFolder)
      : destination_(RequireFolder(context.outlook, context.chosenFolders, DestinationFolder)),
        storeId_(RequireFolder(context.outlook, context.chosenFolders, emailFolder)->StoreID()),
        nameSpace_(context.outlook.GetNamespace("MAPI")) {}

  void Move(const std::string& entryId) const {
    if (const auto item = nameSpace_->GetItemFromID(entryId, storeId_)) item->Move(*destination_);
  }

 private:
  std::shared_ptr<host::Folder> destination_;
  std::string storeId_;
  std::shared_ptr<host::NameSpace> nameSpace_;
};

}  // namespace

void MoveEmails(EngineContext& context, const std::string& emailFolder, const std::string& DestinationFolder) {
  const MessageMover mover(context, emailFolder, DestinationFolder);

  ProgressSink& progress = context.progress;
  StartProgress(progress, "Moving e-mail messages...", static_cast<int>(context.data.size()));

  // Lower-cased, so that identifiers differing only in letter case count as one message.
  std::unordered_set<std::string> handled;
  for (const TEmailEntry& entry : context.data) {
    StepProgress(progress);

    const std::string& messageId = entry[kMessageEntryId];
    if (!handled.insert(LowerAscii(messageId)).second) continue;
    mover.Move(messageId);
  }
}

void MoveProcessedBounces(EngineContext& context, const std::string& emailFolder,
                          const std::string& DestinationFolder) {
  const MessageMover mover(context, emailFolder, DestinationFolder);
  static const BounceReport kNone;
  const BounceReport& report = context.bounces ? *context.bounces : kNone;
  const auto& messages = report.FailedMessages();

  ProgressSink& progress = context.progress;
  StartProgress(progress, "Moving e-mail messages...", static_cast<int>(messages.size()));
  for (const FailedMessage& message : messages) {
    StepProgress(progress);
    const auto rows = report.Rows(message);
    const bool processed = std::all_of(rows.begin(), rows.end(), [&](std::size_t row) {
      return row < context.data.size() && TakesPart(context.data[row]);
    });
    if (processed) mover.Move(message.entryId);
  }
}

}  // namespace qor::engine
