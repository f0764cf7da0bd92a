#include "standin/office/command_bar_nodes.h"

#include <algorithm>

namespace qor::standin::office {

bool ControlCriteria::Matches(const ControlNode& control) const noexcept {
  if (type && control.type != *type) return false;
  if (id && control.id != *id) return false;
  if (tag && control.tag != *tag) return false;
  return !visibleOnly || control.visible;
}

ControlCriteria ControlCriteria::From(std::optional<int> type, std::optional<int> id, std::optional<std::string> tag,
                                      std::optional<bool> visible) {
  return {type ? std::optional(static_cast<ControlType>(*type)) : std::nullopt, id, std::move(tag),
          visible.value_or(false)};
}

std::shared_ptr<BarNode> MakeBar(std::string name, BarType type, bool builtIn) {
  auto bar = std::make_shared<BarNode>();
  bar->nameLocal = name;
  bar->name = std::move(name);
  bar->type = type;
  bar->builtIn = builtIn;
  bar->visible = type != BarType::Popup;
  return bar;
}

std::shared_ptr<ControlNode> AddControl(const std::shared_ptr<BarNode>& bar, ControlType type, int id,
                                        std::optional<int> before) {
  auto control = std::make_shared<ControlNode>();
  control->type = type;
  control->id = id;
  control->parent = bar;
  if (type == ControlType::Popup) {
    control->subBar = MakeBar({}, BarType::Popup, false);
    control->subBar->owner = control;
  }
  const auto at = before ? bar->controls.begin() + (*before - 1) : bar->controls.end();
  bar->controls.insert(at, control);
  return control;
}

int IndexOf(const ControlNode& control) noexcept {
  const auto bar = control.parent.lock();
  if (control.deleted || !bar) return 0;
  const auto found = std::find_if(bar->controls.begin(), bar->controls.end(),
                                  [&](const auto& each) { return each.get() == &control; });
  return found == bar->controls.end() ? 0 : static_cast<int>(found - bar->controls.begin()) + 1;
}

void MarkBarDeleted(BarNode& bar) {
  bar.deleted = true;
  for (const auto& control : bar.controls) {
    control->deleted = true;
    if (control->subBar) MarkBarDeleted(*control->subBar);
  }
}

void RemoveControl(ControlNode& control) {
  if (const auto bar = control.parent.lock()) {
    std::erase_if(bar->controls, [&](const auto& each) { return each.get() == &control; });
  }
  control.deleted = true;
  if (control.subBar) MarkBarDeleted(*control.subBar);
}

bool IsInside(const BarNode& bar, const ControlNode& control) noexcept {
  for (auto owner = bar.owner.lock(); owner; ) {
    if (owner.get() == &control) return true;
    const auto ownerBar = owner->parent.lock();
    owner = ownerBar ? ownerBar->owner.lock() : nullptr;
  }
  return false;
}

std::shared_ptr<ControlNode> FindControl(const BarNode& bar, const ControlCriteria& criteria, bool recursive) {
  for (const auto& control : bar.controls) {
    if (criteria.Matches(*control)) return control;
    if (recursive && control->subBar) {
      if (auto found = FindControl(*control->subBar, criteria, true)) return found;
    }
  }
  return nullptr;
}

void FindControls(const BarNode& bar, const ControlCriteria& criteria, std::vector<std::shared_ptr<ControlNode>>& found) {
  for (const auto& control : bar.controls) {
    if (criteria.Matches(*control)) found.push_back(control);
    if (control->subBar) FindControls(*control->subBar, criteria, found);
  }
}

void DropTemporaryControls(BarNode& bar) {
  // Copied first: RemoveControl edits the list being walked.
  const auto controls = bar.controls;
  for (const auto& control : controls) {
    if (control->temporary)
      RemoveControl(*control);
    else if (control->subBar)
      DropTemporaryControls(*control->subBar);
  }
}

}  // namespace qor::standin::office
