#include "wizard_session.h"

#include "engine/exclusions.h"
#include "engine/folder_path.h"
#include "host/memory/mailbox_file.h"
#include "platform/text_file.h"

namespace qor::tools {

WizardSession::WizardSession(const std::string& mailbox, const std::optional<std::string>& explorerFolder,
                             const std::optional<std::string>& appFolder, bool overCom)
    : mailbox_(host::memory::LoadMailbox(platform::PathFromUtf8(mailbox))),
      appFolder_(appFolder ? *appFolder : engine::MakeUsersAppFolderPath(*platform::CreateSpecialFolders())) {
  // Outlook opens its explorer on this folder when it starts, so it is chosen before.
  if (explorerFolder) {
    mailbox_->SetActiveExplorerFolder(Folder(*explorerFolder));
  } else if (!mailbox_->ActiveExplorerFolder()) {
    throw UsageError("the mailbox shows no folder in an explorer: name one with --folder");
  }
  source_ = OpenEngineOutlook(mailbox_, overCom);
  engine::CreateUsersAppFolder(appFolder_);
  system_ = std::make_unique<platform::SystemServices>(platform::PathFromUtf8(appFolder_));
}

std::shared_ptr<host::memory::MemoryFolder> WizardSession::Folder(const std::string& path) {
  try {
    auto folder = std::dynamic_pointer_cast<host::memory::MemoryFolder>(engine::GetMapiFolder(*mailbox_, path));
    if (folder) return folder;
  } catch (const host::HostError&) {
  }
  throw UsageError("no folder \"" + path + "\" in the mailbox");
}

void WizardSession::AnswerPickFolder(const std::optional<std::string>& path) {
  mailbox_->QueuePickFolder(path ? Folder(*path) : nullptr);
}

void WizardSession::Save(const std::string& file) const {
  host::memory::SaveMailbox(*mailbox_, platform::PathFromUtf8(file));
}

}  // namespace qor::tools
