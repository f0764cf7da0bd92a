#include "engine/exclusions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/atomic_file.h"
#include "platform/text_file.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::ThrowsMessage;
using namespace std::string_literals;

class ExclusionsTest : public tests::EngineFixture {
 protected:
  std::filesystem::path File() const { return ExclusionFilePath(context.usersAppFolderPath); }

  std::string FileBytes() const {
    std::ifstream in(File(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  void WriteFileBytes(const std::string& bytes) const {
    std::ofstream out(File(), std::ios::binary);
    out << bytes;
  }

  std::string Mark(std::size_t index) const { return data[index][kExcluded]; }
};

// Another wizard, another Outlook or `qor run` may have saved the file since this wizard read it:
// a save applies this wizard's own edits to the file as it is then.
TEST_F(ExclusionsTest, SaveExclusions_MergesThisWizardsEditsIntoTheFileAsItIsNow) {
  WriteFileBytes("old@example.com\r\nolder@example.com\r\n");
  StringListModel excluded;
  ExclusionEdits edits;
  ReadExclusions(context.usersAppFolderPath, excluded, edits);
  WriteFileBytes("old@example.com\r\nolder@example.com\r\nother@example.com\r\n");

  edits.Remove("old@example.com");
  edits.Add(" Amy@Example.com ");
  SaveExclusions(context.usersAppFolderPath, excluded, edits);
  EXPECT_EQ(FileBytes(), "older@example.com\r\nother@example.com\r\n Amy@Example.com \r\n");
  EXPECT_THAT(excluded.items, ElementsAre("older@example.com", "other@example.com", " Amy@Example.com "));
  EXPECT_TRUE(edits.empty());
  EXPECT_EQ(File().filename(), "qorexclusions.dat");
  EXPECT_THAT(appFolder.FileNames(), ElementsAre("qorexclusions.dat"));

  // Edits that leave the file as it is, or none at all, write nothing: a save would fail here.
  platform::FailSavesAt(platform::SaveStep::CreateTemporary);
  edits.Add("AMY@example.com");
  edits.Remove("nobody@example.com");
  EXPECT_NO_THROW(SaveExclusions(context.usersAppFolderPath, excluded, edits));
  EXPECT_NO_THROW(SaveExclusions(context.usersAppFolderPath, excluded, edits));

  // A save that fails keeps its edits for the next one.
  edits.Add("zed@example.com");
  EXPECT_THROW(SaveExclusions(context.usersAppFolderPath, excluded, edits), std::runtime_error);
  platform::FailSavesAt(std::nullopt);
  WriteFileBytes("");
  ReadExclusions(context.usersAppFolderPath, excluded, edits);
  EXPECT_THAT(excluded.items, ElementsAre("zed@example.com"));
  SaveExclusions(context.usersAppFolderPath, excluded, edits);
  EXPECT_EQ(FileBytes(), "zed@example.com\r\n");
}

TEST_F(ExclusionsTest, ReadExclusions_SplitsAtEveryLineBreakAndKeepsBlanks) {
  StringListModel excluded{{"stale@example.com"}, 0};
  WriteFileBytes("a@x.com\r\n B@Y.com \rc@z.com\n\r\nd@w.com");
  ReadExclusions(context.usersAppFolderPath, excluded, {});
  EXPECT_THAT(excluded.items, ElementsAre("a@x.com", " B@Y.com ", "c@z.com", "", "d@w.com"));
  EXPECT_EQ(excluded.itemIndex, -1);

  WriteFileBytes("");
  ReadExclusions(context.usersAppFolderPath, excluded, {});
  EXPECT_THAT(excluded.items, IsEmpty());
}

// Editors save lists as UTF-8 with a mark or as UTF-16 in either byte order, with a mark or (Notepad's
// "Unicode", PowerShell) without one. A file that is no text in its encoding, or holds NUL bytes
// that are no UTF-16, is refused, so it is never shown shortened and saved over.
TEST_F(ExclusionsTest, ReadExclusions_ReadsEveryEncodingEditorsSaveAndRefusesDamagedFiles) {
  const std::vector<std::string> expected = {"m\xC3\xBCller@example.de", "bob@example.org"};
  StringListModel excluded;
  for (
      const std::string& file :
      {"\xEF\xBB\xBFm\xC3\xBCller@example.de\r\nbob@example.org\r\n"s,
       "\xFF\xFEm\0\xFC\0l\0l\0e\0r\0@\0e\0x\0a\0m\0p\0l\0e\0.\0d\0e\0\r\0\n\0b\0o\0b\0@\0e\0x\0a\0m\0p\0l\0e\0.\0o\0r\0g\0\r\0\n\0"s,
       "\xFE\xFF\0m\0\xFC\0l\0l\0e\0r\0@\0e\0x\0a\0m\0p\0l\0e\0.\0d\0e\0\r\0\n\0b\0o\0b\0@\0e\0x\0a\0m\0p\0l\0e\0.\0o\0r\0g"s,
       "m\0\xFC\0l\0l\0e\0r\0@\0e\0x\0a\0m\0p\0l\0e\0.\0d\0e\0\r\0\n\0b\0o\0b\0@\0e\0x\0a\0m\0p\0l\0e\0.\0o\0r\0g\0\r\0\n\0"s,
       "\0m\0\xFC\0l\0l\0e\0r\0@\0e\0x\0a\0m\0p\0l\0e\0.\0d\0e\0\n\0b\0o\0b\0@\0e\0x\0a\0m\0p\0l\0e\0.\0o\0r\0g"s}) {
    excluded.items.clear();
    WriteFileBytes(file);
    ReadExclusions(context.usersAppFolderPath, excluded, {});
    EXPECT_EQ(excluded.items, expected);
  }
  // Cyrillic and Chinese in UTF-16 without a mark: most units have a high byte, the breaks none.
  WriteFileBytes(
      "\x37\x04\x30\x04@\0\x3F\x04.\0\x40\x04\x44\x04\r\0\n\0\x28\x75\x37\x62@\0\x8B\x4F.\0\x7F\x5E\r\0\n\0"s);
  ReadExclusions(context.usersAppFolderPath, excluded, {});
  EXPECT_THAT(excluded.items, ElementsAre("\u0437\u0430@\u043f.\u0440\u0444", "\u7528\u6237@\u4f8b.\u5e7f"));

  for (const std::string& bad : {"\xEF\xBB\xBF"
                                 "a@x.com\xFF\r\n"s,
                                 "\xFF\xFE"
                                 "a\0@\0x"s,
                                 "\xFF\xFE\x00\xD8\r\0\n\0"s}) {
    WriteFileBytes(bad);
    EXPECT_THAT([&] { ReadExclusions(context.usersAppFolderPath, excluded, {}); },
                ThrowsMessage<std::runtime_error>(AllOf(HasSubstr("qorexclusions.dat"), HasSubstr("it is not valid"))));
    EXPECT_EQ(excluded.items[0], "\u0437\u0430@\u043f.\u0440\u0444");
    EXPECT_EQ(FileBytes(), bad);
  }
  // NUL bytes that are no UTF-16: a zeroed tail, a stray NUL, UTF-8 holding one.
  for (const std::string& bad :
       {"amy@example.com\r\nbob@example.org\r\n\0\0\0\0\0\0"s, "amy@example.com\r\n\0bob@example.org\r\n"s,
        "\xEF\xBB\xBF"
        "a@x.com\0\r\n"s}) {
    WriteFileBytes(bad);
    EXPECT_THAT([&] { ReadExclusions(context.usersAppFolderPath, excluded, {}); },
                ThrowsMessage<std::runtime_error>(AllOf(HasSubstr("qorexclusions.dat"), HasSubstr("NUL"))));
    EXPECT_EQ(excluded.items[0], "\u0437\u0430@\u043f.\u0440\u0444");
    ExclusionEdits edits;
    edits.Add("new@example.com");
    EXPECT_THROW(SaveExclusions(context.usersAppFolderPath, excluded, edits), std::runtime_error);
    EXPECT_EQ(FileBytes(), bad);
  }
}

TEST_F(ExclusionsTest, ReadExclusions_KeepsTheListWithoutAFileAndFailsOnAnUnreadableOne) {
  StringListModel excluded{{"kept@example.com"}, -1};
  ReadExclusions(context.usersAppFolderPath, excluded, {});
  EXPECT_THAT(excluded.items, ElementsAre("kept@example.com"));

  std::filesystem::create_directory(File());
  EXPECT_THROW(ReadExclusions(context.usersAppFolderPath, excluded, {}), std::runtime_error);
  EXPECT_THAT(excluded.items, ElementsAre("kept@example.com"));
}

TEST_F(ExclusionsTest, MarkExclusions_MatchesLinesTrimmedAndIgnoringCase) {
  AddEntry("amy@example.com");
  AddEntry("bob@example.org");
  AddEntry("carl@example.net", "M", "", "Y");
  MarkExclusions({{"  AMY@Example.COM\t", "nobody@example.com", "bob@example.org.uk"}}, data);
  EXPECT_EQ(Mark(0), "Y");
  EXPECT_EQ(Mark(1), "N");
  EXPECT_EQ(Mark(2), "Y");
}

TEST_F(ExclusionsTest, ExcludeButton_MovesTheSelectionToTheEndOfTheExclusionsAndSavesAtOnce) {
  AddEntry("amy@example.com");
  AddEntry("bob@example.org");
  StringListModel found{{"amy@example.com", "bob@example.org"}, -1};
  StringListModel excluded{{"zed@example.com"}, 0};
  ExclusionEdits edits;
  WriteFileBytes("zed@example.com");

  btnExcludeClick(found, excluded, edits, data, context.usersAppFolderPath);
  EXPECT_EQ(FileBytes(), "zed@example.com");
  EXPECT_EQ(found.items.size(), 2u);

  found.itemIndex = 0;
  btnExcludeClick(found, excluded, edits, data, context.usersAppFolderPath);
  EXPECT_THAT(found.items, ElementsAre("bob@example.org"));
  EXPECT_EQ(found.itemIndex, -1);
  EXPECT_THAT(excluded.items, ElementsAre("zed@example.com", "amy@example.com"));
  EXPECT_EQ(excluded.itemIndex, 0);
  EXPECT_EQ(Mark(0), "Y");
  EXPECT_EQ(Mark(1), "N");
  EXPECT_EQ(FileBytes(), "zed@example.com\r\namy@example.com\r\n");

  // A selection the list no longer holds counts as none.
  found.itemIndex = 5;
  btnExcludeClick(found, excluded, edits, data, context.usersAppFolderPath);
  EXPECT_THAT(found.items, ElementsAre("bob@example.org"));
}

TEST_F(ExclusionsTest, RemoveButton_RewritesTheFileWithoutTheLineAndLetsTheAddressGo) {
  AddEntry("amy@example.com", "M", "", "Y");
  AddEntry("bob@example.org", "M", "", "Y");
  StringListModel found;
  StringListModel excluded{{"amy@example.com", " BOB@Example.org ", "zed@example.com"}, 1};
  ExclusionEdits edits;
  WriteFileBytes("amy@example.com\r\n BOB@Example.org \r\nzed@example.com\r\n");

  btnRemoveExclusionClick(excluded, edits, data, context.usersAppFolderPath);
  EXPECT_THAT(excluded.items, ElementsAre("amy@example.com", "zed@example.com"));
  EXPECT_EQ(excluded.itemIndex, -1);
  EXPECT_EQ(Mark(0), "Y");
  EXPECT_EQ(Mark(1), "N");  // the line's blanks and capitals do not keep it excluded
  EXPECT_THAT(found.items, IsEmpty());
  EXPECT_EQ(FileBytes(), "amy@example.com\r\nzed@example.com\r\n");

  // Nothing selected: nothing changed, so nothing is written.
  std::filesystem::remove(File());
  btnRemoveExclusionClick(excluded, edits, data, context.usersAppFolderPath);
  EXPECT_FALSE(std::filesystem::exists(File()));
  EXPECT_THAT(excluded.items, ElementsAre("amy@example.com", "zed@example.com"));
}

TEST_F(ExclusionsTest, RemoveButton_KeepsTheMarkWhileAnotherLineStillExcludesTheAddress) {
  AddEntry("amy@example.com", "M", "", "Y");
  StringListModel excluded{{"amy@example.com", "Amy@Example.com"}, 0};
  ExclusionEdits edits;
  WriteFileBytes("amy@example.com\r\nAmy@Example.com\r\n");
  btnRemoveExclusionClick(excluded, edits, data, context.usersAppFolderPath);
  EXPECT_EQ(Mark(0), "Y");
  excluded.itemIndex = 0;
  btnRemoveExclusionClick(excluded, edits, data, context.usersAppFolderPath);
  EXPECT_EQ(Mark(0), "N");
  EXPECT_EQ(FileBytes(), "");
}

TEST_F(ExclusionsTest, AppFolder_IsTheTrimmedSharedDocumentsFolderAndCreatedOneLevelDeep) {
  const std::filesystem::path documents = appFolder.Path() / "Public Documents";
  fakes.folders.commonDocuments = std::string(" ") + platform::PathToUtf8(documents) + "\0junk"s;
  EXPECT_EQ(GetUserDocumentsFolder(fakes.folders), " " + platform::PathToUtf8(documents));

  const std::string appPath = MakeUsersAppFolderPath(fakes.folders);
  EXPECT_EQ(appPath, platform::PathToUtf8(documents / "QOR for Outlook"));

  CreateUsersAppFolder(appPath);  // the parent is missing: nothing is created and nothing fails
  EXPECT_FALSE(std::filesystem::exists(documents));
  std::filesystem::create_directory(documents);
  CreateUsersAppFolder(appPath);
  CreateUsersAppFolder(appPath);
  EXPECT_TRUE(std::filesystem::is_directory(documents / "QOR for Outlook"));
}

}  // namespace
}  // namespace qor::engine
