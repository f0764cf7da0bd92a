#include "framework/xml_helper.h"

namespace qor::framework {

void TadxXMLHelper::WriteTagStart() {
  FText += FNewLine;
  FText.append(static_cast<std::size_t>(FIndent > 0 ? FIndent : 0), L'\t');
  FText += L'<';
}

void TadxXMLHelper::WriteStartElement(const std::wstring& name) {
  WriteTagStart();
  FText += name + L'>';
  FNewLine = L"\r\n";
  ++FIndent;
}

void TadxXMLHelper::WriteAttributeString(const std::wstring& name, const std::wstring& value) {
  const std::size_t at = FText.empty() ? 0 : FText.size() - 1;
  FText.insert(at, L" " + name + L"=\"" + value + L"\"");
}

void TadxXMLHelper::WriteAttributeString(const Attributes& attributes) {
  for (const auto& [name, value] : attributes) WriteAttributeString(name, value);
}

void TadxXMLHelper::WriteElementWithAttributeString(const std::wstring& name, const Attributes& attributes) {
  WriteTagStart();
  FText += name;
  for (const auto& [attribute, value] : attributes) FText += L" " + attribute + L"=\"" + value + L"\"";
  FText += L" />";
}

void TadxXMLHelper::WriteEndElement(const std::wstring& name) {
  --FIndent;
  WriteTagStart();
  FText += L"/" + name + L'>';
}

}  // namespace qor::framework
