#include "standin/office/bar_view.h"

#include "standin/office/office_errors.h"

#include <string>

namespace qor::standin::office {
namespace {

template <class T>
void Field(com::DispatchTable<CommandBarView>& table, std::string_view name, T BarNode::*field) {
  const std::string member(name);
  table.Property(
      name, [member, field](CommandBarView& self) -> T { return self.Alive(member).*field; },
      [member, field](CommandBarView& self, T value) { self.Alive(member).*field = std::move(value); });
}

com::DispatchTable<CommandBarView> BarMembers() {
  com::DispatchTable<CommandBarView> table;
  Field(table, "Name", &BarNode::name);
  Field(table, "NameLocal", &BarNode::nameLocal);
  Field(table, "Protection", &BarNode::protection);
  Field(table, "Position", &BarNode::position);
  Field(table, "Left", &BarNode::left);
  Field(table, "Top", &BarNode::top);
  Field(table, "RowIndex", &BarNode::rowIndex);
  Field(table, "Enabled", &BarNode::enabled);
  Field(table, "Visible", &BarNode::visible);
  Field(table, "Width", &BarNode::width);
  Field(table, "Height", &BarNode::height);
  table.Property("BuiltIn", [](CommandBarView& self) { return self.Alive("BuiltIn").builtIn; })
      .Property("Type", [](CommandBarView& self) { return static_cast<int>(self.Alive("Type").type); })
      .Property("Controls", &CommandBarView::Controls)
      .Method("FindControl", &CommandBarView::FindControl)
      .Method("Delete", &CommandBarView::Delete);
  return table;
}

}  // namespace

ControlType CheckedControlType(int code) {
  switch (static_cast<ControlType>(code)) {
    case ControlType::Button:
    case ControlType::Edit:
    case ControlType::DropDown:
    case ControlType::ComboBox:
    case ControlType::Popup: return static_cast<ControlType>(code);
  }
  ThrowInvalidArgument();
}

CommandBarView::CommandBarView(std::shared_ptr<Model> model, std::shared_ptr<BarNode> node)
    : model_(std::move(model)), node_(std::move(node)) {}

CommandBarView::~CommandBarView() { model_->Forget(this); }

const com::DispatchTable<CommandBarView>& CommandBarView::DispatchMembers() {
  static const auto table = BarMembers();
  return table;
}

BarNode& CommandBarView::Alive(std::string_view member) const {
  if (node_->deleted) ThrowMethodFailed(member, "CommandBar");
  return *node_;
}

com::ComPtr<IDispatch> CommandBarView::Controls() const {
  Alive("Controls");
  return model_->ControlsObject(node_);
}

com::ComPtr<IDispatch> CommandBarView::FindControl(std::optional<int> type, std::optional<int> id,
                                                   std::optional<std::string> tag, std::optional<bool> visible,
                                                   std::optional<bool> recursive) const {
  const auto criteria = ControlCriteria::From(type, id, std::move(tag), visible);
  const auto found = office::FindControl(Alive("FindControl"), criteria, recursive.value_or(false));
  return found ? model_->ControlObject(found) : nullptr;
}

void CommandBarView::Delete() {
  BarNode& bar = Alive("Delete");
  if (bar.builtIn || !bar.owner.expired()) ThrowMethodFailed("Delete", "CommandBar");
  std::erase(model_->bars, node_);
  MarkBarDeleted(bar);
}

ControlsView::ControlsView(std::shared_ptr<Model> model, std::shared_ptr<BarNode> node)
    : model_(std::move(model)), node_(std::move(node)) {}

ControlsView::~ControlsView() { model_->Forget(this); }

const com::DispatchTable<ControlsView>& ControlsView::DispatchMembers() {
  static const auto table = com::DispatchTable<ControlsView>()
                                .Property("Item", DISPID_VALUE, &ControlsView::Item)
                                .Property("Count", &ControlsView::Count)
                                .Method("Add", &ControlsView::Add);
  return table;
}

BarNode& ControlsView::Alive(std::string_view member) const {
  if (node_->deleted) ThrowMethodFailed(member, "CommandBarControls");
  return *node_;
}

int ControlsView::Count() const { return static_cast<int>(Alive("Count").controls.size()); }

com::ComPtr<IDispatch> ControlsView::Item(const com::Variant& index) const {
  const BarNode& bar = Alive("Item");
  if (index.Type() == VT_BSTR) {
    const std::string caption = index.ToUtf8();
    for (const auto& control : bar.controls)
      if (control->caption == caption) return model_->ControlObject(control);
    ThrowInvalidArgument();
  }
  const int position = index.ToInt();
  if (position < 1 || position > static_cast<int>(bar.controls.size())) ThrowInvalidArgument();
  return model_->ControlObject(bar.controls[position - 1]);
}

com::ComPtr<IDispatch> ControlsView::Add(std::optional<int> type, std::optional<int> id,
                                         std::optional<com::Variant> parameter, std::optional<int> before,
                                         std::optional<bool> temporary) {
  const BarNode& bar = Alive("Add");
  const ControlType checkedType = CheckedControlType(type.value_or(static_cast<int>(ControlType::Button)));
  if (before && (*before < 1 || *before > static_cast<int>(bar.controls.size()) + 1)) ThrowInvalidArgument();
  const auto control = AddControl(node_, checkedType, id.value_or(1), before);
  if (parameter) control->parameter = parameter->ToUtf8();
  control->temporary = temporary.value_or(false);
  control->builtIn = control->id != 1;
  return model_->NewControlObject(control);
}

}  // namespace qor::standin::office
