#include "platform/diagnostics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace qor::platform::diagnostics {
namespace {

using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class Diagnostics : public ::testing::Test {
 protected:
  void SetUp() override { Forget(); }
  void TearDown() override { Forget(); }

  tests::TempFolder folder;
  // A folder that does not exist yet, under a name beyond ASCII, as a user's profile may be.
  const std::filesystem::path logFile = folder.Path() / std::filesystem::path(u8"Jos\u00e9") / "qor.log";
};

// Start-up and passed-over errors stay in memory until an error fails a call: then everything so
// far is written at once, with the time, the place and the code.
TEST_F(Diagnostics, WritesNothingUntilAnErrorFailsACallThenEverythingSoFar) {
  SetLogFile(logFile);
  std::ostringstream echo;
  SetEcho(&echo);
  Record(Kind::Note, "start-up: QOR for Outlook 1.0, Outlook 16.0, start mode NORMAL");
  RecordError(Kind::Ignored, "TadxEventSink.Route", 0x800A01A8L, "Object required");
  EXPECT_FALSE(std::filesystem::exists(logFile));

  RecordError(Kind::Failed, "TadxAddin.OnConnection", static_cast<long>(0x80004005), "Unspecified error");
  const std::string written = ReadFileBytes(logFile);
  EXPECT_THAT(written, AllOf(HasSubstr("note: start-up: QOR for Outlook 1.0"),
                             HasSubstr("passed over: TadxEventSink.Route: 0x800A01A8 Object required\r\n"),
                             HasSubstr("error: TadxAddin.OnConnection: 0x80004005 Unspecified error\r\n")));
  EXPECT_EQ(echo.str().size() + 3, written.size());  // the same lines, ended by LF instead of CR LF
  EXPECT_EQ(ErrorCount(), 1u);  // the failure alone: what was passed over is no error to report

  Record(Kind::Note, "shutdown");
  EXPECT_EQ(ReadFileBytes(logFile), written);
  EXPECT_TRUE(Flush());
  EXPECT_THAT(ReadFileBytes(logFile), EndsWith("note: shutdown\r\n"));
  EXPECT_TRUE(Flush());  // nothing new: the file stays as it is
  EXPECT_THAT(ReadFileBytes(logFile), EndsWith("note: shutdown\r\n"));
}

// Past 1 MB the file becomes the old log, replacing the one before: never more than two files.
TEST_F(Diagnostics, KeepsAtMostTwoFilesOfTheCappedSize) {
  SetLogFile(logFile);
  const std::string line(1000, 'x');
  for (int round = 0; round < 3; ++round) {
    for (std::uintmax_t written = 0; written <= kLogFileLimit; written += 100 * line.size()) {
      for (int n = 0; n < 100; ++n) Record(Kind::Note, line);
      ASSERT_TRUE(Flush());
    }
    Record(Kind::Note, "round " + std::to_string(round));
    ASSERT_TRUE(Flush());
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(logFile.parent_path()))
    names.push_back(entry.path().filename().string());
  EXPECT_THAT(names, UnorderedElementsAre("qor.log", "qor.old.log"));
  EXPECT_LT(std::filesystem::file_size(logFile), 1000u);
  EXPECT_THAT(ReadFileBytes(logFile), HasSubstr("round 2"));
  EXPECT_LE(std::filesystem::file_size(OldLogFile(logFile)), kLogFileLimit + 101 * 1030);
}

// Without a log file records stay in memory, the latest few hundred, and Flush says so.
TEST_F(Diagnostics, KeepsTheLatestRecordsInMemoryWithoutAFile) {
  for (int n = 0; n < 1000; ++n) Record(Kind::Note, "record " + std::to_string(n));
  EXPECT_FALSE(Flush());
  const auto recent = Recent();
  ASSERT_EQ(recent.size(), 500u);
  EXPECT_THAT(recent.front(), EndsWith("record 500"));
  EXPECT_THAT(recent.back(), EndsWith("record 999"));
}

}  // namespace
}  // namespace qor::platform::diagnostics
