#pragma once

// One window's command bars: the nodes, and the COM objects currently viewing them. Objects
// register themselves while alive (raw pointers, removed by their destructors), so the model never
// keeps an object alive and no cycle forms between objects, nodes and connection points.

#include "com/com_ptr.h"
#include "standin/office/command_bar_nodes.h"

#include <oaidl.h>

#include <memory>
#include <vector>

namespace qor::standin::office {

class ControlView;
class CommandBarsView;

class Model : public std::enable_shared_from_this<Model> {
 public:
  std::vector<std::shared_ptr<BarNode>> bars;  // what CommandBars lists
  // Office may hand out a new object on every look-up; while set, the stand-in always does.
  bool freshObjects = false;

  // Look-ups: the object already viewing the node, unless fresh objects are asked for.
  com::ComPtr<IDispatch> ControlObject(const std::shared_ptr<ControlNode>& node);
  com::ComPtr<IDispatch> BarObject(const std::shared_ptr<BarNode>& node);
  com::ComPtr<IDispatch> ControlsObject(const std::shared_ptr<BarNode>& node);
  // Always a new object, as Controls.Add returns.
  com::ComPtr<IDispatch> NewControlObject(const std::shared_ptr<ControlNode>& node);

  void Register(ControlView& view);
  void Register(CommandBarsView& view);
  void Forget(const IDispatch* view) noexcept;
  // Every live control object disconnected; later look-ups hand out new ones.
  void DisconnectControlObjects() noexcept;

  // Live objects, oldest first.
  const std::vector<ControlView*>& ControlViews() const noexcept { return controlViews_; }
  const std::vector<CommandBarsView*>& CollectionViews() const noexcept { return collectionViews_; }

 private:
  enum class Kind { Control, Bar, Controls };
  struct Canonical {
    const void* node;
    Kind kind;
    IDispatch* view;
  };
  template <class View, class Node>
  com::ComPtr<IDispatch> LookUp(Kind kind, const std::shared_ptr<Node>& node);

  std::vector<Canonical> canonical_;
  std::vector<ControlView*> controlViews_;
  std::vector<CommandBarsView*> collectionViews_;
};

}  // namespace qor::standin::office
