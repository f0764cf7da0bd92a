#include <gtest/gtest.h>

#include <optional>

#include "platform/system_services.h"
#include "scoped_environment.h"

namespace qor::platform {
namespace {

TEST(SpecialFolders, CommonDocumentsComesFromXdgDocumentsDirElseHome) {
  const auto folders = CreateSpecialFolders();
  tests::ScopedEnvironment home("HOME", "/home/ann");

  {
    tests::ScopedEnvironment documents("XDG_DOCUMENTS_DIR", "/data/Shared Documents");
    EXPECT_EQ(folders->CommonDocuments(), "/data/Shared Documents");
  }
  {
    tests::ScopedEnvironment documents("XDG_DOCUMENTS_DIR", "");
    EXPECT_EQ(folders->CommonDocuments(), "/home/ann/Documents");
  }
  tests::ScopedEnvironment documents("XDG_DOCUMENTS_DIR", std::nullopt);
  EXPECT_EQ(folders->CommonDocuments(), "/home/ann/Documents");
  tests::ScopedEnvironment noHome("HOME", std::nullopt);
  EXPECT_EQ(folders->CommonDocuments(), "");
}

}  // namespace
}  // namespace qor::platform
