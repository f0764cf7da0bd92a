#include "framework/ribbon_callbacks.h"

#include <array>
#include <utility>

namespace qor::framework {

namespace {

constexpr std::array<std::pair<DISPID, std::string_view>, 40> kCallbacks = {{
    {10, "RibbonLoaded_Callback"},
    {11, "GetImages_Callback"},
    {12, "GetVisible_Callback"},
    {13, "GetKeyTip_Callback"},
    {14, "GetLabel_Callback"},
    {15, "GetEnabled_Callback"},
    {16, "GetPressed_Callback"},
    {17, "GetImage_Callback"},
    {19, "GetSuperTip_Callback"},
    {20, "GetScreenTip_Callback"},
    {21, "GetSize_Callback"},
    {22, "GetShowLabel_Callback"},
    {23, "GetShowImage_Callback"},
    {24, "GetDescription_Callback"},
    {25, "GetText_Callback"},
    {26, "GetItemCount_Callback"},
    {27, "GetItemID_Callback"},
    {28, "GetItemImage_Callback"},
    {29, "GetItemLabel_Callback"},
    {30, "GetItemScreenTip_Callback"},
    {31, "GetItemSuperTip_Callback"},
    {32, "GetShowItemImage_Callback"},
    {33, "GetSelectedItemIndex_Callback"},
    {34, "GetSelectedItemId_Callback"},
    {35, "GetItemHeight_Callback"},
    {36, "GetItemWidth_Callback"},
    {37, "GetContent_Callback"},
    {38, "GetTitle_Callback"},
    {50, "OnActionCommon_Callback"},
    {51, "OnActionCommonRepurposed_Callback"},
    {52, "OnActionState_Callback"},
    {53, "OnActionStateRepurposed_Callback"},
    {54, "OnActionSelected_Callback"},
    {55, "OnChange_Callback"},
    {60, "OnBackstageShow_Callback"},
    {61, "OnBackstageHide_Callback"},
    {62, "GetTarget_Callback"},
    {63, "GetAltText_Callback"},
    {64, "GetHelperText_Callback"},
    {65, "GetStyle_Callback"},
}};

}  // namespace

std::optional<DISPID> RibbonCallbackId(std::string_view name) noexcept {
  for (const auto& [id, callback] : kCallbacks)
    if (callback == name) return id;
  return std::nullopt;
}

bool IsRibbonCallbackId(DISPID id) noexcept {
  for (const auto& entry : kCallbacks)
    if (entry.first == id) return true;
  return false;
}

}  // namespace qor::framework
