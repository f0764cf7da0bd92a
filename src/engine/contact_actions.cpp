#include "engine/contact_actions.h"

#include <exception>
#include <memory>
#include <unordered_set>

#include "engine/chosen_folders.h"
#include "engine/contact_matching.h"
#include "engine/linked_contacts.h"
#include "engine/text.h"

namespace qor::engine {

namespace {

// The contact an identifier of a group names, or null when its folder path is empty or the
// item is no contact.
std::shared_ptr<host::ContactItem> FetchContact(const EngineContext& context, const std::string& folderPath,
                                                const std::string& entryId) {
  return context.contactFolders.Fetch(context.outlook, context.chosenFolders, folderPath, entryId, &ResolveFolder);
}

// Steps 3 to 5 of the removal: the first slot is compared trimmed, the other two untrimmed, each
// read again after the earlier steps may have moved addresses into it. The contact is saved once,
// so a failure leaves it as it was rather than half cascaded.
void RemoveAddress(host::ContactItem& contact, const std::string& address, bool AutoCascade) {
  bool changed = false;
  if (LowerAscii(Trim(contact.Email1Address())) == address) {
    contact.SetEmail1Address("");
    changed = true;
    if (AutoCascade && !Trim(contact.Email2Address()).empty()) {
      contact.SetEmail1Address(Trim(contact.Email2Address()));
      contact.SetEmail2Address("");
      if (!Trim(contact.Email3Address()).empty()) {
        contact.SetEmail2Address(Trim(contact.Email3Address()));
        contact.SetEmail3Address("");
      }
    } else if (AutoCascade && !Trim(contact.Email3Address()).empty()) {
      contact.SetEmail1Address(Trim(contact.Email3Address()));
      contact.SetEmail3Address("");
    }
  }

  if (LowerAscii(contact.Email2Address()) == address) {
    contact.SetEmail2Address("");
    changed = true;
    if (AutoCascade && !Trim(contact.Email3Address()).empty()) {
      contact.SetEmail2Address(Trim(contact.Email3Address()));
      contact.SetEmail3Address("");
    }
  }

  if (LowerAscii(contact.Email3Address()) == address) {
    contact.SetEmail3Address("");
    changed = true;
  }
  if (changed) contact.Save();
}

std::string NoteFor(const std::string& address, bool notesDateStamp, platform::Clock& clock) {
  if (notesDateStamp) return clock.ShortDate() + " [Processed by QOR]\r\n" + address;
  return "[Processed by QOR] " + address;
}

}  // namespace

void DeleteEmailAddress(EngineContext& context, bool AutoCascade) {
  for (const auto& entry : context.data) {
    if (!TakesPart(entry, MarkReading::Trimmed) || !HasLinkedContacts(entry[kLinkedContacts])) continue;

    const std::string address = LowerAscii(Trim(entry[kAddress]));
    for (const auto& group : SplitLinkedContacts(entry[kLinkedContacts])) {
      for (const auto& entryId : group.entryIds) {
        context.progress.BetweenItems();
        const auto contact = GetContactInfo(context, group.folderPath, entryId);
        if (contact) RemoveAddress(*contact, address, AutoCascade);
      }
    }
  }
}

void AddNotes(EngineContext& context, bool notesDateStamp) {
  ProgressSink& progress = context.progress;
  StartProgress(progress, "Updating Notes...", static_cast<int>(context.data.size()));

  const std::string* address = nullptr;
  try {
    for (const auto& entry : context.data) {
      address = &entry[kAddress];
      StepProgress(progress);
      if (!TakesPart(entry)) continue;

      for (const auto& group : SplitLinkedContacts(entry[kLinkedContacts])) {
        for (const auto& entryId : group.entryIds) {
          const auto contact = FetchContact(context, group.folderPath, entryId);
          if (!contact) continue;
          const std::string note = NoteFor(*address, notesDateStamp, context.services.clock);
          contact->SetBody(contact->Body() + "\r\n\r\n" + note);
          contact->Close(host::CloseMode::Save);
        }
      }
    }
  } catch (const std::exception&) {
    // The user learns which address was being noted; the notes already closed stay.
    context.services.messages.Show(address ? *address : std::string());
  }
}

void MoveContactsToFolder(EngineContext& context, const std::string& ContactFolderDestination,
                          ContactTransfer copyOrMove) {
  ProgressSink& progress = context.progress;
  StartProgress(progress, "Updating Notes...", static_cast<int>(context.data.size()));
  const auto destination = ResolveFolder(context.outlook, context.chosenFolders, ContactFolderDestination);

  // A contact linked to several entries is copied or moved once; a moved contact's old id names
  // nothing any more, so fetching it again would fail the run.
  std::unordered_set<std::string> transferredIds;
  for (const auto& entry : context.data) {
    StepProgress(progress);
    if (!TakesPart(entry)) continue;

    for (const auto& group : SplitLinkedContacts(entry[kLinkedContacts])) {
      for (const auto& entryId : group.entryIds) {
        if (transferredIds.contains(entryId)) continue;
        const auto contact = FetchContact(context, group.folderPath, entryId);
        if (!contact) continue;
        // Checked before copying, so a missing destination leaves no stray copy in the source folder.
        if (!destination) ThrowFolderNotFound(ContactFolderDestination);
        if (copyOrMove == ContactTransfer::Copy) {
          const auto copy = contact->Copy();
          copy->Close(host::CloseMode::Save);
          copy->Move(*destination);
          contact->Close(host::CloseMode::Discard);
        } else {
          contact->Move(*destination);
        }
        transferredIds.insert(entryId);
      }
    }
  }
}

}  // namespace qor::engine
