#include <algorithm>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <ios>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ascii_case.h"
#include "host/memory/mailbox_file.h"
#include "platform/atomic_file.h"

namespace qor::host::memory {
namespace {

using Json = nlohmann::json;

// The document parser, keeping the byte the parse stopped at: nlohmann's exception for a number
// out of range (1e400) carries no position of its own.
class PositionedParser : public nlohmann::detail::json_sax_dom_parser<Json> {
 public:
  using json_sax_dom_parser::json_sax_dom_parser;

  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
    stop = position;
    return json_sax_dom_parser::parse_error(position, token, error);
  }

  std::size_t stop = 0;
};

// Deeper nesting is no real mailbox; the limit keeps the reader's recursion bounded.
constexpr int kMaxFolderDepth = 100;

class Reader {
 public:
  explicit Reader(std::string source) : source_(std::move(source)) {}

  std::shared_ptr<MemoryOutlook> Read(std::string_view text) const {
    Json root = ParseJson(text);
    return Build(root);
  }

  // Null when the stream cannot be read to its end or holds no valid JSON: the caller reads the
  // text whole to say why.
  std::shared_ptr<MemoryOutlook> TryRead(std::istream& in) const {
    Json root;
    PositionedParser parser(root);
    try {
      Json::sax_parse(in, &parser);
    } catch (const Json::exception&) {
      return nullptr;
    } catch (const std::ios_base::failure&) {
      return nullptr;
    }
    return Build(root);
  }

 private:
  // Moves the strings out of `root` and drops each item once read, so no message body is held
  // twice and the document shrinks as the mailbox grows.
  std::shared_ptr<MemoryOutlook> Build(Json& root) const {
    if (!root.is_object()) Fail("the top level", "expected an object");
    auto outlook = MemoryOutlook::Create(String(root, "outlookVersion", "outlookVersion", "16.0.0.4266"));
    const auto stores = root.find("stores");
    if (stores == root.end()) Fail("stores", "missing; expected an array of stores");
    if (!stores->is_array()) Fail("stores", "expected an array");
    for (std::size_t i = 0; i < stores->size(); ++i)
      ReadStore(*outlook, (*stores)[i], "stores[" + std::to_string(i) + "]");
    const auto explorer = root.find("activeExplorerFolder");
    if (explorer != root.end() && !explorer->is_null()) {
      if (!explorer->is_string()) Fail("activeExplorerFolder", "expected a string or null");
      auto folder = FindByPath(*outlook, explorer->get<std::string>());
      if (!folder) Fail("activeExplorerFolder", "no folder \"" + explorer->get<std::string>() + "\"");
      outlook->SetActiveExplorerFolder(std::move(folder));
    }
    return outlook;
  }

  [[noreturn]] void Fail(const std::string& place, const std::string& problem) const {
    throw MailboxError(source_ + ": " + place + ": " + problem);
  }

  Json ParseJson(std::string_view text) const {
    Json root;
    PositionedParser parser(root);
    try {
      Json::sax_parse(text.begin(), text.end(), &parser);
    } catch (const Json::exception& error) {
      // nlohmann counts the byte it stopped at from 1; show the line and column of that byte.
      const std::size_t stop = parser.stop == 0 ? 0 : std::min<std::size_t>(parser.stop - 1, text.size());
      std::size_t line = 1;
      std::size_t column = 1;
      for (std::size_t i = 0; i < stop; ++i) {
        if (text[i] == '\n') {
          ++line;
          column = 1;
        } else {
          ++column;
        }
      }
      throw MailboxError(source_ + ": invalid JSON at line " + std::to_string(line) + ", column " +
                         std::to_string(column) + ": " + Reason(error.what()));
    }
    return root;
  }

  // "[json.exception.parse_error.101] parse error at line 1, column 2: <reason>" or
  // "[json.exception.out_of_range.406] <reason>": the reason alone.
  static std::string Reason(const std::string& what) {
    const std::size_t tag = what.find("] ");
    std::string reason = tag == std::string::npos ? what : what.substr(tag + 2);
    const std::size_t column = reason.find("column ");
    const std::size_t colon = column == std::string::npos ? std::string::npos : reason.find(": ", column);
    return ShortenLastRead(colon == std::string::npos ? reason : reason.substr(colon + 2));
  }

  // The reason quotes everything read of the token that failed ("last read: '...'"), a whole
  // message body at worst: keep its end, where the fault is.
  static std::string ShortenLastRead(std::string reason) {
    constexpr std::string_view kLastRead = "last read: '";
    constexpr std::size_t kKept = 60;
    const std::size_t start = reason.find(kLastRead);
    const std::size_t end = reason.rfind('\'');
    if (start == std::string::npos || end == std::string::npos) return reason;
    const std::size_t from = start + kLastRead.size();
    if (end < from || end - from <= kKept) return reason;
    std::size_t cut = end - kKept;
    while (cut < end && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) ++cut;  // a whole character
    return reason.replace(from, cut - from, "...");
  }

  Json& Object(Json& node, const std::string& place) const {
    if (!node.is_object()) Fail(place, "expected an object");
    return node;
  }

  // Moved out: each string of the document is read once.
  std::string String(Json& object, const char* key, const std::string& place, std::string fallback = {}) const {
    const auto found = object.find(key);
    if (found == object.end()) return fallback;
    if (!found->is_string()) Fail(place, "expected a string");
    return std::move(found->get_ref<std::string&>());
  }

  Json* Array(Json& object, const char* key, const std::string& place) const {
    const auto found = object.find(key);
    if (found == object.end()) return nullptr;
    if (!found->is_array()) Fail(place, "expected an array");
    return &*found;
  }

