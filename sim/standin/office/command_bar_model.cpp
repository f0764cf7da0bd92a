#include "standin/office/command_bar_model.h"

#include "standin/office/bar_view.h"
#include "standin/office/command_bars_view.h"
#include "standin/office/control_view.h"

#include <algorithm>

namespace qor::standin::office {

template <class View, class Node>
com::ComPtr<IDispatch> Model::LookUp(Kind kind, const std::shared_ptr<Node>& node) {
  const auto found = std::find_if(canonical_.begin(), canonical_.end(),
                                  [&](const Canonical& each) { return each.node == node.get() && each.kind == kind; });
  com::ComPtr<IDispatch> result;
  if (found != canonical_.end() && !freshObjects) {
    result.CopyFrom(found->view);
    return result;
  }
  result = com::Make<View>(shared_from_this(), node);
  if (found == canonical_.end()) canonical_.push_back({node.get(), kind, result.Get()});
  return result;
}

com::ComPtr<IDispatch> Model::ControlObject(const std::shared_ptr<ControlNode>& node) {
  return LookUp<ControlView>(Kind::Control, node);
}

com::ComPtr<IDispatch> Model::BarObject(const std::shared_ptr<BarNode>& node) {
  return LookUp<CommandBarView>(Kind::Bar, node);
}

com::ComPtr<IDispatch> Model::ControlsObject(const std::shared_ptr<BarNode>& node) {
  return LookUp<ControlsView>(Kind::Controls, node);
}

com::ComPtr<IDispatch> Model::NewControlObject(const std::shared_ptr<ControlNode>& node) {
  com::ComPtr<IDispatch> result = com::Make<ControlView>(shared_from_this(), node);
  if (std::none_of(canonical_.begin(), canonical_.end(),
                   [&](const Canonical& each) { return each.node == node.get(); }))
    canonical_.push_back({node.get(), Kind::Control, result.Get()});
  return result;
}

void Model::Register(ControlView& view) { controlViews_.push_back(&view); }

void Model::Register(CommandBarsView& view) { collectionViews_.push_back(&view); }

void Model::DisconnectControlObjects() noexcept {
  for (ControlView* view : controlViews_) {
    view->Disconnect();
    std::erase_if(canonical_, [&](const Canonical& each) { return each.view == static_cast<IDispatch*>(view); });
  }
}

void Model::Forget(const IDispatch* view) noexcept {
  std::erase_if(canonical_, [&](const Canonical& each) { return each.view == view; });
  std::erase_if(controlViews_, [&](const ControlView* each) { return static_cast<const IDispatch*>(each) == view; });
  std::erase_if(collectionViews_,
                [&](const CommandBarsView* each) { return static_cast<const IDispatch*>(each) == view; });
}

}  // namespace qor::standin::office
