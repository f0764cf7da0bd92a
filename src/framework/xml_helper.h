#pragma once

// TadxXMLHelper: the small writer of customUI documents. Attributes are written into the start
// tag written last, values as they are (callers pass text that needs no escaping).

#include <string>
#include <utility>
#include <vector>

namespace qor::framework {

class TadxXMLHelper {
 public:
  using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

  void WriteStartElement(const std::wstring& name);
  void WriteAttributeString(const std::wstring& name, const std::wstring& value);
  void WriteAttributeString(const Attributes& attributes);
  void WriteElementWithAttributeString(const std::wstring& name, const Attributes& attributes);
  void WriteEndElement(const std::wstring& name);

  const std::wstring& Text() const noexcept { return FText; }

 private:
  void WriteTagStart();

  std::wstring FNewLine;
  int FIndent = 0;
  std::wstring FText;
};

}  // namespace qor::framework
