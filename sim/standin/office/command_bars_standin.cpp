#include "standin/office/command_bars_standin.h"

#include "com/com_object.h"
#include "standin/office/built_in_bars.h"
#include "standin/office/command_bar_model.h"
#include "standin/office/command_bars_driver.h"
#include "standin/office/command_bars_view.h"

namespace qor::standin::office {

com::ComPtr<IDispatch> CreateCommandBars(int majorVersion) {
  auto model = std::make_shared<Model>();
  model->bars = OutlookBars(majorVersion);
  return com::Make<CommandBarsView>(std::move(model));
}

com::ComPtr<IDispatch> CreateContextMenuBar(const std::string& name) {
  auto model = std::make_shared<Model>();
  model->bars.push_back(ContextMenu(name));
  return model->BarObject(model->bars.front());
}

void RaiseOnUpdate(IDispatch& commandBars) { CommandBarsDriver(commandBars).RaiseOnUpdate(); }

}  // namespace qor::standin::office
