#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/system_services.h"
#include "platform/wide_text_win32.h"

namespace qor::platform {
namespace {

// The folder the shell's newer interface knows as the public documents, whatever the system
// calls it.
std::string PublicDocuments() {
  wchar_t* path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_PublicDocuments, 0, nullptr, &path);
  const std::string text = SUCCEEDED(result) ? NarrowToUtf8(path) : std::string();
  CoTaskMemFree(path);
  return text;
}

TEST(SpecialFolders, CommonDocumentsIsThePublicDocumentsFolder) {
  const std::string expected = PublicDocuments();
  ASSERT_FALSE(expected.empty());
  const std::string folder = CreateSpecialFolders()->CommonDocuments();
  EXPECT_EQ(folder, expected);
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(WidenUtf8(folder))));
}

}  // namespace
}  // namespace qor::platform
