// Outlook's explorers and inspectors as the add-in follows them, with the stand-in playing Outlook
// 2000 to 365: which windows are tracked, when a new explorer counts as active, where the
// command-bars update sink sits, and the module's window events in Outlook's order.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/outlook_windows.h"
#include "framework_fixture.h"
#include "host/automation/outlook_ids.h"
#include "standin/office/command_bars_driver.h"
#include "standin/outlook/application_object.h"

namespace qor::framework::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace ids = host::outlook_ids;

using Lines = std::vector<std::string>;

Lines Concat(Lines first, const Lines& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class WindowTrackingTest : public FrameworkTest {
 protected:
  void TearDown() override {
    tracking.reset();
    module.reset();
    first.Reset();
    FrameworkTest::TearDown();
  }

  // Outlook of `major` with its first explorer on the Inbox; the add-in not yet listening.
  void OpenOutlook(int major) {
    tracking.reset();
    module.reset();
    TakeLog();
    outlook->SetActiveExplorerFolder(inbox);
    driver = std::make_unique<standin::OutlookDriver>(outlook, major);
    first = driver->ActiveExplorer();
  }
  // A module connected to that Outlook, logging its window events, and the tracking started.
  void Track() {
    module = std::make_unique<ProbeModule>(log);
    module->SetHostApp(driver->Application());
    module->SetHostApplication();
    module->OnError = [this](const std::exception_ptr& error, bool& handled) {
      log->push_back("error " + ErrorMessage(error));
      handled = true;
    };
    const auto window = [this](const char* event) {
      return [this, event](TadxCOMAddInModule&, IDispatch* object) {
        log->push_back(std::string(event) + " " + NameOf(object));
      };
    };
    module->OnOLNewExplorer = window("NewExplorer");
    module->OnOLExplorerActivate = window("ExplorerActivate");
    module->OnOLExplorerFolderSwitch = window("ExplorerFolderSwitch");
    module->OnOLExplorerViewSwitch = window("ExplorerViewSwitch");
    module->OnOLExplorerDeactivate = window("ExplorerDeactivate");
    module->OnOLExplorerSelectionChange = window("ExplorerSelectionChange");
    module->OnOLExplorerClose = window("ExplorerClose");
    module->OnOLNewInspector = window("NewInspector");
    module->OnOLInspectorActivate = window("InspectorActivate");
    module->OnOLInspectorDeactivate = window("InspectorDeactivate");
    module->OnOLInspectorClose = window("InspectorClose");
    const auto beforeSwitch = [this](const char* event) {
      return [this, event](TadxCOMAddInModule&, IDispatch* explorer, const com::Variant& target, bool& cancel) {
        const std::string to = target.Type() == VT_DISPATCH ? NameOf(target.ToDispatch().Get()) : target.ToUtf8();
        log->push_back(std::string(event) + " " + NameOf(explorer) + ">" + to);
        cancel = to == cancelSwitchTo;
      };
    };
    module->OnOLExplorerBeforeFolderSwitch = beforeSwitch("BeforeFolderSwitch");
    module->OnOLExplorerBeforeViewSwitch = beforeSwitch("BeforeViewSwitch");
    tracking = std::make_unique<OutlookWindowTracking>(*module);
    tracking->Start();
  }

  // An explorer by its folder's name, an inspector by its item's subject.
  static std::string NameOf(IDispatch* window) {
    com::ComPtr<IDispatch> held;
    held.CopyFrom(window);
    com::Dispatch object(held);
    com::ComPtr<IUnknown> explorer;
    if (SUCCEEDED(window->QueryInterface(ids::kExplorer, explorer.PutVoid())))
      return com::Dispatch(object.Get("CurrentFolder").ToDispatch()).Get("Name").ToUtf8();
    if (SUCCEEDED(window->QueryInterface(ids::kInspector, explorer.PutVoid())))
      return com::Dispatch(object.Get("CurrentItem").ToDispatch()).Get("Subject").ToUtf8();
    return com::Dispatch(held).Get("Name").ToUtf8();
  }
  static com::ComPtr<IDispatch> BarsOf(const com::ComPtr<IDispatch>& window) {
    return com::Dispatch(window).Get("CommandBars").ToDispatch();
  }
  // How many sinks hear OnUpdate of the window's command bars.
  static std::size_t UpdateSinks(const com::ComPtr<IDispatch>& window) {
    return standin::office::CommandBarsDriver(*BarsOf(window).Get()).RaiseOnUpdate().sinksCalled;
  }
  bool ModuleBarsAreThoseOf(const com::ComPtr<IDispatch>& window) const {
    return module->CommandBars() && com::ComPtr<IUnknown>(module->CommandBars()).As<IUnknown>() ==
                                        com::ComPtr<IUnknown>(BarsOf(window)).As<IUnknown>();
  }

  com::ComPtr<IDispatch> first;
  std::unique_ptr<ProbeModule> module;
  std::unique_ptr<OutlookWindowTracking> tracking;
  std::string cancelSwitchTo;
};

TEST_F(WindowTrackingTest, WindowTracking_ANewExplorerCountsAsActiveAtOnceIn2007AndAtItsFirstFolderSwitchElsewhere) {
  for (int major = 9; major <= 16; ++major) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    OpenOutlook(major);
    Track();
    EXPECT_THAT(TakeLog(), ElementsAre("NewExplorer Inbox", "ExplorerActivate Inbox"));

    // Outlook reporting the open explorer once more: it is tracked already.
    auto& application = *static_cast<standin::ApplicationObject*>(driver->Application().Get());
    application.Session()->Explorers()->Fire(ids::kExplorersEvents, ids::dispid::kNewWindow, first);
    EXPECT_THAT(TakeLog(), IsEmpty());

    const com::ComPtr<IDispatch> second = driver->OpenExplorer(contacts);
    const Lines outlookOrder{"ExplorerDeactivate Inbox", "ExplorerActivate Contacts"};
    if (major == 12) {
      EXPECT_THAT(TakeLog(), ElementsAreArray(Concat(
                                 {"NewExplorer Contacts", "ExplorerActivate Contacts", "ExplorerFolderSwitch Contacts"},
                                 outlookOrder)));
    } else {
      EXPECT_THAT(TakeLog(), ElementsAreArray(Concat({"NewExplorer Contacts"}, outlookOrder)));
    }
    EXPECT_EQ(module->ExplFirstStart(), major != 12);

    EXPECT_TRUE(driver->SwitchFolder(*second.Get(), inbox));
    if (major == 12) {
      EXPECT_THAT(TakeLog(), ElementsAre("BeforeFolderSwitch Contacts>Inbox", "ExplorerFolderSwitch Inbox"));
    } else {
      EXPECT_THAT(TakeLog(), ElementsAre("BeforeFolderSwitch Contacts>Inbox", "ExplorerActivate Inbox",
                                         "ExplorerFolderSwitch Inbox"));
    }
    EXPECT_FALSE(module->ExplFirstStart());
    EXPECT_TRUE(ModuleBarsAreThoseOf(second));

    // The first explorer has one wrapper: its events reach the module once.
    EXPECT_TRUE(driver->SwitchFolder(*first.Get(), contacts));
    EXPECT_THAT(TakeLog(), ElementsAre("BeforeFolderSwitch Inbox>Contacts", "ExplorerFolderSwitch Contacts"));
  }
}

