// Explorers and inspectors: their events, in Outlook's order, through real connection points.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "outlook_fixture.h"

namespace qor::standin::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const EventNames kNewWindow{{0xF001, "New"}};
const EventNames kNameSpaceEvents{{0xF005, "OptionsPagesAdd"}};

std::string FolderName(com::Dispatch explorer) {
  return com::Dispatch(explorer.Get("CurrentFolder").ToDispatch()).Get("Name").ToUtf8();
}

TEST_F(OutlookStandinTest, Explorer_EventsComeInOutlooksOrderAndCancelIsHonoured) {
  Start(11);
  com::Dispatch explorers(App().Get("Explorers").ToDispatch());
  com::Dispatch first(App().Call("ActiveExplorer").ToDispatch());
  ASSERT_TRUE(first);
  EXPECT_EQ(explorers.Get("Count").ToInt(), 1);
  EXPECT_EQ(FolderName(first), "Inbox");

  Listen(*explorers.Object().Get(), ids::kExplorersEvents, "Explorers", kNewWindow)
      .OnEvent([&](const std::string&, EventArgs& args) {
        // The new explorer arrives as an explorer, before it is active.
        EXPECT_EQ(FolderName(args.Object(0)), "Bounces");
        Listen(*args.Object(0).Object().Get(), ids::kExplorerEvents, "Second", kExplorerEvents);
      });
  Listen(*first.Object().Get(), ids::kExplorerEvents, "First", kExplorerEvents);

  com::Dispatch second(driver->OpenExplorer(bounces));
  EXPECT_THAT(TakeLog(), ElementsAre("Explorers.New", "First.Deactivate", "Second.Activate"));
  EXPECT_EQ(explorers.Get("Count").ToInt(), 2);
  EXPECT_EQ(Identity(App().Call("ActiveExplorer").ToDispatch()), Identity(second.Object()));
  EXPECT_EQ(outlook->ActiveExplorerFolder(), bounces);

  driver->Activate(*second.Object().Get());
  EXPECT_THAT(TakeLog(), IsEmpty());

  // A sink's Cancel stops the switch; the later sinks see it set.
  bool cancel = true;
  connections.back()->Sink().OnEvent([&](const std::string& event, EventArgs& args) {
    if (event != "BeforeFolderSwitch") return;
    EXPECT_EQ(args.Object(0).Get("Name").ToUtf8(), "Processed");
    ASSERT_EQ(args.At(1).vt, VT_BYREF | VT_BOOL);
    EXPECT_EQ(*args.At(1).pboolVal, VARIANT_FALSE);
    if (cancel) *args.At(1).pboolVal = VARIANT_TRUE;
  });
  EXPECT_FALSE(driver->SwitchFolder(*second.Object().Get(), processed));
  EXPECT_THAT(TakeLog(), ElementsAre("Second.BeforeFolderSwitch"));
  EXPECT_EQ(FolderName(second), "Bounces");
  EXPECT_EQ(outlook->ActiveExplorerFolder(), bounces);

  cancel = false;
  EXPECT_TRUE(driver->SwitchFolder(*second.Object().Get(), processed));
  EXPECT_THAT(TakeLog(), ElementsAre("Second.BeforeFolderSwitch", "Second.FolderSwitch"));
  EXPECT_EQ(FolderName(second), "Processed");
  EXPECT_EQ(outlook->ActiveExplorerFolder(), processed);

  // The add-in's own CurrentFolder put takes the same road.
  second.Put("CurrentFolder", Folder("Mailbox", "Processed").Object());
  EXPECT_THAT(TakeLog(), ElementsAre("Second.BeforeFolderSwitch", "Second.FolderSwitch"));

  EXPECT_TRUE(driver->SwitchView(*second.Object().Get(), "Messages"));
  driver->ChangeSelection(*second.Object().Get());
  EXPECT_THAT(TakeLog(), ElementsAre("Second.BeforeViewSwitch", "Second.ViewSwitch", "Second.SelectionChange"));

  second.Call("Close");
  EXPECT_THAT(TakeLog(), ElementsAre("Second.Close", "First.Activate"));
  EXPECT_EQ(explorers.Get("Count").ToInt(), 1);
  EXPECT_EQ(outlook->ActiveExplorerFolder(), inbox);
  EXPECT_THAT(ErrorOf([&] { second.Get("CurrentFolder"); }), ::testing::HasSubstr("Explorer has been closed"));

  driver->Close(*first.Object().Get());
  EXPECT_THAT(TakeLog(), ElementsAre("First.Close"));
  EXPECT_FALSE(App().Call("ActiveExplorer").ToDispatch());
  EXPECT_EQ(outlook->ActiveExplorerFolder(), nullptr);
}

