#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#ifdef _WIN32
#include "platform/wide_text_win32.h"
#endif

namespace qor::tests {

// Sets (or with no value, removes) an environment variable of this process, which the programs
// it starts inherit, and puts back the old state on destruction.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
#ifdef _WIN32
    if (const wchar_t* old = _wgetenv(platform::WidenUtf8(name_).c_str())) old_ = platform::NarrowToUtf8(old);
#else
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
#endif
    Set(value);
  }
  ~ScopedEnvironment() { Set(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
    // The runtime passes this on to the process's own environment, which started programs get.
    _wputenv_s(platform::WidenUtf8(name_).c_str(), value ? platform::WidenUtf8(*value).c_str() : L"");
#else
    if (value) {
      setenv(name_.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace qor::tests
