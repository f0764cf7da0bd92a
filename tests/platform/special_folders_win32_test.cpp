#include <gtest/gtest.h>

#include "platform/system_services.h"

namespace qor::platform {
namespace {

TEST(SpecialFolders, CommonDocumentsIsThePublicDocumentsFolder) {
  // What Wine's default prefix answers; Windows says "C:\Users\Public\Documents".
  EXPECT_EQ(CreateSpecialFolders()->CommonDocuments(), R"(C:\users\Public\Documents)");
}

}  // namespace
}  // namespace qor::platform
