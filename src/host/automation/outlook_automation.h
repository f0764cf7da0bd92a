#pragma once

// The host interfaces over Outlook's own COM object model, by late binding only: every member is
// called by name through IDispatch, so any Outlook version (or a stand-in) that answers the names
// will do. Wrappers hold their Outlook objects; release them before COM is uninitialised.

#include <oaidl.h>

#include <memory>

#include "com/com_ptr.h"
#include "host/outlook.h"

namespace qor::host::automation {

// Outlook's Application object; null gives null.
std::shared_ptr<host::Application> WrapApplication(com::ComPtr<IDispatch> application);

}  // namespace qor::host::automation
