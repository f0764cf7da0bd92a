#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/engine_context.h"
#include "host/memory/memory_outlook.h"
#include "platform/atomic_file.h"
#include "support/engine_host.h"
#include "support/fake_services.h"
#include "support/recording_progress.h"
#include "support/temp_folder.h"

namespace qor::tests {

// An Outlook with a mail store ("Mailbox": "Bounces", "Processed", "Contacts", "Moved Contacts"),
// its explorer on "Bounces", and an engine context over it (through COM in the COM build of the
// tests), whose application folder is a fresh temporary folder.
class EngineFixture : public ::testing::Test {
 protected:
  using ItemType = host::ItemType;

  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create();
  std::shared_ptr<host::memory::MemoryFolder> mailbox = outlook->AddStore("Mailbox");
  std::shared_ptr<host::memory::MemoryFolder> bounces = mailbox->AddFolder("Bounces", ItemType::Mail);
  std::shared_ptr<host::memory::MemoryFolder> processed = mailbox->AddFolder("Processed", ItemType::Mail);
  std::shared_ptr<host::memory::MemoryFolder> contacts = mailbox->AddFolder("Contacts", ItemType::Contact);
  std::shared_ptr<host::memory::MemoryFolder> movedContacts = mailbox->AddFolder("Moved Contacts", ItemType::Contact);
  EngineHost engineHost{ExplorerOn(bounces, outlook)};

  TempFolder appFolder;
  engine::TEmailData data;
  RecordingProgress progress;
  FakeServices fakes;
  engine::EngineContext context{engineHost.Get(), data, progress, fakes.services,
                                platform::PathToUtf8(appFolder.Path())};

  // Outlook opens its explorer on its starting folder before anyone connects to it.
  static std::shared_ptr<host::memory::MemoryOutlook> ExplorerOn(
      const std::shared_ptr<host::memory::MemoryFolder>& folder, std::shared_ptr<host::memory::MemoryOutlook> outlook) {
    outlook->SetActiveExplorerFolder(folder);
    return outlook;
  }

  // Adds a table entry as the scan and contact matching would leave it.
  void AddEntry(const std::string& address, const std::string& messageId = "M", const std::string& linkedContacts = "",
                const std::string& mark = "N") {
    data.push_back({address, messageId, linkedContacts, mark});
  }

  // "Mailbox\Contacts:<id>" for the contacts given.
  template <typename... Contacts>
  static std::string LinkedIn(const std::string& folderPath, const Contacts&... contact) {
    std::string ids;
    ((ids += (ids.empty() ? "" : ",") + contact->EntryID()), ...);
    return folderPath + ":" + ids;
  }
};

}  // namespace qor::tests
