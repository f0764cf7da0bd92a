// The command-bar model and its installer on the stand-in Outlook 2003's command bars: persistent
// bars and items created once and refreshed only when their counters change, the user's deletions
// kept, controls no longer declared removed, clicks routed by tag, the sink's COM answers, and the
// declaration errors.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com/utf.h"
#include "framework/adx_error.h"
#include "framework/command_bar_items.h"
#include "framework_fixture.h"
#include "host/office/command_bars.h"
#include "standin/office/command_bars_driver.h"

namespace qor::framework::testing {
namespace {

using ::testing::ElementsAre;
using standin::office::CommandBarsDriver;
using standin::office::ControlState;

// A persistent toolbar with two buttons, and an entry in Outlook's own Tools menu.
class BarModule final : public TadxCOMAddInModule {
 public:
  explicit BarModule(std::shared_ptr<std::vector<std::string>> log, std::uint32_t refreshChanged)
      : log_(std::move(log)) {
    SetAddInName(L"Probe");
    SetSupportedApps({ohaOutlook});
    OnError = [this](const std::exception_ptr& error, bool& handled) {
      log_->push_back("error: " + ErrorMessage(error));
      handled = true;
    };
    tools.SetCommandBarName(L"QOR Tools");
    tools.SetSupportedApps({ohaOutlook});
    tools.SetPropertyChanged(1);
    refresh = &Button(tools.Controls(), L"Refresh", L"{00000000-0000-0000-0000-0000000000A1}", refreshChanged);
    refresh->SetBeforeID(99999);  // not on the bar: added at the end
    other = &Button(tools.Controls(), L"Other", L"{00000000-0000-0000-0000-0000000000A2}", 1);
    menuBar.SetCommandBarName(L"Menu Bar");
    menuBar.SetSupportedApps({ohaOutlook});
    auto& toolsMenu = *menuBar.Controls().Add(adxPopup).AsPopup();
    toolsMenu.SetOfficeID(30007);
    settings = &Button(toolsMenu.Controls(), L"QOR Settings", L"{00000000-0000-0000-0000-0000000000A3}", 1);
    deleteCommand.BuiltInID = 478;  // Outlook's Delete
    deleteCommand.DisableStandardAction = true;
    deleteCommand.OnAction = [this](TadxBuiltInControl&) { log_->push_back("Delete"); };
  }

  TadxCommandBarButton& Button(TadxCommandBarControls& controls, const wchar_t* caption, const wchar_t* tag,
                               std::uint32_t changed) {
    auto& button = *controls.Add(adxButton).AsButton();
    button.SetCaption(caption);
    button.SetOfficeTag(tag);
    button.SetPropertyChanged(changed);
    button.OnClick = [this, caption](TadxCommandBarControl&) { log_->push_back(com::ToUtf8(caption)); };
    return button;
  }

  TadxCommandBar tools{this};
  TadxCommandBar menuBar{this};
  TadxBuiltInControl deleteCommand{this};
  TadxCommandBarButton* refresh;
  TadxCommandBarButton* other;
  TadxCommandBarButton* settings;

 private:
  std::shared_ptr<std::vector<std::string>> log_;
};

class CommandBarsTest : public FrameworkTest {
 protected:
  CommandBarsTest() { UseRefreshCounter(1); }
  ~CommandBarsTest() override {
    Registry user(HKEY_CURRENT_USER);
    user.DeleteKey(kAddInKey);
  }

  void UseRefreshCounter(std::uint32_t changed) {
    factory = std::make_unique<TadxFactory>(ComServer::Instance(), addin::CLASS_coqorOutlook,
                                            [log = log, changed] { return std::make_unique<BarModule>(log, changed); });
  }
  BarModule& Bars() const { return static_cast<BarModule&>(*Module()); }
  // The explorer's command bars, as the user sees them.
  CommandBarsDriver Host() const {
    const auto bars = com::Dispatch(driver->ActiveExplorer()).Get("CommandBars").ToDispatch();
    return CommandBarsDriver(*bars.Get());
  }
  static std::vector<std::string> Captions(const std::vector<ControlState>& controls) {
    std::vector<std::string> captions;
    for (const auto& control : controls) captions.push_back(control.caption);
    return captions;
  }
  void Restart() {
    ASSERT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
    addIn.Reset();
    com::ComPtr<IUnknown> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(IUnknown), object.PutVoid()), S_OK);
    addIn = object.As<IDTExtensibility2>();
    Connect(ext_cm_AfterStartup);
  }
};

