#pragma once

#include <string>
#include <vector>

namespace qor::tools {

// The check boxes `--contact-fields name,company,phone` ticks, by control name. Throws UsageError
// for a field the export does not offer.
std::vector<std::string> ContactFieldBoxes(const std::string& list);

}  // namespace qor::tools
