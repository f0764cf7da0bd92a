#include "host/memory/restrict_filter.h"

#include <array>
#include <optional>
#include <utility>

#include "host/host_error.h"
#include "platform/ascii_case.h"
#include "host/memory/memory_item.h"

namespace qor::host::memory {
namespace {

constexpr std::array<std::pair<std::string_view, FilterProperty>, 10> kProperties{{
    {"Email1Address", FilterProperty::Email1Address},
    {"Email2Address", FilterProperty::Email2Address},
    {"Email3Address", FilterProperty::Email3Address},
    {"FullName", FilterProperty::FullName},
    {"CompanyName", FilterProperty::CompanyName},
    {"BusinessTelephoneNumber", FilterProperty::BusinessTelephoneNumber},
    {"Body", FilterProperty::Body},
    {"Subject", FilterProperty::Subject},
    {"EntryID", FilterProperty::EntryID},
    {"MessageClass", FilterProperty::MessageClass},
}};

// Deep nesting is no real filter; the limit keeps the parser's recursion bounded.
constexpr int kMaxDepth = 100;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  FilterCondition ParseAll() {
    FilterCondition condition = ParseOr();
    SkipSpace();
    if (pos_ != text_.size()) Fail(pos_);
    return condition;
  }

 private:
  [[noreturn]] void Fail(std::size_t at) const {
    throw HostError("Cannot parse condition. Error at \"" + std::string(text_.substr(at)) + "\".");
  }

  void SkipSpace() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }

  bool TakeKeyword(std::string_view keyword) {
    SkipSpace();
    if (text_.size() - pos_ < keyword.size()) return false;
    if (!platform::EqualsIgnoringAsciiCase(text_.substr(pos_, keyword.size()), keyword)) return false;
    const std::size_t end = pos_ + keyword.size();
    if (end < text_.size() && IsWordChar(text_[end])) return false;
    pos_ = end;
    return true;
  }

  static FilterCondition Group(FilterCondition::Kind kind, FilterCondition first) {
    FilterCondition group;
    group.kind = kind;
    group.operands.push_back(std::move(first));
    return group;
  }

  FilterCondition ParseOr() {
    FilterCondition first = ParseAnd();
    if (!TakeKeyword("or")) return first;
    FilterCondition group = Group(FilterCondition::Kind::Or, std::move(first));
    do {
      group.operands.push_back(ParseAnd());
    } while (TakeKeyword("or"));
    return group;
  }

  FilterCondition ParseAnd() {
    FilterCondition first = ParseUnary();
    if (!TakeKeyword("and")) return first;
    FilterCondition group = Group(FilterCondition::Kind::And, std::move(first));
    do {
      group.operands.push_back(ParseUnary());
    } while (TakeKeyword("and"));
    return group;
  }

  FilterCondition ParseUnary() {
    SkipSpace();
    if (++depth_ > kMaxDepth) Fail(pos_);
    FilterCondition condition;
    if (TakeKeyword("not")) {
      condition = Group(FilterCondition::Kind::Not, ParseUnary());
    } else if (pos_ < text_.size() && text_[pos_] == '(') {
      ++pos_;
      condition = ParseOr();
      SkipSpace();
      if (pos_ >= text_.size() || text_[pos_] != ')') Fail(pos_);
      ++pos_;
    } else {
      condition = ParseTerm();
    }
    --depth_;
    return condition;
  }

  FilterCondition ParseTerm() {
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != '[') Fail(pos_);
    const std::size_t close = text_.find(']', pos_);
    if (close == std::string_view::npos) Fail(pos_);
    FilterCondition term;
    term.property = LookUp(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    SkipSpace();
    if (text_.substr(pos_, 1) == "=") {
      pos_ += 1;
    } else if (text_.substr(pos_, 2) == "<>") {
      term.kind = FilterCondition::Kind::NotEqual;
      pos_ += 2;
    } else {
      Fail(pos_);
    }
    term.value = ParseValue();
    return term;
  }

  static FilterProperty LookUp(std::string_view name) {
    std::string_view trimmed = name;
    while (!trimmed.empty() && IsSpace(trimmed.front())) trimmed.remove_prefix(1);
    while (!trimmed.empty() && IsSpace(trimmed.back())) trimmed.remove_suffix(1);
    for (const auto& [known, property] : kProperties) {
      if (platform::EqualsIgnoringAsciiCase(known, trimmed)) return property;
    }
    throw HostError("The property \"" + std::string(name) + "\" in the condition is not valid.");
  }

  std::string ParseValue() {
    SkipSpace();
    if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) Fail(pos_);
    const char quote = text_[pos_];
    const std::size_t start = pos_;
    std::string value;
    for (std::size_t i = pos_ + 1; i < text_.size(); ++i) {
      if (text_[i] != quote) {
        value += text_[i];
      } else if (i + 1 < text_.size() && text_[i + 1] == quote) {
        value += quote;
        ++i;
      } else {
        pos_ = i + 1;
        return value;
      }
    }
    Fail(start);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

std::optional<std::string> ValueOf(const MemoryItem& item, FilterProperty property) {
  switch (property) {
    case FilterProperty::Body:
      return item.StoredBody();
    case FilterProperty::Subject:
      return item.StoredSubject();
    case FilterProperty::EntryID:
      return item.StoredEntryId();
    case FilterProperty::MessageClass:
      return std::string(MessageClassOf(item.StoredClass()));
    default:
      break;
  }
  const auto* contact = dynamic_cast<const MemoryContact*>(&item);
  if (contact == nullptr) return std::nullopt;
  const ContactFields& fields = contact->StoredFields();
  switch (property) {
    case FilterProperty::Email1Address:
      return fields.email1Address;
    case FilterProperty::Email2Address:
      return fields.email2Address;
    case FilterProperty::Email3Address:
      return fields.email3Address;
    case FilterProperty::FullName:
      return fields.fullName;
    case FilterProperty::CompanyName:
      return fields.companyName;
    case FilterProperty::BusinessTelephoneNumber:
      return fields.businessTelephoneNumber;
    default:
      return std::nullopt;
  }
}

bool Evaluate(const FilterCondition& condition, const MemoryItem& item) {
  switch (condition.kind) {
    case FilterCondition::Kind::Not:
      return !Evaluate(condition.operands.front(), item);
    case FilterCondition::Kind::And:
      for (const auto& operand : condition.operands) {
        if (!Evaluate(operand, item)) return false;
      }
      return true;
    case FilterCondition::Kind::Or:
      for (const auto& operand : condition.operands) {
        if (Evaluate(operand, item)) return true;
      }
      return false;
    case FilterCondition::Kind::Equal:
    case FilterCondition::Kind::NotEqual:
      break;
  }
  // An item without the property matches neither = nor <>, as in Outlook.
  const std::optional<std::string> value = ValueOf(item, condition.property);
  if (!value) return false;
  return platform::EqualsIgnoringAsciiCase(*value, condition.value) == (condition.kind == FilterCondition::Kind::Equal);
}

}  // namespace

RestrictFilter::RestrictFilter(std::string_view filter) : root_(Parser(filter).ParseAll()) {}

bool RestrictFilter::Matches(const MemoryItem& item) const { return Evaluate(root_, item); }

}  // namespace qor::host::memory
