#include "run_checks.h"

#include "wizard_session.h"

namespace qor::tools {

std::vector<std::string> ContactFieldBoxes(const std::string& list) {
  std::vector<std::string> boxes;
  for (std::size_t start = 0; start <= list.size();) {
    auto end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string field = list.substr(start, end - start);
    start = end + 1;
    if (field == "name") {
      boxes.emplace_back("chkName");
    } else if (field == "company") {
      boxes.emplace_back("chkCompany");
    } else if (field == "phone") {
      boxes.emplace_back("chkPhone");
    } else if (!field.empty()) {
      throw UsageError("--contact-fields: unknown field \"" + field + "\" (use name, company, phone)");
    }
  }
  return boxes;
}

}  // namespace qor::tools
