#pragma once

// The part of Outlook's object model the engine uses. Objects have reference
// semantics like the COM objects they stand for; every failing call throws
// HostError with the host's message.

#include <memory>
#include <string>
#include <vector>

#include "host/host_error.h"

namespace qor::host {

// Outlook's OlObjectClass values of the items we meet.
enum class ItemClass : int { Contact = 40, Mail = 43, Note = 44, Report = 46 };

// Outlook's OlItemType values a folder may hold by default.
enum class ItemType : int { Mail = 0, Appointment = 1, Contact = 2, Task = 3, Journal = 4, Note = 5 };

// OlInspectorClose values accepted by ContactItem::Close.
enum class CloseMode : int { Save = 0, Discard = 1 };

// What contact matching reads of a contact: its entry id and its three e-mail fields as stored.
struct ContactAddresses {
  std::string entryId;
  std::string email1Address;
  std::string email2Address;
  std::string email3Address;

  friend bool operator==(const ContactAddresses&, const ContactAddresses&) = default;
};

class Folder;
class Folders;
class Items;
class ContactItem;

class Item {
 public:
  virtual ~Item() = default;
  virtual ItemClass Class() const = 0;
  virtual std::string EntryID() const = 0;
  virtual std::string Body() const = 0;
  virtual void SetBody(const std::string& body) = 0;
  // The item in its new folder; it carries a new entry id.
  virtual std::shared_ptr<Item> Move(Folder& destination) = 0;
};

class ContactItem : public virtual Item {
 public:
  virtual std::string FullName() const = 0;
  virtual std::string CompanyName() const = 0;
  virtual std::string BusinessTelephoneNumber() const = 0;
  virtual std::string Email1Address() const = 0;
  virtual std::string Email2Address() const = 0;
  virtual std::string Email3Address() const = 0;
  virtual void SetEmail1Address(const std::string& value) = 0;
  virtual void SetEmail2Address(const std::string& value) = 0;
  virtual void SetEmail3Address(const std::string& value) = 0;
  virtual void Save() = 0;
  virtual void Close(CloseMode mode) = 0;
  // A saved duplicate in the same folder, with its own entry id.
  virtual std::shared_ptr<ContactItem> Copy() = 0;
};

// A contact view of an item, or null when the item is no contact.
inline std::shared_ptr<ContactItem> AsContact(const std::shared_ptr<Item>& item) {
  return std::dynamic_pointer_cast<ContactItem>(item);
}

class Items {
 public:
  virtual ~Items() = default;
  virtual int Count() = 0;
  // 1-based; an index outside 1..Count throws.
  virtual std::shared_ptr<host::Item> Item(int index) = 0;
  // The items matching a filter in Outlook's restriction syntax.
  virtual std::shared_ptr<Items> Restrict(const std::string& filter) = 0;
  // Walk the collection; null past the end.
  virtual std::shared_ptr<host::Item> GetFirst() = 0;
  virtual std::shared_ptr<host::Item> GetNext() = 0;
};

class Folders {
 public:
  virtual ~Folders() = default;
  virtual int Count() = 0;
  // 1-based.
  virtual std::shared_ptr<Folder> Item(int index) = 0;
  // By display name, ignoring letter case; an unknown name throws.
  virtual std::shared_ptr<Folder> Item(const std::string& name) = 0;
};

class Folder {
 public:
  virtual ~Folder() = default;
  virtual std::string Name() = 0;
  // Null when the parent is no folder (a top-level folder's parent is the session).
  virtual std::shared_ptr<Folder> Parent() = 0;
  virtual std::shared_ptr<host::Folders> Folders() = 0;
  virtual std::shared_ptr<host::Items> Items() = 0;
  virtual std::string EntryID() = 0;
  virtual std::string StoreID() = 0;
  virtual ItemType DefaultItemType() = 0;
  // Every contact of the folder in the folder's order, read in as few calls as the host allows.
  // Other items may be listed too, with empty addresses.
  virtual std::vector<ContactAddresses> ContactAddressList() = 0;
};

class NameSpace {
 public:
  virtual ~NameSpace() = default;
  // The top-level folder of every open store.
  virtual std::shared_ptr<host::Folders> Folders() = 0;
  // The folder the user chose, or null when the user cancelled.
  virtual std::shared_ptr<Folder> PickFolder() = 0;
  // Throws when no item of that store carries the id.
  virtual std::shared_ptr<Item> GetItemFromID(const std::string& entryId, const std::string& storeId) = 0;
  // Throws when no folder of that store carries the id (an empty store id: of any store).
  virtual std::shared_ptr<Folder> GetFolderFromID(const std::string& entryId, const std::string& storeId) = 0;
};

class Explorer {
 public:
  virtual ~Explorer() = default;
  virtual std::shared_ptr<Folder> CurrentFolder() = 0;
};

class Application {
 public:
  virtual ~Application() = default;
  // Only "MAPI" is a valid type.
  virtual std::shared_ptr<NameSpace> GetNamespace(const std::string& type) = 0;
  virtual std::shared_ptr<NameSpace> Session() = 0;
  // Null when Outlook shows no explorer.
  virtual std::shared_ptr<Explorer> ActiveExplorer() = 0;
  virtual std::string Version() = 0;
};

}  // namespace qor::host
