// Writes the arguments it was started with to the file named by QOR_RECORD_ARGS_FILE, each one
// followed by a NUL byte, UTF-8, so the shell tests can see what a started program received.

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/atomic_file.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "platform/wide_text_win32.h"

int main() {
  const wchar_t* file = _wgetenv(L"QOR_RECORD_ARGS_FILE");
  if (file == nullptr) return 2;
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return 3;
  std::string recorded;
  for (int i = 1; i < count; ++i) recorded += qor::platform::NarrowToUtf8(arguments[i]) + '\0';
  LocalFree(arguments);
  qor::platform::WriteFileAtomically(std::filesystem::path(file), recorded);
  return 0;
}
#else
int main(int argc, char** argv) {
  const char* file = std::getenv("QOR_RECORD_ARGS_FILE");
  if (file == nullptr) return 2;
  std::string recorded;
  for (int i = 1; i < argc; ++i) recorded += std::string(argv[i]) + '\0';
  qor::platform::WriteFileAtomically(std::filesystem::path(file), recorded);
  return 0;
}
#endif
