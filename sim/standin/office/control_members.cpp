#include "standin/office/control_view.h"

#include <string>

namespace qor::standin::office {
namespace {

using Table = com::DispatchTable<ControlView>;

// A property kept in the node, readable and writable while the control exists.
template <class T>
void Field(Table& table, std::string_view name, T ControlNode::*field) {
  const std::string member(name);
  table.Property(
      name, [member, field](ControlView& self) -> T { return self.Alive(member).*field; },
      [member, field](ControlView& self, T value) { self.Alive(member).*field = std::move(value); });
}

Table CommonMembers() {
  Table table;
  Field(table, "Tag", &ControlNode::tag);
  Field(table, "Caption", &ControlNode::caption);
  Field(table, "BeginGroup", &ControlNode::beginGroup);
  Field(table, "DescriptionText", &ControlNode::descriptionText);
  Field(table, "Enabled", &ControlNode::enabled);
  Field(table, "Visible", &ControlNode::visible);
  Field(table, "Height", &ControlNode::height);
  Field(table, "Width", &ControlNode::width);
  Field(table, "HelpContextId", &ControlNode::helpContextId);
  Field(table, "HelpFile", &ControlNode::helpFile);
  Field(table, "Parameter", &ControlNode::parameter);
  Field(table, "Priority", &ControlNode::priority);
  Field(table, "TooltipText", &ControlNode::tooltipText);
  Field(table, "OnAction", &ControlNode::onAction);
  table.Property("Id", [](ControlView& self) { return self.Alive("Id").id; })
      .Property("BuiltIn", [](ControlView& self) { return self.Alive("BuiltIn").builtIn; })
      .Property("Index", &ControlView::Index)
      .Property("Type", [](ControlView& self) { return static_cast<int>(self.Type()); })
      .Property("Parent", &ControlView::Parent)
      .Method("Move", &ControlView::Move)
      .Method("Delete", &ControlView::Delete);
  return table;
}

Table ButtonMembers() {
  Table table = CommonMembers();
  Field(table, "FaceId", &ControlNode::faceId);
  Field(table, "ShortcutText", &ControlNode::shortcutText);
  Field(table, "State", &ControlNode::state);
  Field(table, "Style", &ControlNode::style);
  Field(table, "HyperlinkType", &ControlNode::hyperlinkType);
  Field(table, "Picture", &ControlNode::picture);
  Field(table, "Mask", &ControlNode::mask);
  table.Method("PasteFace", &ControlView::PasteFace);
  return table;
}

Table ComboBoxMembers() {
  Table table = CommonMembers();
  Field(table, "Text", &ControlNode::text);
  Field(table, "ListIndex", &ControlNode::listIndex);
  Field(table, "DropDownLines", &ControlNode::dropDownLines);
  Field(table, "DropDownWidth", &ControlNode::dropDownWidth);
  Field(table, "ListHeaderCount", &ControlNode::listHeaderCount);
  Field(table, "Style", &ControlNode::comboStyle);
  table.Method("AddItem", &ControlView::AddItem)
      .Method("RemoveItem", &ControlView::RemoveItem)
      .Method("Clear", [](ControlView& self) { self.Alive("Clear").items.clear(); })
      .Property("ListCount", [](ControlView& self) { return static_cast<int>(self.Alive("ListCount").items.size()); })
      .Property("List", &ControlView::ListItem);
  return table;
}

Table PopupMembers() {
  Table table = CommonMembers();
  table.Property("CommandBar", &ControlView::SubBar).Property("Controls", &ControlView::SubControls);
  return table;
}

}  // namespace

const com::DispatchTable<ControlView>& ControlView::DispatchMembers() const {
  static const Table common = CommonMembers();
  static const Table button = ButtonMembers();
  static const Table comboBox = ComboBoxMembers();
  static const Table popup = PopupMembers();
  switch (node_->type) {
    case ControlType::Button: return button;
    case ControlType::Popup: return popup;
    case ControlType::Edit:
    case ControlType::DropDown:
    case ControlType::ComboBox: return comboBox;
  }
  return common;
}

}  // namespace qor::standin::office
