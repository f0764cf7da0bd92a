#pragma once

// The _CommandBars collection of a window; raises _CommandBarsEvents.OnUpdate.

#include "com/com_object.h"
#include "com/connection_points.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bar_model.h"
#include "standin/office/counted_dispatch.h"
#include "standin/office/standin_view.h"

#include <memory>
#include <optional>
#include <string>

namespace qor::standin::office {

class CommandBarsView final
    : public com::ComObject<CommandBarsView, CountedDispatch<CommandBarsView, host::office::ICommandBars>,
                            com::ConnectionPointContainerImpl, IStandinView> {
 public:
  explicit CommandBarsView(std::shared_ptr<Model> model);
  ~CommandBarsView() override;

  static const com::DispatchTable<CommandBarsView>& DispatchMembers();
  Model& StandinModel() const noexcept override { return *model_; }
  std::shared_ptr<BarNode> StandinBar() const noexcept override { return nullptr; }

  int Count() const noexcept { return static_cast<int>(model_->bars.size()); }
  // By 1-based position, or by Name or NameLocal ignoring case.
  com::ComPtr<IDispatch> Item(const com::Variant& index) const;
  com::ComPtr<IDispatch> FindControl(std::optional<int> type, std::optional<int> id, std::optional<std::string> tag,
                                     std::optional<bool> visible) const;
  // Every match as a CommandBarControls collection; Nothing when none matches.
  com::ComPtr<IDispatch> FindControls(std::optional<int> type, std::optional<int> id, std::optional<std::string> tag,
                                      std::optional<bool> visible) const;
  com::ComPtr<IDispatch> Add(std::optional<std::string> name, std::optional<int> position, std::optional<bool> menuBar,
                             std::optional<bool> temporary);

 private:
  std::shared_ptr<Model> model_;
};

}  // namespace qor::standin::office
