#include "engine/exclusions.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <vector>

#include "engine/text.h"
#include "platform/atomic_file.h"
#include "platform/text_file.h"

namespace qor::engine {

namespace {

constexpr std::string_view kAppFolderName = "QOR for Outlook";
constexpr std::string_view kExclusionFileName = "qorexclusions.dat";

// Lines end at CR LF, a lone CR or a lone LF; text after the last break is a line of its own.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string ExclusionKey(std::string_view line) { return LowerAscii(Trim(line)); }

// The file's lines; null when there is no file. Throws when it cannot be read.
std::optional<std::vector<std::string>> ReadExclusionFile(const std::string& usersAppFolderPath) {
  const auto path = ExclusionFilePath(usersAppFolderPath);
  std::error_code error;
  // Any doubt other than "not there" goes on to the read, which reports it.
  if (std::filesystem::status(path, error).type() == std::filesystem::file_type::not_found) return std::nullopt;
  return SplitLines(platform::ReadTextFile(path));
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool IsSelected(const StringListModel& list) {
  return list.itemIndex >= 0 && static_cast<std::size_t>(list.itemIndex) < list.items.size();
}

// Removes the selected line and returns it; the list box selects nothing afterwards.
std::string TakeSelected(StringListModel& list) {
  const auto at = list.items.begin() + list.itemIndex;
  std::string text = std::move(*at);
  list.items.erase(at);
  list.itemIndex = -1;
  return text;
}

}  // namespace

std::string GetUserDocumentsFolder(platform::SpecialFolders& folders) {
  std::string path = folders.CommonDocuments();
  if (const auto nul = path.find('\0'); nul != std::string::npos) path.resize(nul);
  return path;
}

std::string MakeUsersAppFolderPath(platform::SpecialFolders& folders) {
  const std::string documents = Trim(GetUserDocumentsFolder(folders));
  return platform::PathToUtf8(platform::PathFromUtf8(documents) / platform::PathFromUtf8(kAppFolderName));
}

void CreateUsersAppFolder(const std::string& usersAppFolderPath) {
  std::error_code ignored;
  std::filesystem::create_directory(platform::PathFromUtf8(usersAppFolderPath), ignored);
}

std::filesystem::path ExclusionFilePath(const std::string& usersAppFolderPath) {
  return platform::PathFromUtf8(usersAppFolderPath) / platform::PathFromUtf8(kExclusionFileName);
}

std::vector<std::string> ExclusionEdits::AppliedTo(std::vector<std::string> lines) const {
  for (const Edit& edit : edits_) {
    const std::string key = ExclusionKey(edit.line);
    const auto sameAddress = [&key](const std::string& line) { return ExclusionKey(line) == key; };
    if (edit.add) {
      if (std::none_of(lines.begin(), lines.end(), sameAddress)) lines.push_back(edit.line);
      continue;
    }
    auto found = std::find(lines.begin(), lines.end(), edit.line);
    if (found == lines.end()) found = std::find_if(lines.begin(), lines.end(), sameAddress);
    if (found != lines.end()) lines.erase(found);
  }
  return lines;
}

void ReadExclusions(const std::string& usersAppFolderPath, StringListModel& excluded, const ExclusionEdits& edits) {
  if (auto lines = ReadExclusionFile(usersAppFolderPath)) {
    excluded.items = edits.AppliedTo(std::move(*lines));
    excluded.itemIndex = -1;
  }
}

void SaveExclusions(const std::string& usersAppFolderPath, StringListModel& excluded, ExclusionEdits& edits) {
  if (edits.empty()) return;
  const std::vector<std::string> current = ReadExclusionFile(usersAppFolderPath).value_or(std::vector<std::string>());
  std::vector<std::string> merged = edits.AppliedTo(current);
  if (merged != current) platform::WriteTextFile(ExclusionFilePath(usersAppFolderPath), JoinLines(merged));
  edits.clear();
  if (merged != excluded.items) {
    excluded.items = std::move(merged);
    excluded.itemIndex = -1;
  }
}

void MarkExclusions(const StringListModel& excluded, TEmailData& data) {
  if (excluded.items.empty()) return;
  // Same marks as MarkEmail once per line, in one pass over the table, without a lower-cased
  // copy of each address.
  std::unordered_set<std::string, CaseBlindHash, CaseBlindEqual> addresses;
  for (const auto& line : excluded.items) addresses.insert(Trim(line));
  for (auto& entry : data) {
    if (addresses.contains(std::string_view(entry[kAddress]))) entry[kExcluded] = kExcludedMark;
  }
}

void btnExcludeClick(StringListModel& found, StringListModel& excluded, ExclusionEdits& edits, TEmailData& data,
                     const std::string& usersAppFolderPath) {
  if (!IsSelected(found)) return;
  std::string address = TakeSelected(found);
  MarkEmail(data, address, kExcludedMark);
  excluded.items.push_back(address);
  edits.Add(std::move(address));
  SaveExclusions(usersAppFolderPath, excluded, edits);
}

void btnRemoveExclusionClick(StringListModel& excluded, ExclusionEdits& edits, TEmailData& data,
                             const std::string& usersAppFolderPath) {
  if (IsSelected(excluded)) {
    std::string line = TakeSelected(excluded);
    // Compared as MarkExclusions compares, so a line read with blanks or capitals lets its
    // address go; a second line naming the same address keeps it excluded.
    const std::string address = ExclusionKey(line);
    bool stillExcluded = false;
    for (const auto& other : excluded.items) stillExcluded = stillExcluded || ExclusionKey(other) == address;
    if (!stillExcluded) MarkEmail(data, address, kIncluded);
    edits.Remove(std::move(line));
  }
  SaveExclusions(usersAppFolderPath, excluded, edits);
}

}  // namespace qor::engine
