#pragma once

// The optional arguments of FindControl and Controls.Add; what is left empty is passed as
// Automation's missing value, so Office applies its own default.

#include "com/variant.h"
#include "host/office/control_type.h"

#include <optional>
#include <string>

namespace qor::host::office {

struct FindControlArgs {
  std::optional<ControlType> type = std::nullopt;
  std::optional<int> id = std::nullopt;
  std::optional<std::string> tag = std::nullopt;
  std::optional<bool> visible = std::nullopt;  // true: visible controls only
};

struct AddControlArgs {
  std::optional<ControlType> type = std::nullopt;
  std::optional<int> id = std::nullopt;
  std::optional<std::string> parameter = std::nullopt;
  std::optional<int> before = std::nullopt;  // 1-based position the new control takes
  std::optional<bool> temporary = std::nullopt;
};

template <class T>
com::Variant ArgOrMissing(const std::optional<T>& value) {
  if (!value) return com::VariantOptional();
  if constexpr (std::is_same_v<T, ControlType>)
    return com::Variant(static_cast<int>(*value));
  else
    return com::Variant(*value);
}

}  // namespace qor::host::office
