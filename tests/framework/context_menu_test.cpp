// The folder context menu through the whole add-in, in every Outlook from 2000 to 365 of the
// stand-in: the entries shown on each right-click, clicks routed by tag, clicks dropped while a
// handler runs, unloading, and no sink left behind.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "com/bstr.h"
#include "com/utf.h"
#include "framework/command_bar_items.h"
#include "framework/context_menu.h"
#include "framework_fixture.h"
#include "framework/xml_helper.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/ribbon_control_object.h"

namespace qor::framework::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A module with a folder menu like the add-in's, and a view menu that must never show on it.
class MenuModule final : public TadxCOMAddInModule {
 public:
  explicit MenuModule(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {
    SetAddInName(L"Probe");
    SetSupportedApps({ohaOutlook});
    folderMenu.SetCommandBarName(L"FolderContextMenu");
    folderMenu.SetSupportedApp(ohaOutlook);
    auto& popup = *folderMenu.Controls().Add(adxPopup).AsPopup();
    popup.SetCaption(L"QOR for Outlook");
    AddButton(popup.Controls(), L"QOR Agent", "agent");
    AddButton(popup.Controls(), L"Online Help", "help");
    viewMenu.SetCommandBarName(L"ViewContextMenu");
    viewMenu.SetSupportedApp(ohaOutlook);
    AddButton(viewMenu.Controls(), L"View entry", "view");
  }
  void AddButton(TadxCommandBarControls& controls, const wchar_t* caption, std::string line) {
    auto& button = *controls.Add(adxButton).AsButton();
    button.SetCaption(caption);
    button.OnClick = [this, line](TadxCommandBarControl& sender) {
      log_->push_back(line);
      if (whileClicked) std::exchange(whileClicked, nullptr)(sender);
    };
  }

  TadxContextMenu folderMenu{this};
  TadxContextMenu viewMenu{this};
  std::function<void(TadxCommandBarControl& sender)> whileClicked;

 private:
  std::shared_ptr<std::vector<std::string>> log_;
};

class ContextMenuTest : public FrameworkTest {
 protected:
  ContextMenuTest() {
    factory = std::make_unique<TadxFactory>(ComServer::Instance(), addin::CLASS_coqorOutlook,
                                            [log = log] { return std::make_unique<MenuModule>(log); });
  }

  // Outlook of `major` started with the add-in, and the explorer ribbon Outlook 2010 on loads.
  void StartWithAddIn(int major) {
    if (addIn) addIn->OnDisconnection(ext_dm_HostShutdown, nullptr);
    addIn.Reset();
    Start(major);
    Connect();
    addIn->OnStartupComplete(nullptr);
    LoadExplorerRibbon();
  }
  void LoadExplorerRibbon() {
    if (driver->MajorVersion() < 14) return;
    com::Bstr xml;
    ASSERT_EQ(addIn.As<IRibbonExtensibility>()->GetCustomUI(com::Bstr(L"Microsoft.Outlook.Explorer").Get(), xml.Put()),
              S_OK);
    driver->SetExplorerCustomUi({"Probe", addIn.As<IDispatch>(), xml.ToUtf8()});
  }

  MenuModule& Menus() const { return static_cast<MenuModule&>(*Module()); }

  // The open menu's lines, as "A > B".
  std::vector<std::string> Shown() const {
    std::vector<std::string> lines;
    for (const auto& entry : driver->ContextMenuEntries()) {
      std::string line;
      for (const auto& caption : entry.path) line += (line.empty() ? "" : " > ") + caption;
      lines.push_back(line);
    }
    return lines;
  }
  std::vector<std::string> ShownOf(const std::string& top) const {
    std::vector<std::string> lines;
    for (const auto& line : Shown())
      if (line.starts_with(top)) lines.push_back(line);
    return lines;
  }
};

// Outlook 2010 and later show the customUI extension, which follows the program's version: those
// menus are checked through qorhost, which carries Outlook's.
TEST_F(ContextMenuTest, EveryCommandBarOutlookShowsTheEntriesOnceAndRoutesEachClickToItsHandler) {
  for (const int major : {9, 10, 11, 12, 13}) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    StartWithAddIn(major);
    TakeLog();
    for (int round = 0; round < 3; ++round) {
      driver->RightClickFolder(inbox);
      EXPECT_THAT(ShownOf("QOR"), ElementsAre("QOR for Outlook", "QOR for Outlook > QOR Agent",
                                             "QOR for Outlook > Online Help"));
      EXPECT_THAT(ShownOf("View"), IsEmpty());
      if (round == 0) driver->ChooseContextMenuEntry({"QOR for Outlook", "Online Help"});
      if (round == 1) driver->ChooseContextMenuEntry({"QOR for Outlook", "QOR Agent"});
      if (round == 2) driver->CloseContextMenu();
    }
    EXPECT_THAT(TakeLog(), ElementsAre("help", "agent"));
    // Outlook 2007 on: the entries' sinks go with the menu.
    if (major >= 12) {
      EXPECT_THAT(Module()->Sinks(), IsEmpty());
    }
  }
}

