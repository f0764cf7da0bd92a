#pragma once

// Outlook's Table (Folder.GetTable, Outlook 2007 and later): a folder's rows with the columns asked
// for, handed out a batch of rows per call.

#include <oaidl.h>

#include <vector>

#include "com/com_ptr.h"
#include "host/outlook.h"

namespace qor::host::automation {

// The entry id and e-mail fields of every row of `table`, in its order.
std::vector<host::ContactAddresses> ContactAddressesOfTable(com::ComPtr<IDispatch> table);

}  // namespace qor::host::automation