TEST_F(WindowTrackingTest, WindowTracking_UpdateSinkFollowsTheActiveExplorerExceptIn2000_2007And2010) {
  for (int major = 9; major <= 16; ++major) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    OpenOutlook(major);
    Track();
    const std::size_t expected = major == 9 || major == 12 || major == 14 ? 0u : 1u;
    EXPECT_EQ(UpdateSinks(first), expected);
    EXPECT_TRUE(ModuleBarsAreThoseOf(first));

    const com::ComPtr<IDispatch> second = driver->OpenExplorer(contacts);
    EXPECT_EQ(UpdateSinks(first), 0u);
    EXPECT_EQ(UpdateSinks(second), expected);
    driver->Activate(*first.Get());
    EXPECT_EQ(UpdateSinks(first), expected) << "every activation makes a new sink";
    EXPECT_EQ(UpdateSinks(second), 0u);
    EXPECT_TRUE(ModuleBarsAreThoseOf(first));
    driver->RightClickFolder(inbox);
    driver->CloseContextMenu();

    tracking.reset();
    EXPECT_EQ(UpdateSinks(first), 0u) << "the tracking's end disconnects the sink";
    EXPECT_THAT(TakeLog(), ::testing::Not(::testing::Contains(::testing::StartsWith("error"))));
  }
}

