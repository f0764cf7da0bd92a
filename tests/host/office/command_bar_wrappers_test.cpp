#include "com/com_test_support.h"
#include "host/office/command_bars.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/command_bars_standin.h"

#include <gtest/gtest.h>

#include <string>

namespace qor::host::office {
namespace {

using com::testing::ComTest;
using standin::office::CommandBarsDriver;
using standin::office::CreateCommandBars;

class CommandBarWrappersTest : public ComTest {};

// What the call raised, as Office put it.
template <class F>
std::pair<HRESULT, std::string> ErrorOf(F&& call) {
  try {
    call();
  } catch (const com::ComError& error) {
    return {error.Code(), error.what()};
  }
  return {S_OK, {}};
}

TEST_F(CommandBarWrappersTest, FindControl_SearchesPopupsOnlyWhenRecursive) {
  const CommandBars bars(CreateCommandBars(11));
  const CommandBar menu = bars.Item("Folder Context Menu");
  const CommandBarPopup popup(menu.Controls().Add({.type = ControlType::Popup, .temporary = true}).Object());
  popup.SetTag("{popup}");
  const auto inside = popup.Controls().Add({.type = ControlType::Button, .temporary = true});
  inside.SetTag("{inside}");
  inside.SetVisible(false);

  EXPECT_EQ(menu.FindControl({.type = ControlType::Popup, .tag = "{popup}"})->Object(), popup.Object());
  EXPECT_EQ(menu.FindControl({.tag = "{inside}"}), std::nullopt);
  EXPECT_EQ(menu.FindControl({.tag = "{inside}"}, true)->Object(), inside.Object());
  EXPECT_EQ(bars.FindControl({.tag = "{inside}"})->Object(), inside.Object());
  // Every criterion given must hold.
  EXPECT_EQ(bars.FindControl({.type = ControlType::ComboBox, .tag = "{inside}"}), std::nullopt);
  EXPECT_EQ(bars.FindControl({.tag = "{inside}", .visible = true}), std::nullopt);
  EXPECT_EQ(bars.FindControl({.id = 1, .tag = "{inside}", .visible = false})->Object(), inside.Object());
  // Built-in commands by id, the first match in bar order.
  EXPECT_EQ(bars.FindControl({.id = 478})->Parent().Name(), "Standard");
  EXPECT_EQ(bars.Item("Menu Bar").FindControl({.type = ControlType::Popup, .id = 30007})->Caption(), "&Tools");
  EXPECT_EQ(bars.FindControl({.tag = "{nowhere}"}), std::nullopt);
}

TEST_F(CommandBarWrappersTest, Add_PlacesBeforePositionAndIndexFollowsTheBar) {
  const CommandBars bars(CreateCommandBars(11));
  const CommandBarControls controls = bars.Item("Context Menu").Controls();
  ASSERT_EQ(controls.Count(), 3);
  const auto last = controls.Add();
  const auto first = controls.Add({.type = ControlType::Button, .id = 1, .parameter = "p", .before = 1});
  const auto middle = controls.Add({.before = 3});

  EXPECT_EQ(controls.Count(), 6);
  EXPECT_EQ(first.Index(), 1);
  EXPECT_EQ(middle.Index(), 3);
  EXPECT_EQ(last.Index(), 6);
  EXPECT_EQ(first.Parameter(), "p");
  EXPECT_EQ(first.Type(), ControlType::Button);
  EXPECT_EQ(first.Id(), 1);
  EXPECT_EQ(controls.Item(2).Caption(), "&Open");

  first.Delete();
  EXPECT_EQ(middle.Index(), 2);
  EXPECT_EQ(last.Index(), 5);

  EXPECT_EQ(ErrorOf([&] { controls.Add({.before = 0}); }).first, E_INVALIDARG);
  EXPECT_EQ(ErrorOf([&] { controls.Add({.before = 7}); }).first, E_INVALIDARG);
  EXPECT_EQ(ErrorOf([&] { controls.Add({.type = static_cast<ControlType>(99)}); }).first, E_INVALIDARG);
  EXPECT_EQ(controls.Count(), 5);
}

TEST_F(CommandBarWrappersTest, Delete_ThenTypeFailsWithOfficesMessage) {
  const CommandBars bars(CreateCommandBars(10));
  const auto button = CommandBarButton(bars.Item("Standard").Controls().Add({.temporary = true}).Object());
  button.SetFaceId(59);
  const CommandBarPopup popup(bars.Item("Standard").Controls().Add({.type = ControlType::Popup}).Object());
  const auto child = popup.CommandBar().Controls().Add();
  EXPECT_EQ(button.Type(), ControlType::Button);

  button.Delete(true);
  popup.Delete();

  EXPECT_EQ(ErrorOf([&] { button.Type(); }),
            std::pair(E_FAIL, std::string("Method 'Type' of object '_CommandBarButton' failed")));
  EXPECT_EQ(ErrorOf([&] { button.FaceId(); }),
            std::pair(E_FAIL, std::string("Method 'FaceId' of object '_CommandBarButton' failed")));
  EXPECT_EQ(ErrorOf([&] { popup.Controls(); }).second, "Method 'Controls' of object 'CommandBarPopup' failed");
  // A popup's entries go with it.
  EXPECT_EQ(ErrorOf([&] { child.Type(); }).first, E_FAIL);
}

TEST_F(CommandBarWrappersTest, Item_ByPositionOrNameIgnoringCaseElseFails) {
  const CommandBars bars(CreateCommandBars(11));
  EXPECT_EQ(bars.Count(), 4);
  EXPECT_EQ(bars.Item(1).Name(), "Menu Bar");
  EXPECT_EQ(bars.Item("folder CONTEXT menu").Name(), "Folder Context Menu");
  EXPECT_EQ(bars.Item("Context Menu").NameLocal(), "Context Menu");
  EXPECT_EQ(ErrorOf([&] { bars.Item("ItemContextMenu"); }),
            std::pair(E_INVALIDARG, std::string("Invalid procedure call or argument")));
  EXPECT_EQ(ErrorOf([&] { bars.Item(5); }).first, E_INVALIDARG);
  EXPECT_EQ(ErrorOf([&] { bars.Item(0); }).first, E_INVALIDARG);
  // Built-in bars stay.
  EXPECT_EQ(ErrorOf([&] { bars.Item(2).Delete(); }).first, E_FAIL);
}

TEST_F(CommandBarWrappersTest, Properties_RoundTripThroughTheHost) {
  const CommandBars bars(CreateCommandBars(11));
  const CommandBar bar = bars.Item("Standard");
  const CommandBarButton button(bar.Controls().Add({.type = ControlType::Button}).Object());
  button.SetCaption("Z\xC3\xBCrich &Bounces");  // UTF-8 survives the trip through BSTRs
  button.SetTag("{8F1D}");
  button.SetBeginGroup(true);
  button.SetDescriptionText("d");
  button.SetTooltipText("tip");
  button.SetHelpFile("h.chm");
  button.SetHelpContextId(7);
  button.SetPriority(1);
  button.SetOnAction("!<QOR.AddIn>");
  button.SetStyle(3);
  button.SetState(-1);
  button.SetShortcutText("Ctrl+Q");
  button.SetWidth(button.Width() + 1);
  EXPECT_EQ(button.Caption(), "Z\xC3\xBCrich &Bounces");
  EXPECT_EQ(button.Tag(), "{8F1D}");
  EXPECT_TRUE(button.BeginGroup());
  EXPECT_EQ(button.DescriptionText(), "d");
  EXPECT_EQ(button.TooltipText(), "tip");
  EXPECT_EQ(button.HelpFile(), "h.chm");
  EXPECT_EQ(button.HelpContextId(), 7);
  EXPECT_EQ(button.Priority(), 1);
  EXPECT_EQ(button.OnAction(), "!<QOR.AddIn>");
  EXPECT_EQ(button.Style(), 3);
  EXPECT_EQ(button.State(), -1);
  EXPECT_EQ(button.ShortcutText(), "Ctrl+Q");
  EXPECT_EQ(button.Width(), 25);
  EXPECT_EQ(button.Picture(), nullptr);
  EXPECT_EQ(button.Parent().Name(), "Standard");

  bar.SetProtection(16);
  bar.SetPosition(4);
  bar.SetLeft(10);
  bar.SetTop(20);
  bar.SetRowIndex(3);
  bar.SetEnabled(false);
  bar.SetVisible(false);
  EXPECT_EQ(bar.Protection(), 16);
  EXPECT_EQ(bar.Position(), 4);
  EXPECT_EQ(bar.Left(), 10);
  EXPECT_EQ(bar.Top(), 20);
  EXPECT_EQ(bar.RowIndex(), 3);
  EXPECT_FALSE(bar.Enabled());
  EXPECT_FALSE(bar.Visible());
  EXPECT_TRUE(bar.BuiltIn());
  EXPECT_EQ(bars.Item("Context Menu").Type(), 2);  // msoBarTypePopup
}

TEST_F(CommandBarWrappersTest, Move_ReordersAndChangesParent) {
  const CommandBars bars(CreateCommandBars(11));
  const CommandBar standard = bars.Item("Standard");
  const auto button = standard.Controls().Add();
  button.SetTag("{m}");
  EXPECT_EQ(button.Index(), 4);
  EXPECT_EQ(button.Move(std::nullopt, 1).Index(), 1);
  EXPECT_EQ(standard.Controls().Item(2).Caption(), "&New");

  const CommandBarPopup popup(standard.Controls().Add({.type = ControlType::Popup}).Object());
  button.Move(popup.CommandBar(), std::nullopt);
  EXPECT_EQ(standard.FindControl({.tag = "{m}"}), std::nullopt);
  EXPECT_EQ(button.Parent().Object(), popup.CommandBar().Object());
  EXPECT_EQ(button.Index(), 1);
  // A popup cannot go into itself.
  EXPECT_EQ(ErrorOf([&] { popup.Move(popup.CommandBar(), std::nullopt); }).first, E_FAIL);
}

TEST_F(CommandBarWrappersTest, Restart_KeepsPersistentControlsAndBarsOnly) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const CommandBars bars(object);
  const auto controls = bars.Item("Context Menu").Controls();
  controls.Add({.temporary = true}).SetTag("{temporary}");
  controls.Add({.temporary = false}).SetTag("{persistent}");
  controls.Add().SetTag("{default}");  // Temporary left out: persistent, as in Office

