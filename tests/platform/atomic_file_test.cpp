#include "platform/atomic_file.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>

#include "support/temp_folder.h"

namespace qor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;
using ::testing::UnorderedElementsAre;
using namespace std::string_literals;

TEST(AtomicFile, WriteReplacesAnExistingFileWholeAndKeepsEveryByte) {
  tests::TempFolder folder;
  const auto target = folder.Path() / "export.txt";
  WriteFileAtomically(target, std::string(10000, 'x'));
  const std::string bytes = "line\r\nnext\nnul\0end\x1a\xff"s;
  WriteFileAtomically(target, bytes);

  EXPECT_EQ(ReadFileBytes(target), bytes);
  EXPECT_THAT(folder.FileNames(), ElementsAre("export.txt"));
}

TEST(AtomicFile, FailedWriteThrowsNamingThePathAndLeavesNothingBehind) {
  tests::TempFolder folder;
  const auto missingFolder = folder.Path() / "missing";
  EXPECT_THAT([&] { WriteFileAtomically(missingFolder / "out.txt", "data"); },
              ThrowsMessage<std::runtime_error>(HasSubstr("out.txt")));
  EXPECT_FALSE(std::filesystem::exists(missingFolder));

  // The temporary file gets written here; only the rename fails.
  const auto occupied = folder.Path() / "occupied";
  std::filesystem::create_directory(occupied);
  std::ofstream(occupied / "keep.txt") << "kept";
  EXPECT_THAT([&] { WriteFileAtomically(occupied, "data"); }, ThrowsMessage<std::runtime_error>(HasSubstr("occupied")));
  EXPECT_TRUE(std::filesystem::is_directory(occupied));
  EXPECT_EQ(ReadFileBytes(occupied / "keep.txt"), "kept");
  EXPECT_THAT(folder.FileNames(), ElementsAre("occupied"));
}

// A crash mid-save leaves a temporary beside the file; the next save of that file removes its own
// old ones, and leaves alone what a save running meanwhile or another file's save is writing.
TEST(AtomicFile, SaveRemovesTheTemporariesAnInterruptedSaveOfTheSameFileLeft) {
  tests::TempFolder folder;
  const auto target = folder.Path() / "qorexclusions.dat";
  const auto stale = folder.Path() / "qorexclusions.dat.tmp-0123456789abcdef";
  const auto running = folder.Path() / "qorexclusions.dat.tmp-fedcba9876543210";
  const auto otherFiles = folder.Path() / "export.txt.tmp-0123456789abcdef";
  const auto notOurs = folder.Path() / "qorexclusions.dat.tmp-notes";
  for (const auto& file : {stale, running, otherFiles, notOurs}) std::ofstream(file) << "partial";
  const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const auto& file : {stale, otherFiles, notOurs}) std::filesystem::last_write_time(file, longAgo);

  WriteFileAtomically(target, "a@example.com\r\n");
  EXPECT_THAT(folder.FileNames(), UnorderedElementsAre("qorexclusions.dat", running.filename().string(),
                                                       otherFiles.filename().string(), notOurs.filename().string()));
}

// Makes every save fail at one step while it lives.
class FailingSaves {
 public:
  explicit FailingSaves(SaveStep step) noexcept { FailSavesAt(step); }
  ~FailingSaves() { FailSavesAt(std::nullopt); }
  FailingSaves(const FailingSaves&) = delete;
  FailingSaves& operator=(const FailingSaves&) = delete;
};

// Before the replacement a failure leaves the old file whole; after it, the new one, and the
// failure is still reported. No temporary file stays behind either way.
TEST(AtomicFile, FailureAtEveryStepLeavesAWholeFileAndIsReported) {
  tests::TempFolder folder;
  const auto target = folder.Path() / "qorexclusions.dat";
  WriteFileAtomically(target, "old\r\n");
  for (const SaveStep step : {SaveStep::CreateTemporary, SaveStep::Write, SaveStep::Flush, SaveStep::Replace}) {
    {
      const FailingSaves failing(step);
      EXPECT_THAT([&] { WriteFileAtomically(target, "new\r\n"); },
                  ThrowsMessage<std::runtime_error>(HasSubstr("qorexclusions.dat")));
    }
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_THAT(folder.FileNames(), ElementsAre("qorexclusions.dat"));
  }
  {
    const FailingSaves failing(SaveStep::SyncFolder);
    EXPECT_THAT([&] { WriteFileAtomically(target, "new\r\n"); },
                ThrowsMessage<std::runtime_error>(HasSubstr("the new file is in place")));
  }
  EXPECT_EQ(ReadFileBytes(target), "new\r\n");
  EXPECT_THAT(folder.FileNames(), ElementsAre("qorexclusions.dat"));
}

TEST(AtomicFile, ReplacedFileKeepsItsAttributes) {
  tests::TempFolder folder;
  const auto target = folder.Path() / "export.txt";
  WriteFileAtomically(target, "first");
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  WriteFileAtomically(target, "second");
  EXPECT_NE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#else
  std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
  WriteFileAtomically(target, "second");
  EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::group_read);
#endif
  EXPECT_EQ(ReadFileBytes(target), "second");
}

TEST(AtomicFile, ReadFailsNamingTheFile) {
  tests::TempFolder folder;
  EXPECT_THAT([&] { ReadFileBytes(folder.Path() / "absent.json"); },
              ThrowsMessage<std::runtime_error>(HasSubstr("absent.json")));
  EXPECT_THAT([&] { ReadFileBytes(folder.Path()); }, ThrowsMessage<std::runtime_error>(HasSubstr("folder")));
}

}  // namespace
}  // namespace qor::platform
