#include "standin/office/custom_ui_xml.h"

#include <charconv>
#include <stdexcept>

namespace qor::standin::office {
namespace {

bool IsSpace(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) noexcept {
  return !IsSpace(c) && c != '>' && c != '/' && c != '=' && c != '<' && c != '"' && c != '\'';
}

std::string Utf8Of(unsigned long code) {
  std::string text;
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (code >> 18));
    text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
  return text;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  XmlElement Document() {
    SkipMisc();
    if (!At("<")) Fail("no root element");
    XmlElement root = Element();
    SkipMisc();
    if (pos_ != text_.size()) Fail("text after the root element");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::invalid_argument("customUI document: " + what + " at offset " + std::to_string(pos_));
  }
  bool At(std::string_view what) const noexcept { return text_.substr(pos_, what.size()) == what; }
  void SkipSpace() noexcept {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  }
  void SkipPast(std::string_view end) {
    const auto found = text_.find(end, pos_);
    if (found == std::string_view::npos) Fail("unterminated markup");
    pos_ = found + end.size();
  }
  // Whitespace, comments, processing instructions and a document type before or after the root.
  void SkipMisc() {
    for (SkipSpace(); At("<?") || At("<!"); SkipSpace()) SkipPast(At("<!--") ? "-->" : ">");
  }
  std::string Name() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    if (pos_ == start) Fail("a name expected");
    return std::string(text_.substr(start, pos_ - start));
  }
  std::string Decoded(std::string_view raw) const {
    std::string value;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '&') {
        value += raw[i];
        continue;
      }
      const auto end = raw.find(';', i);
      if (end == std::string_view::npos) Fail("an unterminated entity");
      const std::string_view entity = raw.substr(i + 1, end - i - 1);
      if (entity == "lt")
        value += '<';
      else if (entity == "gt")
        value += '>';
      else if (entity == "amp")
        value += '&';
      else if (entity == "quot")
        value += '"';
      else if (entity == "apos")
        value += '\'';
      else if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x';
        const std::string_view digits = entity.substr(hex ? 2 : 1);
        unsigned long code = 0;
        const auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (error != std::errc() || last != digits.data() + digits.size() || code > 0x10FFFF) Fail("a bad character");
        value += Utf8Of(code);
      } else {
        Fail("an unknown entity");
      }
      i = end;
    }
    return value;
  }
  XmlElement Element() {
    ++pos_;  // '<'
    XmlElement element;
    element.name = Name();
    for (;;) {
      SkipSpace();
      if (At("/>")) {
        pos_ += 2;
        return element;
      }
      if (At(">")) {
        ++pos_;
        break;
      }
      std::string attribute = Name();
      SkipSpace();
      if (!At("=")) Fail("'=' expected");
      ++pos_;
      SkipSpace();
      if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) Fail("a quoted value expected");
      const char quote = text_[pos_++];
      const auto end = text_.find(quote, pos_);
      if (end == std::string_view::npos) Fail("an unterminated value");
      element.attributes.emplace_back(std::move(attribute), Decoded(text_.substr(pos_, end - pos_)));
      pos_ = end + 1;
    }
    for (;;) {
      const auto open = text_.find('<', pos_);
      if (open == std::string_view::npos) Fail("<" + element.name + "> not closed");
      pos_ = open;
      if (At("</")) {
        pos_ += 2;
        if (Name() != element.name) Fail("</" + element.name + "> expected");
        SkipSpace();
        if (!At(">")) Fail("'>' expected");
        ++pos_;
        return element;
      }
      if (At("<!--"))
        SkipPast("-->");
      else if (At("<![CDATA["))
        SkipPast("]]>");
      else if (At("<?"))
        SkipPast("?>");
      else
        element.children.push_back(Element());
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string_view XmlElement::Prefix() const noexcept {
  const auto colon = std::string_view(name).find(':');
  return colon == std::string_view::npos ? std::string_view() : std::string_view(name).substr(0, colon);
}

std::string_view XmlElement::LocalName() const noexcept {
  const auto colon = std::string_view(name).find(':');
  return colon == std::string_view::npos ? std::string_view(name) : std::string_view(name).substr(colon + 1);
}

const std::string* XmlElement::Attribute(std::string_view attributeName) const noexcept {
  for (const auto& [key, value] : attributes)
    if (key == attributeName) return &value;
  return nullptr;
}

std::string XmlElement::OwnNamespace() const {
  const std::string_view prefix = Prefix();
  const std::string* uri = Attribute(prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix));
  return uri == nullptr ? std::string() : *uri;
}

XmlElement ParseXml(std::string_view text) { return Reader(text).Document(); }

}  // namespace qor::standin::office
