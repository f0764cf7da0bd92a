// Right-clicking a folder: application events from Outlook 2007 on, command-bar updates before.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "host/office/office_ids.h"
#include "outlook_fixture.h"
#include "standin/office/command_bars_driver.h"

namespace qor::standin::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const EventNames kCommandBarsEvents{{1, "OnUpdate"}};

TEST_F(OutlookStandinTest, FolderContextMenu_Outlook2007AndLaterDisplayThenClose) {
  for (const int major : {12, 14, 16}) {
    Start(major);
    Listen(*App().Object().Get(), ids::kApplicationEvents, "App", kApplicationEvents);
    com::ComPtr<IDispatch> shownBar;
    Listen(*App().Object().Get(), ids::kApplicationEvents11, "App11", kApplicationEvents)
        .OnEvent([&](const std::string& event, EventArgs& args) {
          if (event == "ContextMenuClose") {
            ASSERT_EQ(args.Count(), 1u);
            ASSERT_EQ(args.At(0).vt, VT_I4);
            log->push_back("code " + std::to_string(args.At(0).lVal));
            return;
          }
          ASSERT_EQ(args.Count(), 2u);
          shownBar = args.Object(0).Object();
          if (event != "FolderContextMenuDisplay") return;
          EXPECT_EQ(args.Object(1).Get("Name").ToUtf8(), "Bounces");
          com::ComPtr<IUnknown> folder;
          EXPECT_EQ(args.Object(1).Object()->QueryInterface(ids::kMapiFolder, folder.PutVoid()), S_OK);
        });

    bool visited = false;
    driver->RightClickFolder(bounces, [&](IDispatch* menu) {
      visited = true;
      ASSERT_NE(menu, nullptr);
      EXPECT_EQ(menu, shownBar.Get());
      EXPECT_EQ(com::Dispatch(shownBar).Get("Name").ToUtf8(), "Folder Context Menu");
      log->push_back("visit");
    });
    EXPECT_TRUE(visited);
    EXPECT_THAT(TakeLog(), ElementsAre("App11.FolderContextMenuDisplay", "visit", "App11.ContextMenuClose", "code 2"));

    // The menu closes even when the visitor fails.
    EXPECT_THROW(driver->ShowContextMenu(ContextMenu::View, "View Context Menu", nullptr,
                                         [](IDispatch*) { throw std::runtime_error("click failed"); }),
                 std::runtime_error);
    EXPECT_THAT(TakeLog(), ElementsAre("App11.ViewContextMenuDisplay", "App11.ContextMenuClose", "code 1"));
    shownBar.Reset();
    connections.clear();
  }
}

TEST_F(OutlookStandinTest, FolderContextMenu_Outlook2002And2003UpdateTheExplorersBars) {
  for (const int major : {10, 11}) {
    Start(major);
    com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
    com::ComPtr<IDispatch> bars = explorer.Get("CommandBars").ToDispatch();
    Listen(*bars.Get(), __uuidof(host::office::DCommandBarsEvents), "Bars", kCommandBarsEvents);
    Listen(*App().Object().Get(), ids::kApplicationEvents11, "App11", kApplicationEvents);

    std::string shown;
    driver->RightClickFolder(bounces, [&](IDispatch* menu) {
      ASSERT_NE(menu, nullptr);
      com::ComPtr<IDispatch> bar;
      bar.CopyFrom(menu);
      shown = com::Dispatch(bar).Get("Name").ToUtf8();
    });
    EXPECT_EQ(shown, "Folder Context Menu");
    EXPECT_THAT(TakeLog(), ElementsAre("Bars.OnUpdate"));
    EXPECT_THROW(driver->ShowContextMenu(ContextMenu::Folder, "Folder Context Menu", nullptr, nullptr),
                 std::logic_error);
    connections.clear();
  }
}

TEST_F(OutlookStandinTest, FolderContextMenu_Outlook2000OffersNothing) {
  Start(9);
  com::Dispatch explorer(App().Call("ActiveExplorer").ToDispatch());
  Listen(*explorer.Get("CommandBars").ToDispatch().Get(), __uuidof(host::office::DCommandBarsEvents), "Bars",
         kCommandBarsEvents);
  bool visited = false;
  driver->RightClickFolder(bounces, [&](IDispatch* menu) {
    visited = true;
    EXPECT_EQ(menu, nullptr);
  });
  EXPECT_TRUE(visited);
  EXPECT_THAT(TakeLog(), IsEmpty());
}

}  // namespace
}  // namespace qor::standin::testing
