#include "com/com_test_support.h"
#include "com/dispatch_call.h"
#include "com/dispatch_impl.h"
#include "com/utf.h"
#include "host/office/command_bars.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/command_bars_standin.h"

#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qor::standin::office {
namespace {

using com::testing::ComTest;
using com::testing::Junk;
using host::office::CommandBarControl;
using host::office::CommandBarPopup;
using host::office::CommandBars;
using host::office::ControlType;
namespace ids = host::office;

class CommandBarObjectsTest : public ComTest {};

class Foreign final : public com::ComObject<Foreign, com::DispatchImpl<Foreign>> {
 public:
  static const com::DispatchTable<Foreign>& DispatchMembers() {
    static const com::DispatchTable<Foreign> table;
    return table;
  }
};

bool Answers(IDispatch& object, const IID& iid) {
  void* answer = Junk<void>();
  const HRESULT hr = object.QueryInterface(iid, &answer);
  if (FAILED(hr)) {
    EXPECT_EQ(answer, nullptr);
    return false;
  }
  static_cast<IUnknown*>(answer)->Release();
  return true;
}

std::vector<std::string> BarNames(IDispatch& object) {
  std::vector<std::string> names;
  for (const BarState& bar : CommandBarsDriver(object).Bars()) names.push_back(bar.name);
  return names;
}

TEST_F(CommandBarObjectsTest, QueryInterface_AnswersOfficeIidsByKind) {
  auto object = CreateCommandBars(11);
  const CommandBars bars(object);
  const auto controls = bars.Item(2).Controls();
  const auto button = controls.Add({.type = ControlType::Button});
  const auto popup = controls.Add({.type = ControlType::Popup});
  const auto combo = controls.Add({.type = ControlType::DropDown});

  EXPECT_TRUE(Answers(*object, __uuidof(ids::ICommandBars)));
  EXPECT_TRUE(Answers(*object, __uuidof(IDispatch)));
  EXPECT_TRUE(Answers(*object, __uuidof(IConnectionPointContainer)));
  EXPECT_FALSE(Answers(*object, __uuidof(ids::ICommandBar)));
  EXPECT_TRUE(Answers(*bars.Item(1).Object(), __uuidof(ids::ICommandBar)));
  EXPECT_FALSE(Answers(*bars.Item(1).Object(), __uuidof(ids::ICommandBarControl)));
  EXPECT_TRUE(Answers(*controls.Object(), __uuidof(ids::ICommandBarControls)));

  for (const auto* control : {&button, &popup, &combo}) {
    EXPECT_TRUE(Answers(*control->Object(), __uuidof(ids::ICommandBarControl)));
    EXPECT_TRUE(Answers(*control->Object(), __uuidof(IDispatch)));
  }
  EXPECT_TRUE(Answers(*button.Object(), __uuidof(ids::ICommandBarButton)));
  EXPECT_FALSE(Answers(*button.Object(), __uuidof(ids::ICommandBarPopup)));
  EXPECT_FALSE(Answers(*button.Object(), __uuidof(ids::ICommandBarComboBox)));
  EXPECT_TRUE(Answers(*popup.Object(), __uuidof(ids::ICommandBarPopup)));
  EXPECT_FALSE(Answers(*popup.Object(), __uuidof(ids::ICommandBarButton)));
  EXPECT_TRUE(Answers(*combo.Object(), __uuidof(ids::ICommandBarComboBox)));
  EXPECT_FALSE(Answers(*combo.Object(), __uuidof(ids::ICommandBarButton)));

  // Every interface of one object gives the same identity.
  com::ComPtr<IUnknown> viaButton, viaControl;
  ASSERT_EQ(button.Object()->QueryInterface(__uuidof(ids::ICommandBarButton), viaButton.PutVoid()), S_OK);
  ASSERT_EQ(viaButton->QueryInterface(__uuidof(IUnknown), viaControl.PutVoid()), S_OK);
  EXPECT_EQ(viaControl, button.Object().As<IUnknown>());
}

TEST_F(CommandBarObjectsTest, FreshObjects_EachLookUpGivesANewObjectForTheSameControl) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const CommandBars bars(object);
  const auto added = bars.Item("Standard").Controls().Add({.type = ControlType::Button, .before = 1});
  added.SetTag("{t}");

  // Normally one control keeps one object.
  EXPECT_EQ(bars.FindControl({.tag = "{t}"})->Object(), added.Object());
  EXPECT_EQ(bars.Item("Standard").Controls().Item(1).Object(), added.Object());
  EXPECT_EQ(bars.Item("Standard").Object(), bars.Item(2).Object());

  driver.SetFreshObjects(true);
  const auto found = bars.FindControl({.tag = "{t}"});
  const auto item = bars.Item("Standard").Controls().Item(1);
  const auto inBar = bars.Item("Standard").FindControl({.tag = "{t}"});
  EXPECT_NE(found->Object(), added.Object());
  EXPECT_NE(item.Object(), found->Object());
  EXPECT_NE(inBar->Object(), item.Object());
  EXPECT_NE(bars.Item("Standard").Object(), bars.Item("Standard").Object());
  // Different objects, one control.
  item.SetCaption("&Shared");
  EXPECT_EQ(found->Caption(), "&Shared");
  EXPECT_EQ(added.Caption(), "&Shared");

