// The folder menu as each Outlook shows it: the events around it, what it lists, and a click on an
// add-in's entry, which reaches the add-in before the menu's close.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/office/office_ids.h"
#include "outlook_fixture.h"
#include "standin/office/ribbon_control_object.h"

namespace qor::standin::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const EventNames kCommandBarsEvents{{1, "OnUpdate"}};
const EventNames kButtonEvents{{1, "Click"}};
constexpr int kButton = 1;  // msoControlButton

std::vector<std::string> Shown(const std::vector<office::MenuEntry>& entries) {
  std::vector<std::string> lines;
  for (const auto& entry : entries)
    lines.push_back(JoinedPath(entry.path) + (entry.enabled ? "" : " (disabled)") + (entry.submenu ? " >" : ""));
  return lines;
}

class FolderMenuTest : public OutlookStandinTest {
 protected:
  // A temporary button "Pro&be" at the end of `bar`, its Click events logged as "Button.Click".
  void AddProbeButton(com::Dispatch bar) {
    com::Dispatch button(com::Dispatch(bar.Get("Controls").ToDispatch()).Call("Add", kButton).ToDispatch());
    button.Put("Caption", "Pro&be");
    button.Put("Tag", "probe");
    Listen(*button.Object().Get(), __uuidof(host::office::DCommandBarButtonEvents), "Button", kButtonEvents);
  }
};

TEST_F(FolderMenuTest, EachVersionRaisesItsEventsAndTheClickComesBeforeTheClose) {
  const std::vector<std::string> outlookEntries{"Open", "Open in New Window", "Copy", "Delete"};
  for (const int major : {9, 10, 11, 12, 14, 16}) {
    SCOPED_TRACE(major);
    Start(major);
    com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
    com::ComPtr<IDispatch> bars = explorer.Get("CommandBars").ToDispatch();
    Listen(*bars.Get(), __uuidof(host::office::DCommandBarsEvents), "Bars", kCommandBarsEvents);
    // Before Outlook 2007 the add-in's entry lives in the explorer's own bar; from 2007 on it is
    // added to the bar each display event hands over.
    if (major < 12) AddProbeButton(com::Dispatch(com::Dispatch(bars).Get("Item", "Folder Context Menu").ToDispatch()));
    Listen(*App().Object().Get(), ids::kApplicationEvents11, "App11", kApplicationEvents)
        .OnEvent([&](const std::string& event, EventArgs& args) {
          if (event == "ContextMenuClose") {
            ASSERT_EQ(args.At(0).vt, VT_I4);
            log->push_back("code " + std::to_string(args.At(0).lVal));
            return;
          }
          EXPECT_EQ(args.Object(0).Get("Name").ToUtf8(), "Folder Context Menu");
          log->push_back("on " + args.Object(1).Get("Name").ToUtf8());
          AddProbeButton(args.Object(0));
        });

    EXPECT_THROW(driver->ChooseContextMenuEntry({"Probe"}), std::logic_error);
    driver->RightClickFolder(bounces);
    ASSERT_TRUE(driver->ContextMenuOpen());
    using Log = std::vector<std::string>;
    EXPECT_EQ(TakeLog(), (major >= 12   ? Log{"App11.FolderContextMenuDisplay", "on Bounces"}
                          : major >= 10 ? Log{"Bars.OnUpdate"}
                                        : Log{}));
    // Outlook 2010 on show only customUI extensions, none here.
    std::vector<std::string> expected;
    if (major < 14) {
      expected = outlookEntries;
      expected.push_back("Probe");
    }
    EXPECT_EQ(Shown(driver->ContextMenuEntries()), expected);
    EXPECT_THROW(driver->ChooseContextMenuEntry({"Nothing"}), std::invalid_argument);
    if (major < 14) {
      EXPECT_TRUE(driver->ChooseContextMenuEntry({"Probe"}).taken);
      EXPECT_FALSE(driver->ContextMenuOpen());
      EXPECT_EQ(TakeLog(),
                (major >= 12 ? Log{"Button.Click", "App11.ContextMenuClose", "code 2"} : Log{"Button.Click"}));
    } else {
      driver->CloseContextMenu();
      EXPECT_EQ(TakeLog(), (Log{"App11.ContextMenuClose", "code 2"}));
    }

    // Dismissing a menu, and right-clicking again while one is open, close it first.
    driver->RightClickFolder(inbox);
    driver->RightClickFolder(bounces);
    driver->CloseContextMenu();
    EXPECT_FALSE(driver->ContextMenuOpen());
    EXPECT_EQ(TakeLog(),
              (major >= 12   ? Log{"App11.FolderContextMenuDisplay", "on Inbox", "App11.ContextMenuClose", "code 2",
                                 "App11.FolderContextMenuDisplay", "on Bounces", "App11.ContextMenuClose", "code 2"}
               : major >= 10 ? Log{"Bars.OnUpdate", "Bars.OnUpdate"}
                             : Log{}));
    connections.clear();
  }
}

