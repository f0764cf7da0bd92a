#pragma once

// The wrappers of Outlook's objects, each made from the IDispatch Outlook handed out. A null
// object gives a null wrapper.

#include <oaidl.h>

#include <memory>

#include "com/com_ptr.h"
#include "host/outlook.h"

namespace qor::host::automation {

// A contact is a ContactItem, anything else a plain Item: known by the dispinterface the item
// describes itself by, else by its Class (40 is a contact).
std::shared_ptr<host::Item> WrapItem(com::ComPtr<IDispatch> item);
std::shared_ptr<host::ContactItem> WrapContact(com::ComPtr<IDispatch> contact);
std::shared_ptr<host::Items> WrapItems(com::ComPtr<IDispatch> items);
// Null also when the object does not offer MAPIFolder.
std::shared_ptr<host::Folder> WrapFolderIfFolder(com::ComPtr<IDispatch> object);
std::shared_ptr<host::Folder> WrapFolder(com::ComPtr<IDispatch> folder);
std::shared_ptr<host::Folders> WrapFolders(com::ComPtr<IDispatch> folders);

// The Outlook object behind a folder of this layer; HostError for a folder of any other kind,
// which Outlook could not be handed.
com::ComPtr<IDispatch> FolderObject(host::Folder& folder);

}  // namespace qor::host::automation