  driver.SetFreshObjects(false);
  EXPECT_EQ(bars.FindControl({.tag = "{t}"})->Object(), added.Object());
}

TEST_F(CommandBarObjectsTest, DeletedControl_EveryObjectFailsWithOfficesMessage) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const CommandBars bars(object);
  const auto button = bars.Item("Standard").Controls().Add({.type = ControlType::Button});
  button.SetTag("{t}");
  driver.SetFreshObjects(true);
  const auto other = bars.FindControl({.tag = "{t}"});
  ASSERT_TRUE(other);
  button.Delete(true);

  com::Dispatch late(other->Object());
  const DISPID typeId = late.IdOf("Type");
  DISPPARAMS none{};
  VARIANT result = com::testing::JunkVariant();
  EXCEPINFO info{};
  UINT argError = 0;
  ASSERT_EQ(other->Object()->Invoke(typeId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, &info, &argError),
            DISP_E_EXCEPTION);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(info.scode, E_FAIL);
  EXPECT_EQ(com::ToUtf8(info.bstrDescription), "Method 'Type' of object '_CommandBarButton' failed");
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrSource);

  EXPECT_THROW(other->Caption(), com::ComError);
  EXPECT_THROW(button.SetCaption("x"), com::ComError);
  EXPECT_THROW(button.Delete(), com::ComError);
  EXPECT_EQ(bars.FindControl({.tag = "{t}"}), std::nullopt);
  EXPECT_EQ(bars.Item("Standard").Controls().Count(), 3);
}

TEST_F(CommandBarObjectsTest, Bars_ContextMenusExistOnlyBeforeOutlook2007) {
  const std::vector<std::string> plain{"Menu Bar", "Standard"};
  const std::vector<std::string> folderMenu{"Menu Bar", "Standard", "Folder Context Menu"};
  const std::vector<std::string> withMenus{"Menu Bar", "Standard", "Folder Context Menu", "Context Menu"};
  for (const int version : {9, 10, 11, 12, 14}) {
    auto object = CreateCommandBars(version);
    EXPECT_EQ(BarNames(*object), version == 9 ? folderMenu : version <= 11 ? withMenus : plain) << version;
    EXPECT_EQ(CommandBars(object).Count(), static_cast<int>(BarNames(*object).size()));
  }
}

TEST_F(CommandBarObjectsTest, RestartHost_DropsTemporaryControlsAndKeepsOthers) {
  auto object = CreateCommandBars(11);
  CommandBarsDriver driver(*object);
  const CommandBars bars(object);
  const auto menu = bars.Item("Folder Context Menu").Controls();
  const CommandBarPopup popup(menu.Add({.type = ControlType::Popup, .before = 1, .temporary = true}).Object());
  popup.SetCaption("&QOR");
  popup.SetTag("{popup}");
  const auto child = popup.Controls().Add({.type = ControlType::Button});
  child.SetCaption("&Scan");
  child.SetTag("{scan}");
  const auto kept = menu.Add({.type = ControlType::Button, .temporary = false});
  kept.SetCaption("Kept");
  bars.Item("Standard").Controls().Add({.type = ControlType::Button, .temporary = true}).SetTag("{gone}");

  const BarState before = driver.Bar("Folder Context Menu");
  ASSERT_EQ(before.controls.size(), 6u);
  EXPECT_EQ(before.controls[0].caption, "&QOR");
  EXPECT_EQ(before.controls[0].type, ControlType::Popup);
  EXPECT_TRUE(before.controls[0].temporary);
  ASSERT_EQ(before.controls[0].controls.size(), 1u);
  EXPECT_EQ(before.controls[0].controls[0].tag, "{scan}");
  EXPECT_FALSE(before.controls[0].controls[0].temporary);

  driver.RestartHost();

  const BarState after = driver.Bar("Folder Context Menu");
  ASSERT_EQ(after.controls.size(), 5u);
  EXPECT_EQ(after.controls[0].caption, "&Open");
  EXPECT_EQ(after.controls[4].caption, "Kept");
  EXPECT_EQ(bars.FindControl({.tag = "{scan}"}), std::nullopt);  // gone with its popup
  EXPECT_EQ(bars.FindControl({.tag = "{gone}"}), std::nullopt);
  EXPECT_THROW(child.Type(), com::ComError);
  EXPECT_EQ(kept.Index(), 5);
  EXPECT_THROW(driver.Bar("No Such Bar"), std::invalid_argument);
}

TEST_F(CommandBarObjectsTest, ContextMenuBar_StandsAloneAndTakesClicks) {
  auto bar = CreateContextMenuBar("Context Menu");
  const host::office::CommandBar menu(bar);
  EXPECT_EQ(menu.Name(), "Context Menu");
  EXPECT_TRUE(menu.BuiltIn());
  const auto button = menu.Controls().Add({.type = ControlType::Button, .temporary = true});
  button.SetTag("{t}");
  CommandBarsDriver driver(*bar);
  EXPECT_EQ(driver.Click("{t}").sinksCalled, 0u);
  EXPECT_EQ(driver.Bars().size(), 1u);
  // Only the stand-in's own objects can be driven.
  EXPECT_THROW(CommandBarsDriver(*com::Make<Foreign>()), std::invalid_argument);
}

}  // namespace
}  // namespace qor::standin::office
