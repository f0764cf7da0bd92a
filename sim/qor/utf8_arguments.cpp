#include "utf8_arguments.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"
#endif

namespace qor::tools {

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int count = 0;
  const platform::UniqueAny<HLOCAL, &LocalFree> owner(CommandLineToArgvW(GetCommandLineW(), &count));
  if (const auto* wide = static_cast<wchar_t**>(owner.Get())) {
    for (int i = 0; i < count; ++i) arguments_.push_back(platform::NarrowToUtf8(wide[i]));
  }
#endif
  if (arguments_.empty()) arguments_.assign(argv, argv + argc);
  for (std::string& argument : arguments_) pointers_.push_back(argument.data());
  pointers_.push_back(nullptr);
}

}  // namespace qor::tools
