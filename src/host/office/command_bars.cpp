#include "host/office/command_bars.h"

namespace qor::host::office {

CommandBars::CommandBars(com::ComPtr<IDispatch> object) : dispatch_(RequiredObject(object)) {}

int CommandBars::Count() const { return dispatch_.Get("Count").ToInt(); }

CommandBar CommandBars::Item(int index) const { return CommandBar(RequiredObject(dispatch_.Get("Item", index))); }

CommandBar CommandBars::Item(std::string_view name) const {
  return CommandBar(RequiredObject(dispatch_.Get("Item", name)));
}

std::optional<CommandBarControl> CommandBars::FindControl(const FindControlArgs& args) const {
  const auto found = OptionalObject(dispatch_.Call("FindControl", ArgOrMissing(args.type), ArgOrMissing(args.id),
                                                   ArgOrMissing(args.tag), ArgOrMissing(args.visible)));
  if (!found) return std::nullopt;
  return CommandBarControl(*found);
}

CommandBar CommandBars::Add(std::string_view name, std::optional<int> position, std::optional<bool> temporary) const {
  return CommandBar(RequiredObject(
      dispatch_.Call("Add", name, ArgOrMissing(position), com::VariantOptional(), ArgOrMissing(temporary))));
}

}  // namespace qor::host::office