  std::int64_t OneOf(const Json& object, const char* key, const std::string& place, std::int64_t fallback,
                     std::initializer_list<std::int64_t> allowed, const char* allowedText) const {
    const auto found = object.find(key);
    if (found == object.end()) return fallback;
    if (found->is_number_integer()) {
      const auto value = found->get<std::int64_t>();
      for (const auto candidate : allowed) {
        if (candidate == value) return value;
      }
    }
    Fail(place, std::string("expected one of ") + allowedText);
  }

  host::ItemType ItemTypeOf(const Json& object, const std::string& place) const {
    return static_cast<host::ItemType>(
        OneOf(object, "defaultItemType", place + ".defaultItemType", 0, {0, 1, 2, 3, 4, 5}, "0, 1, 2, 3, 4, 5"));
  }

  template <typename Add>
  auto Checked(const std::string& place, Add&& add) const {
    try {
      return add();
    } catch (const std::invalid_argument& error) {
      Fail(place, error.what());
    }
  }

  void ReadStore(MemoryOutlook& outlook, Json& node, const std::string& place) const {
    Json& store = Object(node, place);
    const std::string name = String(store, "name", place + ".name");
    const std::string storeId = String(store, "storeId", place + ".storeId");
    const host::ItemType type = ItemTypeOf(store, place);
    auto folder = Checked(place + ".storeId", [&] { return outlook.AddStore(name, storeId, type); });
    ReadContents(*folder, store, place, 0);
  }

  void ReadFolder(MemoryFolder& parent, Json& node, const std::string& place, int depth) const {
    Json& object = Object(node, place);
    if (depth > kMaxFolderDepth) Fail(place, "folders nested more than " + std::to_string(kMaxFolderDepth) + " deep");
    const std::string name = String(object, "name", place + ".name");
    const host::ItemType type = ItemTypeOf(object, place);
    auto folder = Checked(place + ".name", [&] { return parent.AddFolder(name, type); });
    ReadContents(*folder, object, place, depth);
  }

  void ReadContents(MemoryFolder& folder, Json& object, const std::string& place, int depth) const {
    if (Json* items = Array(object, "items", place + ".items")) {
      for (std::size_t i = 0; i < items->size(); ++i) {
        ReadItem(folder, std::move((*items)[i]), place + ".items[" + std::to_string(i) + "]");
      }
    }
    if (Json* folders = Array(object, "folders", place + ".folders")) {
      for (std::size_t i = 0; i < folders->size(); ++i) {
        ReadFolder(folder, (*folders)[i], place + ".folders[" + std::to_string(i) + "]", depth + 1);
      }
    }
  }

  void ReadItem(MemoryFolder& folder, Json node, const std::string& place) const {
    Json& item = Object(node, place);
    const auto itemClass =
        static_cast<host::ItemClass>(OneOf(item, "class", place + ".class", 43, {40, 43, 44, 46}, "40, 43, 44, 46"));
    std::string entryId = String(item, "entryId", place + ".entryId");
    std::string body = String(item, "body", place + ".body");
    if (itemClass != host::ItemClass::Contact) {
      std::string subject = String(item, "subject", place + ".subject");
      Checked(place + ".entryId",
              [&] { return folder.AddMail(std::move(body), std::move(subject), itemClass, std::move(entryId)); });
      return;
    }
    ContactFields fields;
    fields.fullName = String(item, "fullName", place + ".fullName");
    fields.companyName = String(item, "companyName", place + ".companyName");
    fields.businessTelephoneNumber = String(item, "businessTelephoneNumber", place + ".businessTelephoneNumber");
    fields.email1Address = String(item, "email1Address", place + ".email1Address");
    fields.email2Address = String(item, "email2Address", place + ".email2Address");
    fields.email3Address = String(item, "email3Address", place + ".email3Address");
    fields.body = std::move(body);
    Checked(place + ".entryId", [&] { return folder.AddContact(fields, std::move(entryId)); });
  }

  static std::shared_ptr<MemoryFolder> FindByPath(const MemoryOutlook& outlook, std::string_view path) {
    for (const auto& store : outlook.Stores()) {
      if (auto folder = Resolve(store, path)) return folder;
    }
    return nullptr;
  }

  // Matches whole names rather than splitting at "\", so a name holding a backslash still resolves.
  static std::shared_ptr<MemoryFolder> Resolve(const std::shared_ptr<MemoryFolder>& folder, std::string_view path) {
    const std::string& name = folder->DisplayName();
    if (path.size() < name.size() || !platform::EqualsIgnoringAsciiCase(path.substr(0, name.size()), name)) return nullptr;
    if (path.size() == name.size()) return folder;
    if (path[name.size()] != '\\') return nullptr;
    const std::string_view rest = path.substr(name.size() + 1);
    for (const auto& subfolder : folder->Subfolders()) {
      if (auto found = Resolve(subfolder, rest)) return found;
    }
    return nullptr;
  }

  std::string source_;
};

}  // namespace

std::shared_ptr<MemoryOutlook> ParseMailbox(std::string_view json, const std::string& sourceName) {
  return Reader(sourceName).Read(json);
}

std::shared_ptr<MemoryOutlook> LoadMailbox(const std::filesystem::path& path) {
  // Parsed straight from the file, so its bytes are never held beside the document. A file that
  // cannot be opened or parsed is read whole once more, to say why as for a text.
  if (std::ifstream in{path, std::ios::binary}) {
    if (auto outlook = Reader(platform::PathToUtf8(path)).TryRead(in)) return outlook;
  }
  std::string bytes;
  try {
    bytes = platform::ReadFileBytes(path);
  } catch (const std::runtime_error& error) {
    throw MailboxError(error.what());
  }
  return ParseMailbox(bytes, platform::PathToUtf8(path));
}

}  // namespace qor::host::memory
