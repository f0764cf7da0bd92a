// regsvr32 on the built qorOutlook.dll in a prefix of its own: every key and value registration
// writes, what unregistration leaves, and the rules for library paths and Outlook's presence.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/registry.h"
#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"
#include "regsvr32.h"

namespace qor::addin {
namespace {

using testing::BuiltLibrary;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::Regsvr32;

const std::wstring kClass = L"CLSID\\{DA58D642-4C75-4880-A350-3D77035C372E}";
const std::wstring kControlClass = L"CLSID\\{0A10A588-1D4D-49DC-A539-13FC4B226262}";
const std::wstring kAddInKey = L"Software\\Microsoft\\Office\\Outlook\\AddIns\\qorOutlook.coqorOutlook";
const std::wstring kOfficeVirtual = L"Software\\Microsoft\\Office\\14.0\\Common\\InstallRoot\\Virtual";

// Every value below `path`, as "key|name=data", keys relative to `path`'s parent.
void Dump(HKEY root, const std::wstring& path, const std::wstring& shown, std::vector<std::string>& lines) {
  platform::UniqueHkey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    BYTE data[2048];
    DWORD dataSize = sizeof(data);
    DWORD type = 0;
    if (RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::wstring value = type == REG_DWORD ? std::to_wstring(*reinterpret_cast<DWORD*>(data))
                                           : std::wstring(reinterpret_cast<wchar_t*>(data), dataSize / 2);
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    lines.push_back(platform::NarrowToUtf8(shown + L"|" + (nameLength == 0 ? L"@" : name) + L"=" + value));
  }
  std::vector<std::wstring> children;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key.Get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, nameLength);
  }
  for (const std::wstring& child : children) Dump(root, path + L"\\" + child, shown + L"\\" + child, lines);
}

// The classes and add-in key of the add-in, the classes read from `classes` (HKEY_CLASSES_ROOT, or
// the user's own classes) and shown as "HKCR" either way; sorted.
std::vector<std::string> Registration(HKEY root = HKEY_CLASSES_ROOT, const std::wstring& classes = L"") {
  std::vector<std::string> lines;
  Dump(root, classes + kControlClass, L"HKCR\\CLSID\\{coQORSettings}", lines);
  Dump(root, classes + L"qorOutlook.coQORSettings", L"HKCR\\qorOutlook.coQORSettings", lines);
  Dump(root, classes + kClass, L"HKCR\\CLSID\\{coqorOutlook}", lines);
  Dump(root, classes + L"qorOutlook.coqorOutlook", L"HKCR\\qorOutlook.coqorOutlook", lines);
  Dump(HKEY_CURRENT_USER, kAddInKey, L"HKCU\\AddIns\\qorOutlook.coqorOutlook", lines);
  std::sort(lines.begin(), lines.end());
  return lines;
}

const std::wstring kUserClasses = L"Software\\Classes\\";
const std::wstring kTypeLib = L"TypeLib\\{BE0F66D7-853C-4622-9D4E-10F32C277401}";

bool KeyExists(HKEY root, const std::wstring& path) { return framework::Registry(root).KeyExists(path); }

void SetOutlookInstalled(bool byProgId, bool byOfficeRoot) {
  framework::Registry classes(HKEY_CLASSES_ROOT);
  classes.DeleteKey(L"Outlook.Application");
  if (byProgId) {
    ASSERT_TRUE(classes.OpenKey(L"Outlook.Application\\CLSID", true));
    classes.WriteString(L"", L"{0006F03A-0000-0000-C000-000000000046}");
  }
  framework::Registry machine(HKEY_LOCAL_MACHINE);
  machine.DeleteKey(kOfficeVirtual);
  if (byOfficeRoot) {
    ASSERT_TRUE(machine.OpenKey(kOfficeVirtual, true));
  }
}

class RegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Regsvr32(L"/u \"" + BuiltLibrary() + L"\""), 0u); }
  void TearDown() override { SetOutlookInstalled(false, false); }
};

