#pragma once

// The names Office calls back by, as they appear in customUI documents, with the DISPIDs the
// add-in object answers for them.

#include <oaidl.h>

#include <optional>
#include <string_view>

namespace qor::framework {

inline constexpr DISPID kRibbonLoadedCallback = 10;
inline constexpr DISPID kOnActionCommonCallback = 50;

// Exact, case-sensitive lookup of a name already narrowed to 8 bits.
std::optional<DISPID> RibbonCallbackId(std::string_view name) noexcept;
bool IsRibbonCallbackId(DISPID id) noexcept;

}  // namespace qor::framework

namespace qor::framework {

// customUI namespaces: Office 2007's, and Office 2010's, which later versions require.
inline constexpr wchar_t kCustomUI2006[] = L"http://schemas.microsoft.com/office/2006/01/customui";
inline constexpr wchar_t kCustomUI2009[] = L"http://schemas.microsoft.com/office/2009/07/customui";

}  // namespace qor::framework
