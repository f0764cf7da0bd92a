#pragma once

// A CommandBarControl object: a button, edit, drop-down, combo box or popup, by its node's type.
// Buttons raise _CommandBarButtonEvents, the combo kinds _CommandBarComboBoxEvents.

#include "com/com_object.h"
#include "com/connection_points.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bar_model.h"
#include "standin/office/counted_dispatch.h"
#include "standin/office/standin_view.h"

#include <memory>
#include <optional>
#include <string_view>

namespace qor::standin::office {

class ControlView final
    : public com::ComObject<ControlView, CountedDispatch<ControlView, host::office::ICommandBarControl>,
                            com::ConnectionPointContainerImpl, IStandinView> {
 public:
  ControlView(std::shared_ptr<Model> model, std::shared_ptr<ControlNode> node);
  ~ControlView() override;

  const com::DispatchTable<ControlView>& DispatchMembers() const;
  bool ExtraInterface(REFIID iid) const noexcept;

  Model& StandinModel() const noexcept override { return *model_; }
  std::shared_ptr<BarNode> StandinBar() const noexcept override { return nullptr; }

  const std::shared_ptr<ControlNode>& Node() const noexcept { return node_; }
  // Office let go of this object while the control lives on: its members fail as a disconnected
  // object's do, its events still reach the sinks advised on it.
  void Disconnect() noexcept { disconnected_ = true; }
  // The node, or Office's error for a control that is gone.
  ControlNode& Alive(std::string_view member) const;
  // The interface name Office's messages give for this kind of control.
  std::string_view ObjectName() const noexcept;

  int Index() const;
  ControlType Type() const;
  com::ComPtr<IDispatch> Parent() const;
  com::ComPtr<IDispatch> Move(std::optional<com::ComPtr<IDispatch>> bar, std::optional<int> before);
  void Delete(std::optional<bool> temporary);
  void PasteFace();
  com::ComPtr<IDispatch> SubBar() const;
  com::ComPtr<IDispatch> SubControls() const;
  void AddItem(std::string text, std::optional<int> index);
  void RemoveItem(int index);
  std::string ListItem(int index) const;

 private:
  std::shared_ptr<Model> model_;
  std::shared_ptr<ControlNode> node_;
  bool disconnected_ = false;
};

}  // namespace qor::standin::office