TEST_F(ContextMenuTest, AClickWhileTheHandlerStillRunsIsDropped) {
  for (const int major : {11, 12}) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    StartWithAddIn(major);
    TakeLog();
    driver->RightClickFolder(inbox);
    // The handler is inside a modal window when the user clicks the entry again.
    Menus().whileClicked = [&](TadxCommandBarControl& agent) {
      const auto result =
          standin::office::CommandBarsDriver(*agent.DefaultInterface().Get()).Click(com::ToUtf8(agent.OfficeTag()));
      EXPECT_GE(result.sinksCalled, 1u);
    };
    driver->ChooseContextMenuEntry({"QOR for Outlook", "QOR Agent"});
    EXPECT_THAT(TakeLog(), ElementsAre("agent"));
    driver->RightClickFolder(inbox);
    driver->ChooseContextMenuEntry({"QOR for Outlook", "QOR Agent"});
    EXPECT_THAT(TakeLog(), ElementsAre("agent"));
  }
}

TEST_F(ContextMenuTest, UnloadingRemovesTheEntriesAndAReloadBringsThemBack) {
  for (const int major : {10, 11, 12}) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    StartWithAddIn(major);
    driver->RightClickFolder(inbox);
    driver->CloseContextMenu();
    Registry user(HKEY_CURRENT_USER);
    for (const wchar_t* key : {L"\\CommandBars", L"\\Controls"}) {
      ASSERT_TRUE(user.OpenKey(kAddInKey + key, true));
      user.WriteInteger(L"stale", 1);
      user.CloseKey();
    }

    ASSERT_EQ(addIn->OnDisconnection(ext_dm_UserClosed, nullptr), S_OK);
    EXPECT_FALSE(user.KeyExists(kAddInKey + L"\\CommandBars"));
    EXPECT_FALSE(user.KeyExists(kAddInKey + L"\\Controls"));
    driver->RightClickFolder(inbox);
    EXPECT_THAT(ShownOf("QOR"), IsEmpty());
    driver->CloseContextMenu();

    Connect(ext_cm_AfterStartup);
    LoadExplorerRibbon();
    driver->RightClickFolder(inbox);
    EXPECT_THAT(ShownOf("QOR"), ElementsAre("QOR for Outlook", "QOR for Outlook > QOR Agent",
                                           "QOR for Outlook > Online Help"));
    driver->CloseContextMenu();
  }
}

TEST_F(ContextMenuTest, ManyMenusLeaveNoSinkBehind) {
  for (const int major : {11, 12}) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    StartWithAddIn(major);
    for (int round = 0; round < 40; ++round) {
      driver->RightClickFolder(inbox);
      driver->CloseContextMenu();
    }
    // 2003 keeps its two buttons bound between menus; 2007 binds them only while one is shown.
    EXPECT_EQ(Module()->Sinks().size(), major == 11 ? 2u : 0u);
  }
}

TEST_F(ContextMenuTest, OutlookFrom2010OnGetsEachMenuAsCustomUIAndItsActionsReachTheHandlers) {
  StartWithAddIn(16);
  TakeLog();
  MenuModule& module = Menus();
  auto& popup = *module.folderMenu.Controls()[0].AsPopup();
  popup.Controls()[1].SetVisible(false);
  TadxXMLHelper writer;
  writer.WriteStartElement(L"contextMenus");
  module.folderMenu.WriteRibbonMarkup(writer, L"OnAction");
  module.viewMenu.WriteRibbonMarkup(writer, L"OnAction");
  writer.WriteEndElement(L"contextMenus");
  const std::wstring agent = RibbonId(popup.Controls()[0]);
  EXPECT_EQ(writer.Text(),
            L"<contextMenus>\r\n\t<contextMenu idMso=\"ContextMenuFolder\">\r\n\t\t<menu id=\"" + RibbonId(popup) +
                L"\" label=\"QOR for Outlook\">\r\n\t\t\t<button id=\"" + agent +
                L"\" label=\"QOR Agent\" onAction=\"OnAction\" />\r\n\t\t</menu>\r\n\t</contextMenu>\r\n"
                L"\t<contextMenu idMso=\"ContextMenuTableView\">\r\n\t\t<button id=\"" +
                RibbonId(module.viewMenu.Controls()[0]) +
                L"\" label=\"View entry\" onAction=\"OnAction\" />\r\n\t</contextMenu>\r\n</contextMenus>");

  // The entry's action through the add-in's IDispatch, as Office calls it; a second click while
  // the first is handled is dropped.
  const com::ComPtr<IDispatch> dispatch = addIn.As<IDispatch>();
  const auto invoke = [&](const std::wstring& id) {
    const wchar_t* names[] = {L"OnActionCommon_Callback"};
    DISPID dispId = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names), 1, 0, &dispId), S_OK);
    const com::Variant control(com::ComPtr<IDispatch>(
        com::Make<standin::office::RibbonControlObject>(com::ToUtf8(id), nullptr, std::string())));
    DISPPARAMS params{const_cast<VARIANTARG*>(&control.Get()), nullptr, 1, 0};
    return dispatch->Invoke(dispId, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  };
  module.whileClicked = [&](TadxCommandBarControl&) { EXPECT_EQ(invoke(agent), S_OK); };
  EXPECT_EQ(invoke(agent), S_OK);
  EXPECT_EQ(invoke(L"unknown"), S_OK);
  EXPECT_THAT(TakeLog(), ElementsAre("agent"));
}

}  // namespace
}  // namespace qor::framework::testing