  const CommandBar custom = bars.Add("QOR", 1, true);
  custom.Controls().Add().SetTag("{on custom}");
  EXPECT_FALSE(custom.BuiltIn());
  EXPECT_EQ(bars.Item("qor").Object(), custom.Object());
  EXPECT_EQ(ErrorOf([&] { bars.Add("Standard"); }).first, E_INVALIDARG);

  driver.RestartHost();

  EXPECT_EQ(ErrorOf([&] { bars.Item("QOR"); }).first, E_INVALIDARG);
  EXPECT_EQ(ErrorOf([&] { custom.Name(); }).first, E_FAIL);
  EXPECT_EQ(bars.FindControl({.tag = "{on custom}"}), std::nullopt);
  EXPECT_EQ(bars.FindControl({.tag = "{temporary}"}), std::nullopt);
  EXPECT_EQ(bars.FindControl({.tag = "{persistent}"})->Index(), 4);
  EXPECT_EQ(bars.FindControl({.tag = "{default}"})->Index(), 5);
}

TEST_F(CommandBarWrappersTest, NullObject_IsRefused) {
  EXPECT_EQ(ErrorOf([] { CommandBarControl(nullptr); }).first, E_POINTER);
  EXPECT_EQ(ErrorOf([] { CommandBars(nullptr); }).first, E_POINTER);
}

}  // namespace
}  // namespace qor::host::office
