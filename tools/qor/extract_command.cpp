#include <iostream>
#include <iterator>

#include "commands.h"
#include "engine/extract_emails.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"

namespace qor::tools {

void RunExtract(const std::optional<std::string>& file, std::ostream& out) {
  const std::string bytes = file ? platform::ReadFileBytes(platform::PathFromUtf8(*file))
                                 : std::string(std::istreambuf_iterator<char>(std::cin), {});
  out << engine::ExtractEMails(bytes);
}

}  // namespace qor::tools
