#include "standin/office/command_bars_view.h"

#include "standin/office/bar_view.h"
#include "standin/office/office_errors.h"

#include <algorithm>

namespace qor::standin::office {
namespace {

bool SameNameIgnoringCase(std::string_view left, std::string_view right) noexcept {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                    [&](char l, char r) { return lower(l) == lower(r); });
}

}  // namespace

CommandBarsView::CommandBarsView(std::shared_ptr<Model> model) : model_(std::move(model)) {
  AddConnectionPoint(__uuidof(host::office::DCommandBarsEvents));
  model_->Register(*this);
}

CommandBarsView::~CommandBarsView() { model_->Forget(this); }

const com::DispatchTable<CommandBarsView>& CommandBarsView::DispatchMembers() {
  static const auto table = com::DispatchTable<CommandBarsView>()
                                .Property("Item", DISPID_VALUE, &CommandBarsView::Item)
                                .Property("Count", &CommandBarsView::Count)
                                .Method("FindControl", &CommandBarsView::FindControl)
                                .Method("FindControls", &CommandBarsView::FindControls)
                                .Method("Add", &CommandBarsView::Add);
  return table;
}

com::ComPtr<IDispatch> CommandBarsView::Item(const com::Variant& index) const {
  if (index.Type() == VT_BSTR) {
    const std::string name = index.ToUtf8();
    for (const auto& bar : model_->bars)
      if (SameNameIgnoringCase(bar->name, name) || SameNameIgnoringCase(bar->nameLocal, name))
        return model_->BarObject(bar);
    ThrowInvalidArgument();
  }
  const int position = index.ToInt();
  if (position < 1 || position > Count()) ThrowInvalidArgument();
  return model_->BarObject(model_->bars[position - 1]);
}

com::ComPtr<IDispatch> CommandBarsView::FindControl(std::optional<int> type, std::optional<int> id,
                                                    std::optional<std::string> tag, std::optional<bool> visible) const {
  const auto criteria = ControlCriteria::From(type, id, std::move(tag), visible);
  for (const auto& bar : model_->bars)
    if (const auto found = office::FindControl(*bar, criteria, true)) return model_->ControlObject(found);
  return nullptr;
}

com::ComPtr<IDispatch> CommandBarsView::FindControls(std::optional<int> type, std::optional<int> id,
                                                     std::optional<std::string> tag, std::optional<bool> visible) const {
  const auto criteria = ControlCriteria::From(type, id, std::move(tag), visible);
  // A collection of its own: the controls stay where they are.
  auto found = std::make_shared<BarNode>();
  for (const auto& bar : model_->bars) office::FindControls(*bar, criteria, found->controls);
  if (found->controls.empty()) return nullptr;
  return com::Make<ControlsView>(model_, std::move(found));
}

com::ComPtr<IDispatch> CommandBarsView::Add(std::optional<std::string> name, std::optional<int> position,
                                            std::optional<bool> menuBar, std::optional<bool> temporary) {
  const std::string barName = name.value_or("Custom " + std::to_string(model_->bars.size() + 1));
  for (const auto& bar : model_->bars)
    if (SameNameIgnoringCase(bar->name, barName)) ThrowInvalidArgument();
  const bool isPopup = position.value_or(1) == 5;  // msoBarPopup
  auto bar = MakeBar(barName, menuBar.value_or(false) ? BarType::MenuBar : isPopup ? BarType::Popup : BarType::Normal,
                     false);
  bar->position = position.value_or(1);
  bar->temporary = temporary.value_or(false);
  bar->visible = false;  // Office shows a new bar only when told to
  model_->bars.push_back(bar);
  return model_->BarObject(bar);
}

}  // namespace qor::standin::office
