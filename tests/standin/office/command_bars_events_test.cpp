#include "com/com_test_support.h"
#include "host/office/command_bars.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/command_bars_standin.h"
#include "standin/office/recording_sink.h"

#include <gtest/gtest.h>

namespace qor::standin::office {
namespace {

using com::testing::ComTest;
using host::office::AddControlArgs;
using host::office::CommandBarPopup;
using host::office::CommandBars;
using host::office::ControlType;
using host::office::DCommandBarButtonEvents;
using host::office::DCommandBarComboBoxEvents;
using host::office::DCommandBarsEvents;
using testing::Advise;
using testing::RecordingSink;
using testing::Unadvise;

const IID& kClick = __uuidof(DCommandBarButtonEvents);

com::ComPtr<RecordingSink> NewSink(const IID& events) { return com::Make<RecordingSink>(events); }

class CommandBarEventsTest : public ComTest {};

TEST_F(CommandBarEventsTest, Click_ReachesEveryButtonObjectCarryingTheTagWithOneCancelDefault) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const CommandBars bars(object);
  const auto standard = bars.Item("Standard").Controls();
  const auto first = standard.Add({.type = ControlType::Button, .temporary = true});
  first.SetTag("{same}");
  // The same tag on another bar, inside a popup: Office fires Click on both.
  const CommandBarPopup tools(bars.Item("Menu Bar").FindControl({.id = 30007})->Object());
  const auto second = tools.Controls().Add({.type = ControlType::Button});
  second.SetTag("{same}");
  const auto other = standard.Add({.type = ControlType::Button});
  other.SetTag("{other}");
  driver.SetFreshObjects(true);
  const auto firstAgain = bars.FindControl({.tag = "{same}"});
  ASSERT_TRUE(firstAgain);
  ASSERT_NE(firstAgain->Object(), first.Object());

  const auto sinkFirst = NewSink(kClick), sinkAgain = NewSink(kClick), sinkSecond = NewSink(kClick),
             sinkOther = NewSink(kClick), sinkGone = NewSink(kClick);
  ASSERT_NE(Advise(*first.Object(), kClick, sinkFirst), 0u);
  ASSERT_NE(Advise(*firstAgain->Object(), kClick, sinkAgain), 0u);
  ASSERT_NE(Advise(*second.Object(), kClick, sinkSecond), 0u);
  ASSERT_NE(Advise(*other.Object(), kClick, sinkOther), 0u);
  const DWORD gone = Advise(*first.Object(), kClick, sinkGone);
  ASSERT_NE(gone, 0u);
  EXPECT_EQ(Unadvise(*first.Object(), kClick, gone), S_OK);
  sinkFirst->cancel = true;

  const ClickResult result = driver.Click("{same}");

  EXPECT_EQ(result.sinksCalled, 3u);
  EXPECT_TRUE(result.failures.empty());
  EXPECT_TRUE(result.cancelDefault);
  EXPECT_TRUE(sinkGone->calls.empty());
  EXPECT_TRUE(sinkOther->calls.empty());
  for (const auto* sink : {sinkFirst.Get(), sinkAgain.Get(), sinkSecond.Get()}) {
    ASSERT_EQ(sink->calls.size(), 1u);
    const auto& call = sink->calls[0];
    // Ctrl first, then CancelDefault by reference.
    ASSERT_EQ(call.types, (std::vector<VARTYPE>{VT_DISPATCH, VT_BYREF | VT_BOOL}));
    EXPECT_EQ(call.ctrlTag, "{same}");
  }
  // The first sink wrote CancelDefault; the later ones see it.
  EXPECT_FALSE(sinkFirst->calls[0].values[1].ToBool());
  EXPECT_TRUE(sinkSecond->calls[0].values[1].ToBool());
  // Ctrl is the clicked control, whichever object's sink hears it.
  EXPECT_EQ(sinkSecond->calls[0].ctrl, sinkFirst->calls[0].ctrl);
  EXPECT_EQ(driver.Click("{other}").cancelDefault, false);
  EXPECT_EQ(sinkOther->calls.size(), 1u);
}

TEST_F(CommandBarEventsTest, Click_DisabledButtonOrUnknownTag) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const auto button = CommandBars(object).Item("Standard").Controls().Add({.type = ControlType::Button});
  button.SetTag("{t}");
  const auto sink = NewSink(kClick);
  ASSERT_NE(Advise(*button.Object(), kClick, sink), 0u);
  button.SetEnabled(false);
  EXPECT_EQ(driver.Click("{t}").sinksCalled, 0u);
  EXPECT_THROW(driver.Click("{missing}"), std::invalid_argument);
  button.SetEnabled(true);
  EXPECT_EQ(driver.Click("{t}").sinksCalled, 1u);
  // A deleted button's objects hear nothing, and its tag is gone.
  button.Delete();
  EXPECT_THROW(driver.Click("{t}"), std::invalid_argument);
  EXPECT_EQ(sink->calls.size(), 1u);
}

