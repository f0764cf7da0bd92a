#pragma once

// Outlook's object model as real COM objects over an in-memory Outlook.

#include <oaidl.h>

#include <memory>

#include "com/com_ptr.h"
#include "host/memory/memory_outlook.h"

namespace qor::standin {

// Outlook's Application object serving `outlook`; its Version is the in-memory Outlook's.
com::ComPtr<IDispatch> CreateOutlookApplication(std::shared_ptr<host::memory::MemoryOutlook> outlook);

}  // namespace qor::standin
