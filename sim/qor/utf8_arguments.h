#pragma once

#include <string>
#include <vector>

namespace qor::tools {

// The program's arguments in UTF-8, as the engine's text is. Windows hands main() its arguments
// in the ANSI code page, where every character the code page lacks has become "?", so there they
// are taken from the UTF-16 command line instead.
class Utf8Arguments {
 public:
  Utf8Arguments(int argc, char** argv);
  Utf8Arguments(const Utf8Arguments&) = delete;
  Utf8Arguments& operator=(const Utf8Arguments&) = delete;

  int Count() const noexcept { return static_cast<int>(arguments_.size()); }
  // argv-style: Count() pointers into the arguments, then a null.
  char** Values() noexcept { return pointers_.data(); }

 private:
  std::vector<std::string> arguments_;
  std::vector<char*> pointers_;
};

}  // namespace qor::tools