TEST_F(CommandBarsTest, PersistentBarsAreInstalledOnceAndKeepWhatTheUserDid) {
  Start(11);
  Connect(ext_cm_AfterStartup);
  EXPECT_THAT(TakeLog(), ::testing::IsEmpty());
  EXPECT_THAT(Captions(Host().Bar("QOR Tools").controls), ElementsAre("Refresh", "Other"));
  const auto toolsMenu = Host().Bar("Menu Bar").controls[3];
  EXPECT_EQ(toolsMenu.caption, "&Tools");
  EXPECT_THAT(Captions(toolsMenu.controls), ::testing::Contains("QOR Settings"));
  Registry counters(HKEY_CURRENT_USER);
  ASSERT_TRUE(counters.OpenKeyReadOnly(kAddInKey + L"\\Controls"));
  EXPECT_EQ(counters.ReadInteger(L"{00000000-0000-0000-0000-0000000000A1}"), 1u);
  ASSERT_TRUE(counters.OpenKeyReadOnly(kAddInKey + L"\\CommandBars"));
  EXPECT_EQ(counters.ReadInteger(L"QOR Tools"), 1u);
  counters.CloseKey();

  // The user renames one button, deletes the other, and the host keeps a control the add-in
  // no longer declares.
  const host::office::CommandBars bars(com::Dispatch(driver->ActiveExplorer()).Get("CommandBars").ToDispatch());
  bars.FindControl({.tag = "{00000000-0000-0000-0000-0000000000A1}"})->SetCaption("Mine");
  bars.FindControl({.tag = "{00000000-0000-0000-0000-0000000000A2}"})->Delete();
  bars.Item("Standard").Controls().Add({.temporary = false}).SetTag("{00000000-0000-0000-0000-0000000000FF}");
  ASSERT_TRUE(counters.OpenKey(kAddInKey + L"\\Controls", true));
  counters.WriteInteger(L"{00000000-0000-0000-0000-0000000000FF}", 1);
  counters.CloseKey();

  Restart();
  EXPECT_THAT(Captions(Host().Bar("QOR Tools").controls), ElementsAre("Mine"));
  EXPECT_EQ(Captions(Host().Bar("Standard").controls).size(), 3u);
  ASSERT_TRUE(counters.OpenKeyReadOnly(kAddInKey + L"\\Controls"));
  EXPECT_FALSE(counters.ValueExists(L"{00000000-0000-0000-0000-0000000000FF}"));
  counters.CloseKey();

  // A new counter pushes the button's design again.
  UseRefreshCounter(2);
  Restart();
  EXPECT_THAT(Captions(Host().Bar("QOR Tools").controls), ElementsAre("Refresh"));

  // Unloading removes the add-in's bar and entries, not Outlook's menu.
  ASSERT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
  EXPECT_THROW(Host().Bar("QOR Tools"), std::invalid_argument);
  EXPECT_THAT(Captions(Host().Bar("Menu Bar").controls[3].controls),
              ::testing::Not(::testing::Contains("QOR Settings")));
  EXPECT_FALSE(Registry(HKEY_CURRENT_USER).KeyExists(kAddInKey + L"\\Controls"));
}

