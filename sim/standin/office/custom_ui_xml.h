#pragma once

// The element tree of a customUI document, as Office reads the documents add-ins return: elements
// and their attributes (entities decoded); text, comments and processing instructions skipped.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qor::standin::office {

struct XmlElement {
  std::string name;  // as written, with its prefix
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<XmlElement> children;

  std::string_view Prefix() const noexcept;
  std::string_view LocalName() const noexcept;
  // Null when the element has no such attribute.
  const std::string* Attribute(std::string_view attributeName) const noexcept;
  // The namespace the element's prefix is bound to on this element itself (the root's binding).
  std::string OwnNamespace() const;
};

// The document's root element; throws std::invalid_argument for text that is not well-formed.
XmlElement ParseXml(std::string_view text);

}  // namespace qor::standin::office
