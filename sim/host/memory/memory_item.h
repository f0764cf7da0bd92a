#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "host/outlook.h"

namespace qor::host::memory {

class MemoryFolder;
class ItemList;

// A stored item that is no contact: mail, note, report. The object stands for the item in one
// folder; after Move it is stale and the returned object stands for the item in its new place.
class MemoryItem : public virtual host::Item {
 public:
  MemoryItem(host::ItemClass itemClass, std::string entryId, std::string subject, std::string body,
             std::weak_ptr<MemoryFolder> folder);

  host::ItemClass Class() const override;
  std::string EntryID() const override;
  std::string Body() const override;
  // Commits at once: the host interface gives a mail item no Save.
  void SetBody(const std::string& body) override;
  std::shared_ptr<host::Item> Move(host::Folder& destination) override;
  virtual std::string Subject() const;

  // Failure injection: every later call on this object throws HostError(message).
  void FailWith(std::string message);

  // What the store holds, regardless of pending edits, FailWith or staleness: Restrict and the
  // mailbox file see only this.
  host::ItemClass StoredClass() const noexcept { return class_; }
  const std::string& StoredEntryId() const noexcept { return entryId_; }
  virtual std::string StoredSubject() const { return subject_; }
  virtual std::string StoredBody() const { return body_; }
  bool IsStale() const noexcept { return stale_; }

 protected:
  void CheckUsable() const;
  // The folder holding this item, after the checks every call makes.
  std::shared_ptr<MemoryFolder> UsableFolder() const;
  // A saved duplicate at the end of this item's folder, with a new entry id.
  std::shared_ptr<MemoryItem> CopyHere();
  // Pending edits travel with the item, so Move and Copy save them first.
  virtual void SavePending() {}
  virtual std::shared_ptr<MemoryItem> Duplicate(std::string entryId, std::weak_ptr<MemoryFolder> folder) const;

 private:
  friend class ItemList;
  friend class MemoryFolder;

  host::ItemClass class_;
  std::string entryId_;
  std::string subject_;
  std::string body_;
  std::weak_ptr<MemoryFolder> folder_;
  std::size_t slot_ = 0;
  bool stale_ = false;
  std::optional<std::string> failure_;
};

struct ContactFields {
  std::string fullName{};
  std::string companyName{};
  std::string businessTelephoneNumber{};
  std::string email1Address{};
  std::string email2Address{};
  std::string email3Address{};
  std::string body{};

  friend bool operator==(const ContactFields&, const ContactFields&) = default;
};

// Setters change this object's pending state, which its getters show at once; Save or
// Close(CloseMode::Save) commits it, Close(CloseMode::Discard) drops it.
class MemoryContact : public MemoryItem, public host::ContactItem {
 public:
  MemoryContact(std::string entryId, ContactFields fields, std::weak_ptr<MemoryFolder> folder);

  std::string Body() const override;
  void SetBody(const std::string& body) override;
  std::string Subject() const override;
  std::string FullName() const override;
  std::string CompanyName() const override;
  std::string BusinessTelephoneNumber() const override;
  std::string Email1Address() const override;
  std::string Email2Address() const override;
  std::string Email3Address() const override;
  void SetEmail1Address(const std::string& value) override;
  void SetEmail2Address(const std::string& value) override;
  void SetEmail3Address(const std::string& value) override;
  void Save() override;
  void Close(host::CloseMode mode) override;
  std::shared_ptr<host::ContactItem> Copy() override;

  // Failure injection: Save throws HostError once this contact has been saved `saves` times.
  void FailSavesAfter(std::size_t saves) { saveLimit_ = saves; }

  // Outlook's subject of a contact is its full name.
  std::string StoredSubject() const override { return saved_.fullName; }
  std::string StoredBody() const override { return saved_.body; }
  const ContactFields& StoredFields() const noexcept { return saved_; }

 protected:
  void SavePending() override { saved_ = current_; }
  std::shared_ptr<MemoryItem> Duplicate(std::string entryId, std::weak_ptr<MemoryFolder> folder) const override;

 private:
  const ContactFields& Current() const;
  ContactFields& Editable();

  ContactFields saved_;
  ContactFields current_;
  std::size_t saves_ = 0;
  std::optional<std::size_t> saveLimit_;
};

// The MessageClass Outlook reports for an item of the class: "IPM.Note", "REPORT.IPM.Note.NDR", ...
std::string_view MessageClassOf(host::ItemClass itemClass);

}  // namespace qor::host::memory
