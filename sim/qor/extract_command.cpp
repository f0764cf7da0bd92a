#include <iostream>
#include <iterator>

#include "commands.h"
#include "engine/bounce_classifier.h"
#include "engine/extract_emails.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"

namespace qor::tools {

void RunExtract(const std::optional<std::string>& file, bool classify, std::ostream& out) {
  const std::string bytes = file ? platform::ReadFileBytes(platform::PathFromUtf8(*file))
                                 : std::string(std::istreambuf_iterator<char>(std::cin), {});
  if (!classify) {
    out << engine::ExtractEMails(bytes);
    return;
  }
  engine::AddressExtractor extractor;
  const auto& addresses = extractor.Extract(bytes);
  engine::BounceClassifier classifier;
  const auto& verdicts = classifier.Classify(bytes, addresses, extractor.Occurrences());
  for (std::size_t index = 0; index < addresses.size(); ++index) {
    const auto& verdict = verdicts[index];
    out << addresses[index] << '\t' << engine::RoleName(verdict.role) << '\t' << engine::KindName(verdict.kind) << '\t'
        << (verdict.status.empty() ? "-" : verdict.status) << "\r\n";
  }
}

}  // namespace qor::tools
