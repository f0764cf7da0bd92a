#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

  // A text holding a character the code page lacks is written as UTF-8 with a byte-order mark,
  // every character kept, rather than with question marks or look-alike letters.
  const std::string wider = "a\xE4\xB8\xAD \xC5\x82\xC3\xB3 \xC5\xBA \xD0\xB7@\xD1\x80\xD1\x84\r\n";
  WriteTextFile(file, wider);
  EXPECT_EQ(ReadFileBytes(file), "\xEF\xBB\xBF" + wider);
  EXPECT_EQ(ReadTextFile(file), wider);
}

// A file without a mark is UTF-8 when its bytes are valid UTF-8 beyond ASCII (an editor's "UTF-8"
// without a signature), the ANSI code page otherwise.
TEST(TextFile, ReadsUnmarkedUtf8AsUtf8AndOtherBytesInTheAnsiCodePage) {
  tests::TempFolder folder;
  const auto file = folder.Path() / "qorexclusions.dat";
  std::ofstream(file, std::ios::binary) << "jos\xC3\xA9@example.com\r\n";
  EXPECT_EQ(ReadTextFile(file), "jos\xC3\xA9@example.com\r\n");
  std::ofstream(file, std::ios::binary) << "jos\xE9@example.com\r\n\xC3\xA9";
  EXPECT_EQ(ReadTextFile(file), "jos\xC3\xA9@example.com\r\n\xC3\x83\xC2\xA9");
}

TEST(TextFile, PathFromUtf8KeepsCharactersOutsideTheAnsiCodePage) {
  tests::TempFolder folder;
  WriteTextFile(folder.Path() / PathFromUtf8("Adressen \xE2\x82\xAC \xE4\xB8\xAD.txt"), "x");
  EXPECT_TRUE(std::filesystem::exists(folder.Path() / L"Adressen \u20AC \u4E2D.txt"));
}

}  // namespace
}  // namespace qor::platform