TEST_F(CommandBarEventsTest, OnUpdate_ReachesAdvisedSinksWithoutArguments) {
  auto object = CreateCommandBars(11);
  const auto heard = NewSink(__uuidof(DCommandBarsEvents)), left = NewSink(__uuidof(DCommandBarsEvents));
  ASSERT_NE(Advise(*object, __uuidof(DCommandBarsEvents), heard), 0u);
  const DWORD cookie = Advise(*object, __uuidof(DCommandBarsEvents), left);
  ASSERT_EQ(Unadvise(*object, __uuidof(DCommandBarsEvents), cookie), S_OK);
  // A button's events are not the collection's.
  EXPECT_EQ(Advise(*object, kClick, NewSink(kClick)), 0u);

  RaiseOnUpdate(*object);
  EXPECT_EQ(CommandBarsDriver(*object).RaiseOnUpdate().sinksCalled, 1u);

  ASSERT_EQ(heard->calls.size(), 2u);
  EXPECT_TRUE(heard->calls[0].types.empty());
  EXPECT_TRUE(left->calls.empty());
}

TEST_F(CommandBarEventsTest, Change_GoesToComboBoxSinksWithTheControl) {
  auto object = CreateCommandBars(10);
  CommandBarsDriver driver(*object);
  const auto combo = CommandBars(object).Item("Standard").Controls().Add({.type = ControlType::ComboBox});
  combo.SetTag("{combo}");
  const auto changes = NewSink(__uuidof(DCommandBarComboBoxEvents));
  ASSERT_NE(Advise(*combo.Object(), __uuidof(DCommandBarComboBoxEvents), changes), 0u);
  // A combo box raises no Click.
  EXPECT_EQ(Advise(*combo.Object(), kClick, NewSink(kClick)), 0u);
  EXPECT_THROW(driver.Click("{combo}"), std::invalid_argument);

  EXPECT_EQ(driver.ChangeComboBox("{combo}", "typed").sinksCalled, 1u);

  ASSERT_EQ(changes->calls.size(), 1u);
  EXPECT_EQ(changes->calls[0].types, std::vector<VARTYPE>{VT_DISPATCH});
  EXPECT_EQ(changes->calls[0].ctrlTag, "{combo}");
  EXPECT_EQ(host::office::CommandBarComboBox(combo.Object()).Text(), "typed");
}

TEST_F(CommandBarEventsTest, FailingSink_DoesNotStopTheOthers) {
  auto object = CreateCommandBars(11);
  const auto button = CommandBars(object).Item("Standard").Controls().Add({.type = ControlType::Button});
  button.SetTag("{t}");
  const auto failing = NewSink(kClick), later = NewSink(kClick);
  failing->during = [] { throw std::runtime_error("The sink broke."); };
  ASSERT_NE(Advise(*button.Object(), kClick, failing), 0u);
  ASSERT_NE(Advise(*button.Object(), kClick, later), 0u);

  const ClickResult result = CommandBarsDriver(*object).Click("{t}");

  EXPECT_EQ(result.sinksCalled, 2u);
  ASSERT_EQ(result.failures.size(), 1u);
  EXPECT_STREQ(result.failures[0].what(), "The sink broke.");
  EXPECT_EQ(later->calls.size(), 1u);
}

}  // namespace
}  // namespace qor::standin::office
