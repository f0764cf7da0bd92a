#include "com/com_init.h"

#include "com/com_error.h"

namespace qor::com {

ComInit::ComInit(DWORD model) { ThrowIfFailed(CoInitializeEx(nullptr, model)); }

ComInit::~ComInit() { CoUninitialize(); }

}  // namespace qor::com
