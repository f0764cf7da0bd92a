#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/email_data.h"
#include "engine/list_model.h"
#include "platform/services.h"

namespace qor::engine {

// The documents folder shared by all users, as the shell names it.
std::string GetUserDocumentsFolder(platform::SpecialFolders& folders);

// The application folder: the shared documents folder, trimmed, then "QOR for Outlook".
std::string MakeUsersAppFolderPath(platform::SpecialFolders& folders);

// Creates the application folder, one level only; an existing folder or a failure is ignored.
void CreateUsersAppFolder(const std::string& usersAppFolderPath);

std::filesystem::path ExclusionFilePath(const std::string& usersAppFolderPath);

// The changes one wizard's user made to the exclusion list, in order, that the file may not hold
// yet. A save applies them to the file as it is then, so that what another wizard, another
// Outlook or `qor run` saved meanwhile is kept.
class ExclusionEdits {
 public:
  void Add(std::string line) { edits_.push_back({true, std::move(line)}); }
  void Remove(std::string line) { edits_.push_back({false, std::move(line)}); }
  bool empty() const noexcept { return edits_.empty(); }
  void clear() noexcept { edits_.clear(); }

  // `lines` with every edit applied: an added line is appended unless a line already excludes its
  // address; a removed line takes the first line equal to it away, or else the first that names
  // its address.
  std::vector<std::string> AppliedTo(std::vector<std::string> lines) const;

 private:
  struct Edit {
    bool add;
    std::string line;
  };
  std::vector<Edit> edits_;
};

// Replaces the list with the exclusion file's lines, the pending edits applied, when the file
// exists; a file that exists but cannot be read (or holds NUL bytes) throws and changes nothing.
void ReadExclusions(const std::string& usersAppFolderPath, StringListModel& excluded, const ExclusionEdits& edits);

// Applies the pending edits to the file as it is now, writing each line followed by CR LF, and
// shows the result in the list. Writes nothing when there are no edits or the file already holds
// their result. Throws when the file cannot be read or written; the edits then stay pending.
void SaveExclusions(const std::string& usersAppFolderPath, StringListModel& excluded, ExclusionEdits& edits);

// Marks "Y" every entry whose address a line of the list names, trimmed and ignoring case.
void MarkExclusions(const StringListModel& excluded, TEmailData& data);

// "Exclude Selected E-mail Address": moves the selected found address to the end of the exclusion
// list, marks it "Y" and saves the file. Nothing happens without a selection.
void btnExcludeClick(StringListModel& found, StringListModel& excluded, ExclusionEdits& edits, TEmailData& data,
                     const std::string& usersAppFolderPath);

// "Remove From Exclusion List": drops the selected line, marks its address "N" unless another line
// still excludes it, and saves the file; without a selection it saves only edits still pending.
void btnRemoveExclusionClick(StringListModel& excluded, ExclusionEdits& edits, TEmailData& data,
                             const std::string& usersAppFolderPath);

}  // namespace qor::engine
