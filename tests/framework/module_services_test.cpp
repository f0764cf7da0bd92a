// The module's services: its property checks, the version rule, the colour scheme and its window,
// the error handler's message box, and the server's unload answer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/adx_error.h"
#include "framework/color_scheme_window.h"
#include "framework_fixture.h"
#include "wizard/script/script_answers.h"
#include "wizard/win32/window_driver.h"

namespace qor::framework::testing {
namespace {

TEST(ModuleServices, PropertyChecksAndTheMajorVersionRule) {
  TadxCOMAddInModule module;
  EXPECT_EQ(module.SupportedApps(), TadxHostAppSet{ohaExcel});
  EXPECT_EQ(module.LoadBehavior(), 3u);
  module.SetAddInName(L"Name");
  for (const auto& [set, property] : std::vector<std::pair<std::function<void()>, std::string>>{
           {[&] { module.SetAddInName(L""); }, "AddInName"}, {[&] { module.SetSupportedApps({}); }, "SupportedApps"}}) {
    try {
      set();
      ADD_FAILURE() << property << " accepted an empty value";
    } catch (const AdxError& error) {
      EXPECT_EQ(error.what(), "The " + property + " property cannot be empty.");
      EXPECT_EQ(error.ErrorCode(), kErrorPropertyEmpty);
    }
  }
  EXPECT_EQ(module.AddInName(), L"Name");
  EXPECT_EQ(module.SupportedApps(), TadxHostAppSet{ohaExcel});
  for (const auto& [text, major] : std::vector<std::pair<std::wstring, int>>{
           {L"11.0.0.8312", 11}, {L"12,0", 12}, {L"x", 9}, {L"", 9}, {L"16", 9}, {L".5", 9}, {L"16.0.0.4266", 16}})
    EXPECT_EQ(MajorVersionOf(text), major) << std::string(text.begin(), text.end());
}

void WriteTheme(int major, DWORD theme) {
  Registry user(HKEY_CURRENT_USER);
  ASSERT_TRUE(user.OpenKey(L"Software\\Microsoft\\Office\\" + std::to_wstring(major) + L".0\\Common", true));
  user.WriteInteger(L"Theme", theme);
}

// The module's colour-scheme window of this process: tests running at the same time in the same
// Wine prefix have windows of that class of their own.
HWND OwnColorSchemeWindow() {
  HWND found = nullptr;
  while ((found = FindWindowExW(nullptr, found, L"TadxColorSchemeWindow", nullptr)) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    if (process == GetCurrentProcessId()) return found;
  }
  return nullptr;
}

TEST_F(FrameworkTest, ColorScheme_ReadAtStartUpAndFollowedThroughTheBroadcast) {
  WriteTheme(16, csBlack);
  Start(16);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  TadxCOMAddInModule& module = *Module();
  EXPECT_EQ(module.OfficeColorScheme(), csBlack);
  std::vector<TadxOfficeColorScheme> changes;
  module.OnOfficeColorSchemeChanged = [&](TadxCOMAddInModule&, TadxOfficeColorScheme scheme) {
    changes.push_back(scheme);
  };
  const HWND window = OwnColorSchemeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  SendMessageW(window, ColorSchemeWindow::BroadcastMessage(), 0, 0);
  EXPECT_THAT(changes, ::testing::IsEmpty()) << "an unchanged scheme is no change";
  WriteTheme(16, csBlue);
  SendMessageW(window, ColorSchemeWindow::BroadcastMessage(), 0, 0);
  EXPECT_THAT(changes, ::testing::ElementsAre(csBlue));
  EXPECT_EQ(SendMessageW(window, WM_QUERYENDSESSION, 0, 0), 1);
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
  EXPECT_EQ(OwnColorSchemeWindow(), nullptr);

  // Without a Theme value Office 2007 is blue and 2010 and later silver.
  for (const auto& [major, scheme] : {std::pair{12, csBlue}, std::pair{14, csSilver}}) {
    ClearRegistry();
    Registry user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.OpenKey(L"Software\\Microsoft\\Office\\" + std::to_wstring(major) + L".0\\Common", true));
    user.CloseKey();
    addIn.Reset();
    Start(major);
    ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
    EXPECT_EQ(Module()->OfficeColorScheme(), scheme);
    EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
  }
}

// The message box is a real window: read it and press OK, as a user would.
TEST_F(FrameworkTest, DoError_ShowsTheAddInsMessageUnlessOnErrorHandlesIt) {
  Start(16);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  TadxCOMAddInModule& module = *Module();
  static std::vector<std::string> shown;
  shown.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) CALLBACK -> BOOL {
          wchar_t name[16] = {};
          GetClassNameW(window, name, 16);
          if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
          shown.push_back(wizard::FormatMessageLine(wizard::win32::ReadMessageBox(window)));
          PostMessageW(window, WM_COMMAND, IDOK, 0);
          return FALSE;
        },
        0);
  });
  module.Guarded([] { throw std::runtime_error("boom"); });
  KillTimer(nullptr, timer);
  EXPECT_THAT(shown, ::testing::ElementsAre(
                         "message Probe|Probe error: the add-in has fired an exception.\\r\\nboom|ok|error"));

  int handled = 0;
  module.OnError = [&](const std::exception_ptr&, bool& isHandled) {
    ++handled;
    isHandled = true;
  };
  module.Guarded([] { throw com::ComError(E_FAIL, "quiet"); });
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
}

TEST_F(FrameworkTest, Server_CanUnloadOnlyWhenNoObjectOrFactoryIsHeld) {
  ComServer& server = ComServer::Instance();
  EXPECT_EQ(server.CanUnloadNow(), S_OK);
  com::ComPtr<IClassFactory> held;
  held.CopyFrom(factory.get());
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  held.Reset();
  Start(16);
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
  addIn.Reset();
  driver.reset();
  EXPECT_EQ(server.CanUnloadNow(), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(server.CanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace qor::framework::testing