TEST_F(OutlookStandinTest, Inspector_NewInspectorThenActivationAndCloseBringsExplorerBack) {
  Start(12);
  com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
  com::Dispatch inspectors(App().Get("Inspectors").ToDispatch());
  Listen(*explorer.Object().Get(), ids::kExplorerEvents, "Explorer", kExplorerEvents);
  Listen(*inspectors.Object().Get(), ids::kInspectorsEvents, "Inspectors", kNewWindow)
      .OnEvent([&](const std::string&, EventArgs& args) {
        com::Dispatch item(args.Object(0).Get("CurrentItem").ToDispatch());
        EXPECT_EQ(item.Get("Class").ToInt(), 43);
        EXPECT_TRUE(args.Object(0).Get("CommandBars").ToDispatch());
        Listen(*args.Object(0).Object().Get(), ids::kInspectorEvents, "Inspector", kInspectorEvents);
      });

  com::Dispatch inspector(driver->OpenInspector(bounce2));
  EXPECT_THAT(TakeLog(), ElementsAre("Inspectors.New", "Explorer.Deactivate", "Inspector.Activate"));
  EXPECT_EQ(Identity(App().Call("ActiveInspector").ToDispatch()), Identity(inspector.Object()));
  EXPECT_EQ(Identity(App().Call("ActiveWindow").ToDispatch()), Identity(inspector.Object()));
  // The explorer stays the active explorer behind an item window.
  EXPECT_EQ(Identity(App().Call("ActiveExplorer").ToDispatch()), Identity(explorer.Object()));

  explorer.Call("Activate");
  inspector.Call("Activate");
  EXPECT_THAT(TakeLog(),
              ElementsAre("Inspector.Deactivate", "Explorer.Activate", "Explorer.Deactivate", "Inspector.Activate"));

  inspector.Call("Close", 0);
  EXPECT_THAT(TakeLog(), ElementsAre("Inspector.Close", "Explorer.Activate"));
  EXPECT_FALSE(App().Call("ActiveInspector").ToDispatch());
  EXPECT_EQ(inspectors.Get("Count").ToInt(), 0);
}

TEST_F(OutlookStandinTest, Events_UnadvisedSinksReceiveNothing) {
  Start(11);
  com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
  Listen(*explorer.Object().Get(), ids::kExplorerEvents, "Explorer", kExplorerEvents);
  Listen(*App().Get("Explorers").ToDispatch().Get(), ids::kExplorersEvents, "Explorers", kNewWindow);
  Listen(*App().Object().Get(), ids::kApplicationEvents, "App", kApplicationEvents);
  Listen(*Session().Object().Get(), ids::kNameSpaceEvents, "Session", kNameSpaceEvents);
  for (const auto& connection : connections) connection->Disconnect();

  driver->SwitchFolder(*explorer.Object().Get(), bounces);
  com::Dispatch second(driver->OpenExplorer());
  driver->Close(*second.Object().Get());
  driver->ShowFolderProperties(bounces);
  driver->Quit();
  EXPECT_THAT(TakeLog(), IsEmpty());
}

TEST_F(OutlookStandinTest, QuitAndOptionsPages_RaiseApplicationAndSessionEvents) {
  Start(12);
  com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
  Listen(*explorer.Object().Get(), ids::kExplorerEvents, "Explorer", kExplorerEvents);
  Listen(*App().Object().Get(), ids::kApplicationEvents, "App", kApplicationEvents)
      .OnEvent([](const std::string& event, EventArgs& args) {
        if (event == "OptionsPagesAdd") args.Object(0).Call("Add", "Qor.OptionsPage", "QOR");
      });
  Listen(*App().Object().Get(), ids::kApplicationEvents11, "App11", kApplicationEvents);
  Listen(*Session().Object().Get(), ids::kNameSpaceEvents, "Session", kNameSpaceEvents)
      .OnEvent([](const std::string&, EventArgs& args) {
        ASSERT_EQ(args.Count(), 2u);
        EXPECT_EQ(args.Object(1).Get("Name").ToUtf8(), "Contacts");
        args.Object(0).Call("Add", "Qor.FolderPage");
      });

  com::Dispatch pages(driver->ShowOptions());
  EXPECT_EQ(pages.Get("Count").ToInt(), 1);
  EXPECT_EQ(pages.Call("Item", 1).ToUtf8(), "Qor.OptionsPage");
  EXPECT_EQ(com::Dispatch(driver->ShowFolderProperties(contacts)).Get("Count").ToInt(), 1);
  EXPECT_THAT(TakeLog(), ElementsAre("App.OptionsPagesAdd", "App11.OptionsPagesAdd", "Session.OptionsPagesAdd"));

  driver->OpenInspector(ann);
  TakeLog();
  driver->Quit();
  EXPECT_THAT(TakeLog(), ElementsAre("Explorer.Close", "App.Quit", "App11.Quit"));
  EXPECT_EQ(com::Dispatch(App().Get("Inspectors").ToDispatch()).Get("Count").ToInt(), 0);
  EXPECT_EQ(com::Dispatch(App().Get("Explorers").ToDispatch()).Get("Count").ToInt(), 0);
}

}  // namespace
}  // namespace qor::standin::testing
