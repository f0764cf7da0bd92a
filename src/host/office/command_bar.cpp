#include "host/office/command_bar.h"

#include "com/com_error.h"

namespace qor::host::office {

com::ComPtr<IDispatch> RequiredObject(const com::Variant& value) {
  auto object = OptionalObject(value);
  if (!object) throw com::ComError(E_POINTER, "The host returned Nothing");
  return std::move(*object);
}

std::optional<com::ComPtr<IDispatch>> OptionalObject(const com::Variant& value) {
  if (value.IsEmpty() || value.IsNull()) return std::nullopt;
  auto object = value.ToDispatch();
  if (!object) return std::nullopt;
  return object;
}

CommandBarControls::CommandBarControls(com::ComPtr<IDispatch> object) : dispatch_(RequiredObject(object)) {}

int CommandBarControls::Count() const { return dispatch_.Get("Count").ToInt(); }

CommandBarControl CommandBarControls::Item(int index) const {
  return CommandBarControl(RequiredObject(dispatch_.Get("Item", index)));
}

CommandBarControl CommandBarControls::Add(const AddControlArgs& args) const {
  return CommandBarControl(RequiredObject(dispatch_.Call("Add", ArgOrMissing(args.type), ArgOrMissing(args.id),
                                                         ArgOrMissing(args.parameter), ArgOrMissing(args.before),
                                                         ArgOrMissing(args.temporary))));
}

CommandBar::CommandBar(com::ComPtr<IDispatch> object) : dispatch_(RequiredObject(object)) {}

std::string CommandBar::Name() const { return dispatch_.Get("Name").ToUtf8(); }
std::string CommandBar::NameLocal() const { return dispatch_.Get("NameLocal").ToUtf8(); }
bool CommandBar::BuiltIn() const { return dispatch_.Get("BuiltIn").ToBool(); }
CommandBarControls CommandBar::Controls() const { return CommandBarControls(RequiredObject(dispatch_.Get("Controls"))); }

std::optional<CommandBarControl> CommandBar::FindControl(const FindControlArgs& args, bool recursive) const {
  const auto found = OptionalObject(dispatch_.Call("FindControl", ArgOrMissing(args.type), ArgOrMissing(args.id),
                                                   ArgOrMissing(args.tag), ArgOrMissing(args.visible), recursive));
  if (!found) return std::nullopt;
  return CommandBarControl(*found);
}

int CommandBar::Protection() const { return dispatch_.Get("Protection").ToInt(); }
void CommandBar::SetProtection(int protection) const { dispatch_.Put("Protection", protection); }
int CommandBar::Position() const { return dispatch_.Get("Position").ToInt(); }
void CommandBar::SetPosition(int position) const { dispatch_.Put("Position", position); }
int CommandBar::Left() const { return dispatch_.Get("Left").ToInt(); }
void CommandBar::SetLeft(int left) const { dispatch_.Put("Left", left); }
int CommandBar::Top() const { return dispatch_.Get("Top").ToInt(); }
void CommandBar::SetTop(int top) const { dispatch_.Put("Top", top); }
int CommandBar::RowIndex() const { return dispatch_.Get("RowIndex").ToInt(); }
void CommandBar::SetRowIndex(int rowIndex) const { dispatch_.Put("RowIndex", rowIndex); }
bool CommandBar::Enabled() const { return dispatch_.Get("Enabled").ToBool(); }
void CommandBar::SetEnabled(bool enabled) const { dispatch_.Put("Enabled", enabled); }
bool CommandBar::Visible() const { return dispatch_.Get("Visible").ToBool(); }
void CommandBar::SetVisible(bool visible) const { dispatch_.Put("Visible", visible); }
int CommandBar::Type() const { return dispatch_.Get("Type").ToInt(); }
void CommandBar::Delete() const { dispatch_.Call("Delete"); }

CommandBar CommandBarPopup::CommandBar() const { return office::CommandBar(RequiredObject(Late().Get("CommandBar"))); }

CommandBarControls CommandBarPopup::Controls() const {
  return CommandBarControls(RequiredObject(Late().Get("Controls")));
}

}  // namespace qor::host::office
