#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <stdexcept>

#include "platform/atomic_file.h"
#include "platform/services_native.h"
#include "platform/system_services.h"
#include "support/temp_folder.h"

namespace qor::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

TEST(JsonSettings, ValuesRoundTripThroughSettingsJsonInTheAppFolder) {
  tests::TempFolder folder;
  SystemServices system(folder.Path());
  SettingsStore& settings = system.Get().settings;
  EXPECT_EQ(settings.ReadString("ExePath"), "");

  const std::string path = "/opt/Calvory/KORVANEX \xE2\x82\xAC.EXE";
  const std::string parameters = R"( p:default "f:{QORFILE}" a\"b)";
  settings.WriteString("ExePath", path);
  settings.WriteString("ExeParam", parameters);

  EXPECT_EQ(settings.ReadString("ExePath"), path);
  EXPECT_EQ(settings.ReadString("ExeParam"), parameters);
  EXPECT_EQ(settings.ReadString("Other"), "");
  EXPECT_THAT(folder.FileNames(), ElementsAre("settings.json"));
  const auto stored = nlohmann::json::parse(ReadFileBytes(folder.Path() / "settings.json"));
  EXPECT_EQ(stored, (nlohmann::json{{"ExePath", path}, {"ExeParam", parameters}}));
}

TEST(JsonSettings, MalformedFileReadsAsEmptyValuesAndWritingReplacesIt) {
  tests::TempFolder folder;
  const auto file = folder.Path() / "settings.json";
  JsonSettingsStore settings(file);

  for (const char* malformed : {"{\"ExePath\": \"a.exe\"", "[\"ExePath\"]", "{\"ExePath\": \"\xFF\"}", ""}) {
    WriteFileAtomically(file, malformed);
    EXPECT_EQ(settings.ReadString("ExePath"), "") << malformed;
  }
  WriteFileAtomically(file, R"({"ExePath": 5, "ExeParam": "kept"})");
  EXPECT_EQ(settings.ReadString("ExePath"), "");

  WriteFileAtomically(file, "{not json");
  settings.WriteString("ExePath", "a.exe");
  EXPECT_EQ(settings.ReadString("ExePath"), "a.exe");
  EXPECT_EQ(nlohmann::json::parse(ReadFileBytes(file)), (nlohmann::json{{"ExePath", "a.exe"}}));

  // Text that is not UTF-8 is stored with replacement characters rather than refused.
  settings.WriteString("ExeParam", "caf\xE9");
  EXPECT_EQ(settings.ReadString("ExeParam"), "caf\xEF\xBF\xBD");
  EXPECT_EQ(settings.ReadString("ExePath"), "a.exe");
}

TEST(JsonSettings, MissingAppFolderIsCreatedOnWriteAndUnreadableFileThrowsNamingIt) {
  tests::TempFolder folder;
  JsonSettingsStore settings(folder.Path() / "QOR for Outlook" / "settings.json");
  EXPECT_EQ(settings.ReadString("ExePath"), "");
  settings.WriteString("ExePath", "a.exe");
  EXPECT_EQ(settings.ReadString("ExePath"), "a.exe");

  std::filesystem::create_directory(folder.Path() / "settings.json");
  JsonSettingsStore blocked(folder.Path() / "settings.json");
  EXPECT_THAT([&] { blocked.ReadString("ExePath"); }, ThrowsMessage<std::runtime_error>(HasSubstr("settings.json")));
  EXPECT_THAT([&] { blocked.WriteString("ExePath", "b.exe"); },
              ThrowsMessage<std::runtime_error>(HasSubstr("settings.json")));
}

}  // namespace
}  // namespace qor::platform
