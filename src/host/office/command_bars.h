#pragma once

// A typed late-bound view of a window's _CommandBars collection.

#include "com/com_ptr.h"
#include "com/dispatch_call.h"
#include "host/office/command_bar.h"
#include "host/office/control_args.h"

#include <oaidl.h>

#include <optional>
#include <string_view>

namespace qor::host::office {

class CommandBars {
 public:
  explicit CommandBars(com::ComPtr<IDispatch> object);

  const com::ComPtr<IDispatch>& Object() const noexcept { return dispatch_.Object(); }

  int Count() const;
  CommandBar Item(int index) const;  // 1-based
  // Fails, with Office's message, when no bar has that name.
  CommandBar Item(std::string_view name) const;
  // The first match on any bar, popups included.
  std::optional<CommandBarControl> FindControl(const FindControlArgs& args) const;
  // A new custom bar; `position` is an MsoBarPosition. Fails when the name is taken.
  CommandBar Add(std::string_view name, std::optional<int> position = std::nullopt,
                 std::optional<bool> temporary = std::nullopt) const;

 private:
  mutable com::Dispatch dispatch_;
};

}  // namespace qor::host::office