// An add-in's call-backs: records what its onAction receives.
class Callbacks final : public com::ComObject<Callbacks, com::DispatchImpl<Callbacks>> {
 public:
  explicit Callbacks(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {}
  static const com::DispatchTable<Callbacks>& DispatchMembers() {
    static const auto table = com::DispatchTable<Callbacks>().Method(
        "OnAction_Callback", [](Callbacks& self, com::ComPtr<IDispatch> control) {
          com::ComPtr<IUnknown> ribbonControl;
          EXPECT_EQ(control->QueryInterface(office::kRibbonControlIid, ribbonControl.PutVoid()), S_OK);
          com::Dispatch shown(control);
          com::Dispatch context(shown.Get("Context").ToDispatch());
          self.log_->push_back("onAction " + shown.Get("Id").ToUtf8() + " tag=" + shown.Get("Tag").ToUtf8() +
                               " context=" + context.Get("Name").ToUtf8());
        });
    return table;
  }

 private:
  std::shared_ptr<std::vector<std::string>> log_;
};

constexpr char kExtensions[] = R"(<?xml version="1.0" encoding="utf-8"?>
<!-- ribbon first, menus after -->
<customUI xmlns="http://schemas.microsoft.com/office/2009/07/customui">
  <ribbon><tabs><tab idMso="TabMail"><group id="g" label="Group"/></tab></tabs></ribbon>
  <contextMenus>
    <contextMenu idMso="ContextMenuMailItem"><button id="itemOnly" label="Item only"/></contextMenu>
    <contextMenu idMso="ContextMenuFolder">
      <menu id="qorMenu" label="QOR for Outlook">
        <button id="qorAgent" tag="agent" label="QOR &amp; Agent" onAction="OnAction_Callback"/>
        <menuSeparator id="sep"/>
        <menu id="more" label="More"><button id="deep" label="Deep" onAction="OnAction_Callback"/></menu>
      </menu>
      <button idMso="FolderPropertiesContext"/>
      <button id="hidden" label="Hidden" visible="false"/>
      <button id="off" label="Off" enabled="false" onAction="OnAction_Callback"/>
    </contextMenu>
  </contextMenus>
</customUI>)";

TEST_F(FolderMenuTest, Outlook2010AndLaterShowTheCustomUiExtensionsAndCallOnAction) {
  Start(16);
  auto callbacks = com::Make<Callbacks>(log);
  driver->SetExplorerCustomUi({"Probe.A", callbacks, kExtensions});
  // Office 2007's namespace has no context menus; a document Office cannot read adds nothing.
  driver->SetExplorerCustomUi({"Probe.B", callbacks,
                               R"(<customUI xmlns="http://schemas.microsoft.com/office/2006/01/customui">
                                  <contextMenus><contextMenu idMso="ContextMenuFolder"><button id="x" label="Old"/>
                                  </contextMenu></contextMenus></customUI>)"});
  driver->SetExplorerCustomUi({"Probe.C", callbacks, "<customUI><contextMenus>"});
  Listen(*App().Object().Get(), ids::kApplicationEvents11, "App11", kApplicationEvents);

  driver->RightClickFolder(bounces);
  EXPECT_THAT(Shown(driver->ContextMenuEntries()),
              ElementsAre("QOR for Outlook >", "QOR for Outlook > QOR & Agent", "QOR for Outlook > More >",
                          "QOR for Outlook > More > Deep", "Off (disabled)"));
  EXPECT_FALSE(driver->ChooseContextMenuEntry({"Off"}).taken);
  EXPECT_THROW(driver->ChooseContextMenuEntry({"QOR for Outlook"}), std::invalid_argument);
  ASSERT_TRUE(driver->ContextMenuOpen());
  const MenuChoice choice = driver->ChooseContextMenuEntry({"QOR for Outlook", "QOR & Agent"});
  ASSERT_TRUE(choice.action.has_value());
  EXPECT_EQ(choice.action->owner, "Probe.A");
  EXPECT_EQ(choice.action->callback, "OnAction_Callback");
  EXPECT_EQ(choice.action->result, S_OK);
  EXPECT_THAT(TakeLog(), ElementsAre("App11.FolderContextMenuDisplay", "onAction qorAgent tag=agent context=Bounces",
                                     "App11.ContextMenuClose"));

  // A replaced document counts, a removed one is gone; a call-back the add-in lacks fails.
  driver->SetExplorerCustomUi({"Probe.A", callbacks,
                               R"(<mso:customUI xmlns:mso="http://schemas.microsoft.com/office/2009/07/customui">
                                  <mso:contextMenus><mso:contextMenu idMso="ContextMenuFolder">
                                  <mso:button id="gone" label="Gone" onAction="Missing"/>
                                  </mso:contextMenu></mso:contextMenus></mso:customUI>)"});
  driver->RightClickFolder(inbox);
  EXPECT_THAT(Shown(driver->ContextMenuEntries()), ElementsAre("Gone"));
  EXPECT_EQ(driver->ChooseContextMenuEntry({"Gone"}).action->result, DISP_E_UNKNOWNNAME);
  driver->RemoveExplorerCustomUi("Probe.A");
  driver->RightClickFolder(inbox);
  EXPECT_THAT(driver->ContextMenuEntries(), IsEmpty());
}

}  // namespace
}  // namespace qor::standin::testing
