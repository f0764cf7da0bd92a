#include "custom_ui.h"

#include <regex>
#include <sstream>

namespace qor::tools::qorhost {

std::string OnLoadCallback(const std::string& document) {
  // The first element is the root; a prefix (mso:customUI) is allowed.
  static const std::regex root(R"re(<(?:[A-Za-z_][\w.-]*:)?customUI\b([^>]*)>)re");
  static const std::regex onLoad(R"re(\bonLoad\s*=\s*(?:"([^"]*)"|'([^']*)'))re");
  std::smatch element;
  if (!std::regex_search(document, element, root)) return {};
  const std::string attributes = element[1].str();
  std::smatch attribute;
  if (!std::regex_search(attributes, attribute, onLoad)) return {};
  return attribute[1].matched ? attribute[1].str() : attribute[2].str();
}

std::string InspectorRibbon(const host::Item& item) {
  switch (item.Class()) {
    case host::ItemClass::Contact:
      return "Microsoft.Outlook.Contact";
    case host::ItemClass::Mail:
      return "Microsoft.Outlook.Mail.Read";
    case host::ItemClass::Report:
      return "Microsoft.Outlook.Report";
    case host::ItemClass::Note:
      break;
  }
  return {};
}

void PrintLines(const std::string& document, std::ostream& out) {
  std::istringstream lines(document);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out << line << '\n';
  }
}

}  // namespace qor::tools::qorhost
