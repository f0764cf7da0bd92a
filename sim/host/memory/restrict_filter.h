#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qor::host::memory {

class MemoryItem;

enum class FilterProperty {
  Email1Address,
  Email2Address,
  Email3Address,
  FullName,
  CompanyName,
  BusinessTelephoneNumber,
  Body,
  Subject,
  EntryID,
  MessageClass,
};

struct FilterCondition {
  enum class Kind { Equal, NotEqual, Not, And, Or };
  Kind kind = Kind::Equal;
  FilterProperty property = FilterProperty::Body;
  std::string value;
  std::vector<FilterCondition> operands;
};

// A condition in Outlook's restriction syntax: `[Property] = "value"` terms ('value' too, a doubled
// quote inside standing for one; `<>` as well) joined by `and`, `or` and `not`, with parentheses;
// `and` binds tighter than `or`. Names, keywords and values compare ignoring ASCII letter case.
class RestrictFilter {
 public:
  // Throws HostError with Outlook's message when the filter is malformed or names an unknown property.
  explicit RestrictFilter(std::string_view filter);

  // Against the item's stored state. A contact's property on another item never matches.
  bool Matches(const MemoryItem& item) const;

 private:
  FilterCondition root_;
};

}  // namespace qor::host::memory
