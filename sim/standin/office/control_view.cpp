#include "standin/office/control_view.h"

#include "com/com_error.h"
#include "standin/office/office_errors.h"

#include <windows.h>

#include <algorithm>

namespace qor::standin::office {
namespace {

bool IsComboKind(ControlType type) noexcept {
  return type == ControlType::Edit || type == ControlType::DropDown || type == ControlType::ComboBox;
}

}  // namespace

ControlView::ControlView(std::shared_ptr<Model> model, std::shared_ptr<ControlNode> node)
    : model_(std::move(model)), node_(std::move(node)) {
  if (node_->type == ControlType::Button) AddConnectionPoint(__uuidof(host::office::DCommandBarButtonEvents));
  if (IsComboKind(node_->type)) AddConnectionPoint(__uuidof(host::office::DCommandBarComboBoxEvents));
  model_->Register(*this);
}

ControlView::~ControlView() { model_->Forget(this); }

bool ControlView::ExtraInterface(REFIID iid) const noexcept {
  switch (node_->type) {
    case ControlType::Button: return iid == __uuidof(host::office::ICommandBarButton);
    case ControlType::Popup: return iid == __uuidof(host::office::ICommandBarPopup);
    default: return IsComboKind(node_->type) && iid == __uuidof(host::office::ICommandBarComboBox);
  }
}

std::string_view ControlView::ObjectName() const noexcept {
  switch (node_->type) {
    case ControlType::Button: return "_CommandBarButton";
    case ControlType::Popup: return "CommandBarPopup";
    default: return IsComboKind(node_->type) ? "_CommandBarComboBox" : "CommandBarControl";
  }
}

ControlNode& ControlView::Alive(std::string_view member) const {
  if (disconnected_) throw com::ComError(RPC_E_DISCONNECTED, "The object invoked has disconnected from its clients.");
  if (node_->deleted) ThrowMethodFailed(member, ObjectName());
  return *node_;
}

int ControlView::Index() const {
  Alive("Index");
  return IndexOf(*node_);
}

ControlType ControlView::Type() const { return Alive("Type").type; }

com::ComPtr<IDispatch> ControlView::Parent() const {
  const auto bar = Alive("Parent").parent.lock();
  if (!bar) ThrowMethodFailed("Parent", ObjectName());
  return model_->BarObject(bar);
}

com::ComPtr<IDispatch> ControlView::Move(std::optional<com::ComPtr<IDispatch>> bar, std::optional<int> before) {
  ControlNode& node = Alive("Move");
  std::shared_ptr<BarNode> target = node.parent.lock();
  if (bar && *bar) {
    const auto view = bar->TryAs<IStandinView>();
    target = view && &view->StandinModel() == model_.get() ? view->StandinBar() : nullptr;
  }
  if (!target || target->deleted || IsInside(*target, node)) ThrowMethodFailed("Move", ObjectName());
  const int count = static_cast<int>(target->controls.size());
  if (before && (*before < 1 || *before > count + 1)) ThrowInvalidArgument();

  // Before names the control the moved one ends up in front of, as the bar stood before the move.
  const std::shared_ptr<ControlNode> anchor = before && *before <= count ? target->controls[*before - 1] : nullptr;
  if (anchor == node_) return model_->ControlObject(node_);
  if (const auto source = node.parent.lock()) std::erase(source->controls, node_);
  const auto at = anchor ? std::find(target->controls.begin(), target->controls.end(), anchor) : target->controls.end();
  target->controls.insert(at, node_);
  node.parent = target;
  return model_->ControlObject(node_);
}

void ControlView::Delete(std::optional<bool>) {
  Alive("Delete");
  RemoveControl(*node_);
}

void ControlView::PasteFace() {
  ControlNode& node = Alive("PasteFace");
  if (!IsClipboardFormatAvailable(CF_BITMAP)) ThrowMethodFailed("PasteFace", ObjectName());
  node.pastedFace = true;
}

com::ComPtr<IDispatch> ControlView::SubBar() const { return model_->BarObject(Alive("CommandBar").subBar); }

com::ComPtr<IDispatch> ControlView::SubControls() const { return model_->ControlsObject(Alive("Controls").subBar); }

void ControlView::AddItem(std::string text, std::optional<int> index) {
  ControlNode& node = Alive("AddItem");
  const int count = static_cast<int>(node.items.size());
  if (index && (*index < 1 || *index > count + 1)) ThrowInvalidArgument();
  node.items.insert(index ? node.items.begin() + (*index - 1) : node.items.end(), std::move(text));
}

void ControlView::RemoveItem(int index) {
  ControlNode& node = Alive("RemoveItem");
  if (index < 1 || index > static_cast<int>(node.items.size())) ThrowInvalidArgument();
  node.items.erase(node.items.begin() + (index - 1));
}

std::string ControlView::ListItem(int index) const {
  const ControlNode& node = Alive("List");
  if (index < 1 || index > static_cast<int>(node.items.size())) ThrowInvalidArgument();
  return node.items[index - 1];
}

}  // namespace qor::standin::office
