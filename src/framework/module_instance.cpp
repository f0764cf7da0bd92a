#include "framework/module_instance.h"

#include "platform/module_file_win32.h"

namespace qor::framework {

HINSTANCE ThisModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring ThisModulePath() { return platform::ModuleFileName(ThisModule()); }

}  // namespace qor::framework
