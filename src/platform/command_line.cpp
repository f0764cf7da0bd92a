#include "platform/command_line.h"

namespace qor::platform {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view arguments) {
  std::vector<std::string> result;
  std::size_t at = 0;
  const std::size_t end = arguments.size();
  for (;;) {
    while (at < end && IsBlank(arguments[at])) ++at;
    if (at == end) return result;

    std::string argument;
    bool quoted = false;
    while (at < end && (quoted || !IsBlank(arguments[at]))) {
      std::size_t backslashes = 0;
      while (at < end && arguments[at] == '\\') {
        ++backslashes;
        ++at;
      }
      if (at == end || arguments[at] != '"') {
        argument.append(backslashes, '\\');
        if (backslashes == 0) argument += arguments[at++];
        continue;
      }
      argument.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        argument += '"';
      } else if (quoted && at + 1 < end && arguments[at + 1] == '"') {
        argument += '"';
        ++at;
      } else {
        quoted = !quoted;
      }
      ++at;
    }
    result.push_back(std::move(argument));
  }
}

}  // namespace qor::platform
