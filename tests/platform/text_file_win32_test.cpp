#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/atomic_file.h"
#include "support/temp_folder.h"

namespace qor::platform {
namespace {

// Wine's default prefix uses code page 1252 as the ANSI code page.
TEST(TextFile, WritesUtf8TextInTheAnsiCodePageAndReadsItBack) {
  tests::TempFolder folder;
  const auto file = folder.Path() / "olqor.txt";
  const std::string text = "caf\xC3\xA9 10 \xE2\x82\xAC\r\n";
  WriteTextFile(file, text);
  EXPECT_EQ(ReadFileBytes(file), "caf\xE9 10 \x80\r\n");
  EXPECT_EQ(ReadTextFile(file), text);

  // A character the code page lacks is written as a question mark, not as a look-alike letter.
  WriteTextFile(file, "a\xE4\xB8\xAD \xC5\x82\xC3\xB3 \xC5\xBA");
  EXPECT_EQ(ReadFileBytes(file), "a? ?\xF3 ?");
  EXPECT_EQ(ReadTextFile(file), "a? ?\xC3\xB3 ?");
}

TEST(TextFile, PathFromUtf8KeepsCharactersOutsideTheAnsiCodePage) {
  tests::TempFolder folder;
  WriteTextFile(folder.Path() / PathFromUtf8("Adressen \xE2\x82\xAC \xE4\xB8\xAD.txt"), "x");
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / L"Adressen \u20AC \u4E2D.txt"));
}

}  // namespace
}  // namespace qor::platform