TEST_F(CommandBarsTest, BoundItemsFollowTheHostAndClicksReachOnlyTheirOwnHandler) {
  Start(11);
  Connect(ext_cm_AfterStartup);
  BarModule& module = Bars();
  TakeLog();

  const auto width = module.refresh->Width();
  module.refresh->SetEnabled(false);
  EXPECT_FALSE(Host().Bar("QOR Tools").controls[0].enabled);
  EXPECT_EQ(module.refresh->Width(), width);  // Outlook's repaint nudge leaves the width as it was
  module.refresh->SetEnabled(true);

  com::Dispatch(module.refresh->ButtonInterface()).Put("State", 5);  // not an MsoButtonState
  EXPECT_EQ(module.refresh->State(), adxMsoButtonUp);
  com::Dispatch(module.tools.DefaultInterface()).Put("NameLocal", "Werkzeuge QOR");
  EXPECT_TRUE(module.Installer().FindCommandBar(L"werkzeuge qor"));
  EXPECT_TRUE(module.Installer().FindCommandBar(L"qor TOOLS"));
  EXPECT_FALSE(module.Installer().FindCommandBar(L"QOR Tool"));

  EXPECT_EQ(Host().Click("{00000000-0000-0000-0000-0000000000A1}").sinksCalled, 1u);
  EXPECT_EQ(Host().Click("{00000000-0000-0000-0000-0000000000A3}").sinksCalled, 1u);
  EXPECT_THAT(TakeLog(), ElementsAre("Refresh", "QOR Settings"));
  // Outlook's own Delete, intercepted: the handler runs and Outlook's action is cancelled.
  EXPECT_TRUE(Host().ClickMenuEntry("Standard", {"Delete"}).cancelDefault);
  EXPECT_THAT(TakeLog(), ElementsAre("Delete"));

  // Office lets go of the objects the add-in holds: the next click still arrives, and binds the
  // button to the control that fired, so later calls work again.
  Host().DisconnectObjects();
  EXPECT_THROW(host::office::CommandBarControl(module.refresh->DefaultInterface()).Caption(), com::ComError);
  EXPECT_EQ(Host().Click("{00000000-0000-0000-0000-0000000000A1}").sinksCalled, 1u);
  EXPECT_THAT(TakeLog(), ElementsAre("Refresh"));
  EXPECT_EQ(host::office::CommandBarControl(module.refresh->DefaultInterface()).Caption(), "Refresh");
  EXPECT_EQ(Host().Click("{00000000-0000-0000-0000-0000000000A1}").sinksCalled, 1u);
  EXPECT_THAT(TakeLog(), ElementsAre("Refresh"));

  // A handler that fails: the host's call still succeeds, the module's error handler has it.
  std::vector<std::string> errors;
  module.OnError = [&](const std::exception_ptr& error, bool& handled) {
    errors.push_back(ErrorMessage(error));
    handled = true;
  };
  module.other->OnClick = [](TadxCommandBarControl&) { throw std::runtime_error("boom"); };
  EXPECT_THAT(Host().Click("{00000000-0000-0000-0000-0000000000A2}").failures, ::testing::IsEmpty());
  EXPECT_THAT(errors, ElementsAre("boom"));

  // The sink answers COM as Office's own dispinterface clients expect.
  IDispatch& sink = *module.refresh->EventSink();
  DISPID id = 0;
  const wchar_t* click[] = {L"Click"};
  const wchar_t* lower[] = {L"click"};
  const wchar_t* two[] = {L"Click", L"Ctrl"};
  EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(click), 1, 0, &id), S_OK);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(lower), 1, 0, &id), DISP_E_UNKNOWNNAME);
  DISPID ids[2] = {};
  EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(two), 2, 0, ids), E_INVALIDARG);
  DISPPARAMS none{};
  EXPECT_EQ(sink.Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(sink.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_POINTER);
}

TEST_F(CommandBarsTest, DeclarationErrorsCarryTheirCodes) {
  Start(11);
  Connect(ext_cm_AfterStartup);
  TadxCOMAddInModule& module = *Module();
  const auto code = [](auto&& declare) {
    try {
      declare();
    } catch (const AdxError& error) {
      return error.ErrorCode();
    }
    return 0L;
  };
  EXPECT_EQ(code([] { TadxCommandBar bar(nullptr); }), 31112);
  EXPECT_EQ(code([] { TadxBuiltInControl control(nullptr); }), 31112);
  TadxCommandBar bar(&module);
  EXPECT_EQ(code([&] { bar.SetCommandBarName(L""); }), 31101);
  EXPECT_EQ(code([&] { bar.Controls().Add(adxPopup).AsPopup()->Controls().Add(adxAdvancedControl); }), 31116);
  bar.SetPosition(adxMsoBarMenuBar);
  bar.Controls().Add(adxAdvancedControl);
  EXPECT_EQ(bar.Position(), adxMsoBarTop);
  EXPECT_EQ(bar.Protection(), adxMsoBarNoChangeDock);
  EXPECT_EQ(code([&] { bar.SetProtection(adxMsoBarNoMove); }), 31115);
  EXPECT_EQ(code([&] { bar.SetPosition(adxMsoBarPopup); }), 31114);
  bar.SetCommandBarName(L"Bob's bar");
  EXPECT_EQ(code([&] { module.Installer().InternalAddCmdBar(bar); }), 31102);
}

}  // namespace
}  // namespace qor::framework::testing
