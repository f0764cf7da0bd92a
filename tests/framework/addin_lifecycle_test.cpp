// The add-in object driven as Outlook 2000 to 365 drive it: start-up, start modes, unloading,
// slow and fast shutdown, errors in handlers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework_fixture.h"

namespace qor::framework::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(FrameworkTest, LifeCycle_EveryVersionStartsOnceAndShutsDownAsItsOutlookDoes) {
  for (int major = 9; major <= 16; ++major) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    ClearRegistry();
    Start(major);
    ASSERT_EQ(Connect(), S_OK);
    EXPECT_THAT(TakeLog(), IsEmpty()) << "start-up waits for OnStartupComplete";
    ASSERT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
    ASSERT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
    EXPECT_THAT(TakeLog(), ElementsAre("Initialize", "StartupComplete"));
    TadxCOMAddInModule& module = *Module();
    EXPECT_EQ(module.HostType(), ohaOutlook);
    EXPECT_EQ(module.HostMajorVersion(), major);
    EXPECT_EQ(module.IsRibbon(), major > 11);
    EXPECT_EQ(module.StartMode(), smFirstStart);
    EXPECT_EQ(AddInValue(L"ADXStartMode"), L"NORMAL");
    EXPECT_EQ(module.OutlookShutdownBehavior(), major >= 14 ? osFast : osSlow);

    driver->Quit();
    if (major >= 14) {
      EXPECT_THAT(TakeLog(), ElementsAre("destroyed")) << "fast shutdown raises no shutdown events";
      EXPECT_EQ(Module(), nullptr);
    } else {
      EXPECT_THAT(TakeLog(), IsEmpty());
    }
    EXPECT_EQ(addIn->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
    if (major < 14) {
      EXPECT_THAT(TakeLog(), ElementsAre("BeginShutdown", "Finalize", "destroyed"));
    }
    EXPECT_THAT(TakeLog(), IsEmpty());
    addIn.Reset();
    driver.reset();
    EXPECT_EQ(com::ComObjectsAlive(), 0);
  }
}

TEST_F(FrameworkTest, LifeCycle_ConnectedAfterStartUpStartsAtOnceAndReadsTheStoredStartMode) {
  for (const auto& [stored, expected] : std::vector<std::pair<std::wstring, TadxStartMode>>{
           {L"normal", smNormal}, {L"Uninstall", smUninstall}, {L"whatever", smNormal}}) {
    Registry user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.OpenKey(kAddInKey, true));
    user.WriteString(L"ADXStartMode", stored);
    user.CloseKey();
    Start(16);
    ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
    EXPECT_THAT(TakeLog(), ElementsAre("Initialize", "StartupComplete"));
    EXPECT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
    EXPECT_THAT(TakeLog(), IsEmpty()) << "the start-up work runs once per connection";
    EXPECT_EQ(Module()->StartMode(), expected);
    EXPECT_EQ(AddInValue(L"ADXStartMode"), stored) << "only a first start writes NORMAL";
    EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
    TakeLog();
    addIn.Reset();
  }
}

TEST_F(FrameworkTest, LifeCycle_UnloadingRemovesTheCommandBarKeysAndRaisesEachEventOnce) {
  Registry user(HKEY_CURRENT_USER);
  for (const wchar_t* subkey : {L"\\CommandBars", L"\\Controls"}) ASSERT_TRUE(user.OpenKey(kAddInKey + subkey, true));
  user.CloseKey();
  Start(16);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  TakeLog();
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
  EXPECT_THAT(TakeLog(), ElementsAre("BeginShutdown", "Finalize", "destroyed"));
  EXPECT_FALSE(user.KeyExists(kAddInKey + L"\\CommandBars"));
  EXPECT_FALSE(user.KeyExists(kAddInKey + L"\\Controls"));
  EXPECT_TRUE(user.KeyExists(kAddInKey));
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK) << "a second call finds nothing to do";
  EXPECT_THAT(TakeLog(), IsEmpty());

  // Connected again, as ticking the add-in in the COM add-ins dialog does.
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  EXPECT_THAT(TakeLog(), ElementsAre("Initialize", "StartupComplete"));
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
}

