#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/services_win32.h"
#include "platform/system_services.h"
#include "platform/wide_text_win32.h"
#include "support/temp_folder.h"

namespace qor::platform {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

constexpr wchar_t kTestKey[] = L"Software\\Calvory Software\\QOR for Outlook Tests";

bool KeyExists(const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A value written as some other program might have written it.
void SetRawValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  RegCloseKey(key);
}

class RegistrySettings : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

  RegistrySettingsStore settings_{kTestKey};
};

TEST_F(RegistrySettings, TextRoundTripsAsRegSzAndReadingCreatesTheKey) {
  ASSERT_FALSE(KeyExists(kTestKey));
  EXPECT_EQ(settings_.ReadString("ExePath"), "");
  EXPECT_TRUE(KeyExists(kTestKey));

  const std::string path = "C:\\Programme\\\xC3\x84rger \xE2\x82\xAC \xE4\xB8\xAD\\KORVANEX.EXE";
  settings_.WriteString("ExePath", path);
  settings_.WriteString("ExeParam", "");
  EXPECT_EQ(settings_.ReadString("ExePath"), path);
  EXPECT_EQ(settings_.ReadString("ExeParam"), "");
  EXPECT_EQ(settings_.ReadString("Missing"), "");

  wchar_t stored[64] = {};
  DWORD type = 0;
  DWORD size = sizeof stored;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kTestKey, L"ExePath", RRF_RT_ANY, &type, stored, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(stored, L"C:\\Programme\\\u00C4rger \u20AC \u4E2D\\KORVANEX.EXE");
}

TEST_F(RegistrySettings, ValuesThatAreNotTerminatedTextReadWithinTheirData) {
  const DWORD number = 42;
  SetRawValue(L"Number", REG_DWORD, &number, sizeof number);
  SetRawValue(L"Binary", REG_BINARY, L"abc", 8);
  SetRawValue(L"Unterminated", REG_SZ, L"abc", 6);
  SetRawValue(L"OddSize", REG_SZ, L"abc", 7);
  SetRawValue(L"OneByte", REG_SZ, "x", 1);
  SetRawValue(L"Empty", REG_SZ, L"", 0);
  SetRawValue(L"InnerNul", REG_SZ, L"ab\0cd", 12);
  SetRawValue(L"Expandable", REG_EXPAND_SZ, L"%TEMP%\\olqor.txt", 34);

  EXPECT_EQ(settings_.ReadString("Number"), "");
  EXPECT_EQ(settings_.ReadString("Binary"), "");
  EXPECT_EQ(settings_.ReadString("Unterminated"), "abc");
  EXPECT_EQ(settings_.ReadString("OddSize"), "abc");
  EXPECT_EQ(settings_.ReadString("OneByte"), "");
  EXPECT_EQ(settings_.ReadString("Empty"), "");
  EXPECT_EQ(settings_.ReadString("InnerNul"), "ab");
  EXPECT_EQ(settings_.ReadString("Expandable"), "%TEMP%\\olqor.txt");
}

TEST_F(RegistrySettings, RegistryFailureThrowsWithTheWindowsMessage) {
  // A key name part longer than 255 characters is refused by the registry itself.
  RegistrySettingsStore refused(std::wstring(kTestKey) + L"\\" + std::wstring(300, L'k'));
  const auto failure = ThrowsMessage<std::runtime_error>(AllOf(
      HasSubstr("cannot open registry key HKEY_CURRENT_USER\\Software\\Calvory Software\\QOR for Outlook Tests\\kkk"),
      HasSubstr(WindowsErrorMessage(ERROR_INVALID_PARAMETER))));
  EXPECT_THAT([&] { refused.ReadString("ExePath"); }, failure);
  EXPECT_THAT([&] { refused.WriteString("ExePath", "a.exe"); }, failure);
}

TEST(SystemSettings, UseTheAddInsKeyOfTheCurrentUser) {
  tests::TempFolder folder;
  SystemServices system(folder.Path());
  system.Get().settings.WriteString("QorTestValue", "written");

  wchar_t stored[16] = {};
  DWORD size = sizeof stored;
  EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Calvory Software\\QOR for Outlook", L"QorTestValue",
                         RRF_RT_REG_SZ, nullptr, stored, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(stored, L"written");
  EXPECT_EQ(system.Get().settings.ReadString("QorTestValue"), "written");
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Calvory Software\\QOR for Outlook", L"QorTestValue");
}

}  // namespace
}  // namespace qor::platform