// Every entry registration writes for the library at `path`, sorted.
std::vector<std::string> Expected(const std::string& path) {
  std::vector<std::string> expected = {
      "HKCR\\CLSID\\{coQORSettings}|@=coQORSettings Control",
      "HKCR\\CLSID\\{coQORSettings}\\Control|@=",
      "HKCR\\CLSID\\{coQORSettings}\\InprocServer32|@=" + path,
      "HKCR\\CLSID\\{coQORSettings}\\InprocServer32|ThreadingModel=Apartment",
      "HKCR\\CLSID\\{coQORSettings}\\MiscStatus|@=0",
      "HKCR\\CLSID\\{coQORSettings}\\MiscStatus\\1|@=205201",
      "HKCR\\CLSID\\{coQORSettings}\\ProgID|@=qorOutlook.coQORSettings",
      "HKCR\\CLSID\\{coQORSettings}\\ToolboxBitmap32|@=" + path + ",1",
      "HKCR\\CLSID\\{coQORSettings}\\TypeLib|@={BE0F66D7-853C-4622-9D4E-10F32C277401}",
      "HKCR\\CLSID\\{coQORSettings}\\Verb|@=",
      "HKCR\\CLSID\\{coQORSettings}\\Verb\\0|@=Properties,0,2",
      "HKCR\\CLSID\\{coQORSettings}\\Version|@=1.0",
      "HKCR\\qorOutlook.coQORSettings|@=coQORSettings Control",
      "HKCR\\qorOutlook.coQORSettings\\Clsid|@={0A10A588-1D4D-49DC-A539-13FC4B226262}",
      "HKCR\\CLSID\\{coqorOutlook}|@=coqorOutlook Object",
      "HKCR\\CLSID\\{coqorOutlook}\\InprocServer32|@=" + path,
      "HKCR\\CLSID\\{coqorOutlook}\\InprocServer32|ThreadingModel=Apartment",
      "HKCR\\CLSID\\{coqorOutlook}\\ProgID|@=qorOutlook.coqorOutlook",
      "HKCR\\CLSID\\{coqorOutlook}\\TypeLib|@={BE0F66D7-853C-4622-9D4E-10F32C277401}",
      "HKCR\\CLSID\\{coqorOutlook}\\Version|@=1.0",
      "HKCR\\qorOutlook.coqorOutlook|@=coqorOutlook Object",
      "HKCR\\qorOutlook.coqorOutlook\\Clsid|@={DA58D642-4C75-4880-A350-3D77035C372E}",
      "HKCU\\AddIns\\qorOutlook.coqorOutlook|FriendlyName=QOR for Outlook",
      "HKCU\\AddIns\\qorOutlook.coqorOutlook|Description=",
      "HKCU\\AddIns\\qorOutlook.coqorOutlook|LoadBehavior=3",
      "HKCU\\AddIns\\qorOutlook.coqorOutlook|CommandLineSafe=0"};
  std::sort(expected.begin(), expected.end());
  return expected;
}

TEST_F(RegistrationTest, RegisterWritesEveryEntryOnceAndUnregisterRemovesThemAll) {
  SetOutlookInstalled(true, false);
  const std::wstring library = BuiltLibrary();
  ASSERT_EQ(Regsvr32(L"\"" + library + L"\""), 0u);
  const std::vector<std::string> expected = Expected(platform::NarrowToUtf8(library));
  EXPECT_EQ(Registration(), expected);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kTypeLib));

  ASSERT_EQ(Regsvr32(L"\"" + library + L"\""), 0u) << "registering twice";
  EXPECT_EQ(Registration(), expected);

  ASSERT_EQ(Regsvr32(L"/u \"" + library + L"\""), 0u);
  EXPECT_THAT(Registration(), IsEmpty());
  EXPECT_FALSE(framework::Registry(HKEY_CLASSES_ROOT).KeyExists(L"CLSID\\{0A10A588-1D4D-49DC-A539-13FC4B226262}"));
  EXPECT_FALSE(framework::Registry(HKEY_CLASSES_ROOT).KeyExists(L"TypeLib\\{BE0F66D7-853C-4622-9D4E-10F32C277401}"));
  EXPECT_EQ(Regsvr32(L"/u \"" + library + L"\""), 0u) << "unregistering what is not registered";
}