TEST_F(FrameworkTest, LifeCycle_Outlook2010ShutsDownSlowlyWhenTheAddInOrOutlookAsks) {
  for (const bool addInAsks : {true, false}) {
    ClearRegistry();
    Registry user(HKEY_CURRENT_USER);
    ASSERT_TRUE(user.OpenKey(addInAsks ? kAddInKey : L"Software\\Microsoft\\Office\\14.0\\Outlook\\Options\\Shutdown",
                             true));
    user.WriteInteger(addInAsks ? L"RequireShutdownNotification" : L"AddinFastShutdownBehavior", 1);
    user.CloseKey();
    Start(14);
    ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
    EXPECT_EQ(Module()->OutlookShutdownBehavior(), osSlow);
    TakeLog();
    driver->Quit();
    EXPECT_THAT(TakeLog(), IsEmpty()) << "Quit leaves the add-in to OnBeginShutdown and OnDisconnection";
    EXPECT_EQ(addIn->OnBeginShutdown(nullptr), S_OK);
    EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
    EXPECT_THAT(TakeLog(), ElementsAre("BeginShutdown", "Finalize", "destroyed"));
    addIn.Reset();
  }
}

TEST_F(FrameworkTest, LifeCycle_HandlerErrorsGoToTheErrorHandlerAndStartUpGoesOn) {
  Start(12);
  ASSERT_EQ(Connect(), S_OK);
  TadxCOMAddInModule& module = *Module();
  std::vector<std::string> errors;
  module.OnError = [&](const std::exception_ptr& error, bool& handled) {
    errors.push_back(ErrorMessage(error));
    handled = true;
  };
  module.OnAddInInitialize = [](TadxCOMAddInModule&) { throw std::runtime_error("initialise failed"); };
  module.OnAddInStartupComplete = [&](TadxCOMAddInModule&) { errors.push_back("started"); };
  EXPECT_EQ(addIn->OnStartupComplete(nullptr), S_OK);
  EXPECT_THAT(errors, ElementsAre("initialise failed", "started"));
  EXPECT_EQ(AddInValue(L"ADXStartMode"), L"NORMAL");
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
}

TEST_F(FrameworkTest, LifeCycle_OptionsPagesReachTheModuleOnlyWithOutlooksPages) {
  Start(11);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  TakeLog();
  driver->ShowOptions();
  driver->ShowFolderProperties(contacts);
  EXPECT_THAT(TakeLog(), ElementsAre("OptionsPagesAdd", "NameSpaceOptionsPagesAdd Contacts"));
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
}

TEST_F(FrameworkTest, LifeCycle_FailuresReachOutlookAsResultsWithErrorInformation) {
  Start(16);
  // Not connected: the ribbon's request fails cleanly.
  com::ComPtr<IRibbonExtensibility> ribbon = addIn.As<IRibbonExtensibility>();
  BSTR xml = com::testing::Junk<OLECHAR>();
  EXPECT_EQ(ribbon->GetCustomUI(com::Bstr(L"Microsoft.Outlook.Explorer").Get(), &xml), E_UNEXPECTED);
  EXPECT_EQ(xml, nullptr);
  com::ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  com::Bstr description;
  info->GetDescription(description.Put());
  EXPECT_EQ(description.ToUtf8(), "The add-in is not connected.");
  // A host object that is not Outlook: the add-in connects and finds no host.
  ASSERT_EQ(addIn->OnConnection(static_cast<IDispatch*>(nullptr), ext_cm_AfterStartup, nullptr, nullptr), S_OK);
  EXPECT_EQ(Module()->OutlookApp(), nullptr);
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
}

}  // namespace
}  // namespace qor::framework::testing
