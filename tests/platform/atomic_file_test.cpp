#include "platform/atomic_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "support/temp_folder.h"

namespace qor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;
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

TEST(AtomicFile, ReadFailsNamingTheFile) {
  tests::TempFolder folder;
  EXPECT_THAT([&] { ReadFileBytes(folder.Path() / "absent.json"); },
              ThrowsMessage<std::runtime_error>(HasSubstr("absent.json")));
  EXPECT_THAT([&] { ReadFileBytes(folder.Path()); }, ThrowsMessage<std::runtime_error>(HasSubstr("folder")));
}

}  // namespace
}  // namespace qor::platform
