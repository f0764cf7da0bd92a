#pragma once

#include <filesystem>
#include <string>

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

// Replaces the list with the exclusion file's lines when the file exists; a file that exists but
// cannot be read throws.
void ReadExclusions(const std::string& usersAppFolderPath, StringListModel& excluded);

// Writes every line of the list, each followed by CR LF, replacing the old file. Throws when the
// file cannot be written.
void SaveExclusions(const std::string& usersAppFolderPath, const StringListModel& excluded);

// Marks "Y" every entry whose address a line of the list names, trimmed and ignoring case.
void MarkExclusions(const StringListModel& excluded, TEmailData& data);

// "Exclude Selected E-mail Address": moves the selected found address to the end of the exclusion
// list, marks it "Y" and saves the file. Nothing happens without a selection.
void btnExcludeClick(StringListModel& found, StringListModel& excluded, TEmailData& data,
                     const std::string& usersAppFolderPath);

// "Remove From Exclusion List": drops the selected line, marks its address "N" unless another line
// still excludes it, and saves the file, also without a selection.
void btnRemoveExclusionClick(StringListModel& excluded, TEmailData& data, const std::string& usersAppFolderPath);

}  // namespace qor::engine
