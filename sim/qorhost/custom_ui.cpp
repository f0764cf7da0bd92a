#include "custom_ui.h"

#include <sstream>
#include <stdexcept>

#include "standin/office/custom_ui_xml.h"

namespace qor::tools::qorhost {

std::string OnLoadCallback(const std::string& document) {
  try {
    const standin::office::XmlElement root = standin::office::ParseXml(document);
    const std::string* onLoad = root.LocalName() == "customUI" ? root.Attribute("onLoad") : nullptr;
    return onLoad == nullptr ? std::string() : *onLoad;
  } catch (const std::invalid_argument&) {
    return {};  // Office loads nothing of a document it cannot read
  }
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