TEST_F(WindowTrackingTest, WindowTracking_NoteWindowsAreNotTrackedAndItemWindowsCloseWithTheLastExplorerAfter2000) {
  const auto hello = inbox->AddMail("Hi there", "Hello");
  const auto later = inbox->AddMail("See you", "Later");
  const auto note = inbox->AddMail("Buy milk", "Reminder", host::ItemClass::Note);
  for (int major = 9; major <= 16; ++major) {
    SCOPED_TRACE("Outlook " + std::to_string(major));
    OpenOutlook(major);
    driver->OpenInspector(hello);
    const com::ComPtr<IDispatch> active = driver->OpenInspector(later);
    Track();
    EXPECT_THAT(TakeLog(), ElementsAre("NewExplorer Inbox", "ExplorerActivate Inbox", "NewInspector Later",
                                       "InspectorActivate Later"))
        << "of the open item windows only the active one is tracked";
    EXPECT_TRUE(ModuleBarsAreThoseOf(active));

    const com::ComPtr<IDispatch> noteWindow = driver->OpenInspector(note);
    EXPECT_THAT(TakeLog(), ElementsAre("NewInspector Reminder", "InspectorDeactivate Later"));
    EXPECT_TRUE(ModuleBarsAreThoseOf(active)) << "a note window leaves the command bars alone";

    driver->Activate(*active.Get());
    driver->Activate(*first.Get());
    EXPECT_THAT(TakeLog(),
                ElementsAre("InspectorActivate Later", "InspectorDeactivate Later", "ExplorerActivate Inbox"));

    // Outlook brings the item window to the front once the explorer has gone.
    driver->Close(*first.Get());
    driver->Close(*active.Get());
    if (major == 9) {
      EXPECT_THAT(TakeLog(), ElementsAre("ExplorerClose Inbox", "InspectorActivate Later", "InspectorClose Later"))
          << "Outlook 2000's item windows live on without an explorer";
    } else {
      EXPECT_THAT(TakeLog(), ElementsAre("ExplorerClose Inbox", "InspectorClose Later"));
    }
  }
}

TEST_F(WindowTrackingTest, WindowTracking_SwitchEventsReachTheModuleWhichMayCancelThem) {
  OpenOutlook(11);
  Track();
  TakeLog();
  cancelSwitchTo = "Contacts";
  EXPECT_FALSE(driver->SwitchFolder(*first.Get(), contacts)) << "the module's Cancel reaches Outlook";
  EXPECT_TRUE(driver->SwitchView(*first.Get(), "Messages"));
  cancelSwitchTo = "Compact";
  EXPECT_FALSE(driver->SwitchView(*first.Get(), "Compact"));
  module->OnOLExplorerSelectionChange = [](TadxCOMAddInModule&, IDispatch*) {
    throw std::runtime_error("selection failed");
  };
  driver->ChangeSelection(*first.Get());
  EXPECT_THAT(TakeLog(),
              ElementsAre("BeforeFolderSwitch Inbox>Contacts", "BeforeViewSwitch Inbox>Messages",
                          "ExplorerViewSwitch Inbox", "BeforeViewSwitch Inbox>Compact", "error selection failed"));
}

}  // namespace
}  // namespace qor::framework::testing