// regsvr32 /n /i:user needs no administrator: the same entries under the user's own classes, the
// type library too, and nothing machine-wide. (Wine does not merge the user's classes into
// HKEY_CLASSES_ROOT, so the keys prove it here; Windows would also find the classes through them.)
TEST_F(RegistrationTest, PerUserRegistrationWritesTheSameEntriesUnderTheUsersClassesOnly) {
  SetOutlookInstalled(true, false);
  const std::wstring library = L"\"" + BuiltLibrary() + L"\"";
  ASSERT_EQ(Regsvr32(L"/n /i:user " + library), 0u);
  EXPECT_EQ(Registration(HKEY_CURRENT_USER, kUserClasses), Expected(platform::NarrowToUtf8(BuiltLibrary())));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kUserClasses + kTypeLib));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClass)) << "nothing machine-wide";
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLib));

  ASSERT_EQ(Regsvr32(L"/u /n /i:user " + library), 0u);
  EXPECT_THAT(Registration(HKEY_CURRENT_USER, kUserClasses), IsEmpty());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserClasses + kTypeLib));
  EXPECT_NE(Regsvr32(L"/n /i:everyone " + library), 0u) << "an unknown scope is refused";
  EXPECT_THAT(Registration(HKEY_CURRENT_USER, kUserClasses), IsEmpty());
}

TEST_F(RegistrationTest, OutlookCountsAsInstalledByItsProgIdOrOfficesVirtualRoot) {
  const std::wstring library = L"\"" + BuiltLibrary() + L"\"";
  const auto addInKeyWritten = [&] { return framework::Registry(HKEY_CURRENT_USER).KeyExists(kAddInKey); };
  SetOutlookInstalled(false, false);
  ASSERT_EQ(Regsvr32(library), 0u);
  EXPECT_FALSE(addInKeyWritten()) << "no Outlook, no add-in key";
  EXPECT_TRUE(framework::Registry(HKEY_CLASSES_ROOT).KeyExists(kClass)) << "the COM class is there all the same";
  SetOutlookInstalled(false, true);
  ASSERT_EQ(Regsvr32(library), 0u);
  EXPECT_TRUE(addInKeyWritten());
  ASSERT_EQ(Regsvr32(L"/u " + library), 0u);
  EXPECT_FALSE(addInKeyWritten());
}

TEST_F(RegistrationTest, ALibraryPathWithASpaceIsRegisteredInItsShortForm) {
  SetOutlookInstalled(true, false);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path folder = std::filesystem::path(temp) / L"qor add-in test";
  std::filesystem::create_directories(folder);
  const std::filesystem::path copy = folder / L"qorOutlook.dll";
  std::filesystem::copy_file(BuiltLibrary(), copy, std::filesystem::copy_options::overwrite_existing);
  ASSERT_EQ(Regsvr32(L"\"" + copy.wstring() + L"\""), 0u);
  framework::Registry classes(HKEY_CLASSES_ROOT);
  ASSERT_TRUE(classes.OpenKeyReadOnly(kClass + L"\\InprocServer32"));
  const std::wstring registered = classes.ReadString(L"").value_or(L"");
  EXPECT_EQ(registered.find(L' '), std::wstring::npos) << platform::NarrowToUtf8(registered);
  EXPECT_TRUE(std::filesystem::equivalent(registered, copy));
  classes.CloseKey();
  ASSERT_EQ(Regsvr32(L"/u \"" + copy.wstring() + L"\""), 0u);
  EXPECT_THAT(Registration(), IsEmpty());
}

}  // namespace
}  // namespace qor::addin
