#pragma once

// A CommandBar object and a bar's CommandBarControls collection.

#include "com/com_object.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bar_model.h"
#include "standin/office/counted_dispatch.h"
#include "standin/office/standin_view.h"

#include <memory>
#include <optional>
#include <string_view>

namespace qor::standin::office {

class CommandBarView final
    : public com::ComObject<CommandBarView, CountedDispatch<CommandBarView, host::office::ICommandBar>, IStandinView> {
 public:
  CommandBarView(std::shared_ptr<Model> model, std::shared_ptr<BarNode> node);
  ~CommandBarView() override;

  static const com::DispatchTable<CommandBarView>& DispatchMembers();
  Model& StandinModel() const noexcept override { return *model_; }
  std::shared_ptr<BarNode> StandinBar() const noexcept override { return node_; }

  BarNode& Alive(std::string_view member) const;
  com::ComPtr<IDispatch> Controls() const;
  com::ComPtr<IDispatch> FindControl(std::optional<int> type, std::optional<int> id, std::optional<std::string> tag,
                                     std::optional<bool> visible, std::optional<bool> recursive) const;
  void Delete();

 private:
  std::shared_ptr<Model> model_;
  std::shared_ptr<BarNode> node_;
};

class ControlsView final
    : public com::ComObject<ControlsView, CountedDispatch<ControlsView, host::office::ICommandBarControls>,
                            IStandinView> {
 public:
  ControlsView(std::shared_ptr<Model> model, std::shared_ptr<BarNode> node);
  ~ControlsView() override;

  static const com::DispatchTable<ControlsView>& DispatchMembers();
  Model& StandinModel() const noexcept override { return *model_; }
  std::shared_ptr<BarNode> StandinBar() const noexcept override { return nullptr; }

  int Count() const;
  // By 1-based position or by caption.
  com::ComPtr<IDispatch> Item(const com::Variant& index) const;
  com::ComPtr<IDispatch> Add(std::optional<int> type, std::optional<int> id, std::optional<com::Variant> parameter,
                             std::optional<int> before, std::optional<bool> temporary);

 private:
  BarNode& Alive(std::string_view member) const;

  std::shared_ptr<Model> model_;
  std::shared_ptr<BarNode> node_;
};

// A type code Controls.Add accepts; anything else raises.
ControlType CheckedControlType(int code);

}  // namespace qor::standin::office
