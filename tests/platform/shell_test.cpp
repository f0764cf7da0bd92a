#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/system_services.h"
#include "scoped_environment.h"
#include "support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/wide_text_win32.h"
#else
#include <sys/wait.h>

#include <cerrno>
#endif

namespace qor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::ThrowsMessage;
using namespace std::chrono_literals;

// The bytes of the file, once it can be read. Under Wine the file can exist for a moment before the
// rename that wrote it lets others open it.
std::optional<std::string> WaitForFile(const std::filesystem::path& file) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  for (;;) {
    try {
      if (std::filesystem::exists(file)) return ReadFileBytes(file);
    } catch (const std::runtime_error&) {
      // Still being renamed into place; try again.
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(20ms);
  }
}

// The arguments record_args received, once it has written them.
std::optional<std::vector<std::string>> WaitForRecordedArguments(const std::filesystem::path& file) {
  const auto recorded = WaitForFile(file);
  if (!recorded) return std::nullopt;
  const std::string& bytes = *recorded;
  std::vector<std::string> arguments;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = bytes.find('\0', start);
    arguments.push_back(bytes.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

class ShellOpen : public ::testing::Test {
 protected:
  // A copy of the helper under a folder name with a blank, as programs often live.
  void SetUp() override {
    const std::filesystem::path helper(QOR_RECORD_ARGS);
    std::filesystem::create_directory(folder_.Path() / "my tools");
    program_ = folder_.Path() / "my tools" / helper.filename();
    std::filesystem::copy_file(helper, program_);
  }

  std::filesystem::path Record() const { return folder_.Path() / "recorded.bin"; }

  tests::TempFolder folder_;
  std::filesystem::path program_;
  SystemServices system_{folder_.Path()};
  tests::ScopedEnvironment recordTo_{"QOR_RECORD_ARGS_FILE", PathToUtf8(folder_.Path() / "recorded.bin")};
};

TEST_F(ShellOpen, StartsTheProgramWithItsParametersSplitLikeAWindowsCommandLine) {
  const std::string parameters =
      " p:default o:3 \"f:C:\\QOR for Outlook\\olqor.txt\" a:interactive caf\xC3\xA9\xE2\x82\xAC a\\\"b \"end\\\\\"";
  system_.Get().shell.Open(PathToUtf8(program_), parameters);

  const auto arguments = WaitForRecordedArguments(Record());
  ASSERT_TRUE(arguments) << "the program did not start";
  EXPECT_THAT(*arguments, ElementsAre("p:default", "o:3", R"(f:C:\QOR for Outlook\olqor.txt)", "a:interactive",
                                      "caf\xC3\xA9\xE2\x82\xAC", R"(a"b)", R"(end\)"));
}

TEST_F(ShellOpen, EmptyParametersStartTheProgramWithoutArguments) {
  system_.Get().shell.Open(PathToUtf8(program_), "");

  const auto arguments = WaitForRecordedArguments(Record());
  ASSERT_TRUE(arguments) << "the program did not start";
  EXPECT_THAT(*arguments, IsEmpty());
}

// The system's reason reaches the caller, who tells the user.
TEST_F(ShellOpen, AProgramThatCannotStartFailsWithTheSystemsReason) {
  const std::string missing = PathToUtf8(folder_.Path() / "missing program.exe");
  EXPECT_THAT([&] { system_.Get().shell.Open(missing, "a b"); }, ThrowsMessage<std::runtime_error>(Not(IsEmpty())));
#ifdef _WIN32
  EXPECT_THAT([&] { system_.Get().shell.Open(missing, ""); },
              ThrowsMessage<std::runtime_error>(WindowsErrorMessage(ERROR_FILE_NOT_FOUND)));
#else
  EXPECT_THAT([&] { system_.Get().shell.Open(missing, ""); },
              ThrowsMessage<std::runtime_error>("No such file or directory"));
  // Neither the failed starts nor a good one leave a child to reap.
  system_.Get().shell.Open(PathToUtf8(program_), "x");
  ASSERT_TRUE(WaitForRecordedArguments(Record()));
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
#endif
}

}  // namespace
}  // namespace qor::platform
