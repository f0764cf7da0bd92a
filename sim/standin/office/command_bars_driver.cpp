#include "standin/office/command_bars_driver.h"

#include "com/com_ptr.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bar_model.h"
#include "standin/office/command_bars_view.h"
#include "standin/office/control_view.h"
#include "standin/office/standin_view.h"

#include <span>
#include <stdexcept>

namespace qor::standin::office {
namespace {

bool IsComboKind(ControlType type) noexcept {
  return type == ControlType::Edit || type == ControlType::DropDown || type == ControlType::ComboBox;
}

std::shared_ptr<ControlNode> FindTagged(const BarNode& bar, std::string_view tag, bool comboKind) {
  for (const auto& control : bar.controls) {
    if (control->tag == tag && control->type != ControlType::Popup && IsComboKind(control->type) == comboKind)
      return control;
    if (control->subBar)
      if (auto found = FindTagged(*control->subBar, tag, comboKind)) return found;
  }
  return nullptr;
}

std::shared_ptr<ControlNode> FindTagged(const Model& model, std::string_view tag, bool comboKind) {
  for (const auto& bar : model.bars)
    if (auto found = FindTagged(*bar, tag, comboKind)) return found;
  throw std::invalid_argument("No control is tagged \"" + std::string(tag) + "\"");
}

// The live objects of controls of that kind carrying the control's tag (an untagged control: its
// own objects only), held so that a sink releasing its object cannot pull it from under us.
// The objects whose sinks hear an event of `control`: those listening when the event starts, so a
// sink advised by a handler hears the next event, not this one again.
std::vector<com::ComPtr<ControlView>> TaggedViews(const Model& model, const std::shared_ptr<ControlNode>& control,
                                                  REFIID events) {
  std::vector<com::ComPtr<ControlView>> views;
  for (ControlView* view : model.ControlViews()) {
    const ControlNode& node = *view->Node();
    if (node.deleted || IsComboKind(node.type) != IsComboKind(control->type) || view->SinkCount(events) == 0) continue;
    if (view->Node() == control || (!control->tag.empty() && node.tag == control->tag)) {
      com::ComPtr<ControlView> held;
      held.CopyFrom(view);
      views.push_back(std::move(held));
    }
  }
  return views;
}

void Collect(EventResult& total, com::FireResult&& one) {
  total.sinksCalled += one.sinksCalled;
  for (auto& failure : one.failures) total.failures.push_back(std::move(failure));
}

ControlState StateOf(const ControlNode& node) {
  ControlState state{node.type, node.id,        node.caption, node.tag,    node.enabled, node.visible, node.beginGroup,
                     node.temporary, node.builtIn, node.faceId,  node.text, {}};
  if (node.subBar)
    for (const auto& child : node.subBar->controls) state.controls.push_back(StateOf(*child));
  return state;
}

void ListEntries(const BarNode& bar, std::vector<std::string> path, std::vector<MenuEntry>& into) {
  for (const auto& control : bar.controls) {
    if (!control->visible) continue;
    auto entryPath = path;
    entryPath.push_back(ShownCaption(control->caption));
    into.push_back({entryPath, control->enabled, control->type == ControlType::Popup});
    if (control->subBar) ListEntries(*control->subBar, std::move(entryPath), into);
  }
}

std::shared_ptr<ControlNode> EntryAt(const BarNode& bar, std::span<const std::string> path) {
  if (path.empty()) return nullptr;
  for (const auto& control : bar.controls) {
    if (!control->visible || ShownCaption(control->caption) != path.front()) continue;
    if (path.size() == 1) return control;
    return control->subBar ? EntryAt(*control->subBar, path.subspan(1)) : nullptr;
  }
  return nullptr;
}

BarState StateOf(const BarNode& bar) {
  BarState state{bar.name, bar.nameLocal, bar.builtIn, bar.enabled, bar.visible, {}};
  for (const auto& control : bar.controls) state.controls.push_back(StateOf(*control));
  return state;
}

}  // namespace

CommandBarsDriver::CommandBarsDriver(IDispatch& object) {
  com::ComPtr<IStandinView> view;
  if (FAILED(object.QueryInterface(__uuidof(IStandinView), view.PutVoid())))
    throw std::invalid_argument("Not an object of the command-bar stand-in");
  model_ = view->StandinModel().shared_from_this();
}

ClickResult CommandBarsDriver::Click(std::string_view tag) { return ClickButton(FindTagged(*model_, tag, false)); }

ClickResult CommandBarsDriver::ClickButton(const std::shared_ptr<ControlNode>& button) {
  ClickResult result;
  if (!button->enabled || !button->visible) return result;
  const com::ComPtr<IDispatch> ctrl = model_->ControlObject(button);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  for (const auto& view : TaggedViews(*model_, button, __uuidof(host::office::DCommandBarButtonEvents)))
    Collect(result, view->Fire(__uuidof(host::office::DCommandBarButtonEvents), host::office::kClickDispId, ctrl,
                               com::Variant::ByRef(&cancel)));
  result.cancelDefault = cancel != VARIANT_FALSE;
  return result;
}

EventResult CommandBarsDriver::ChangeComboBox(std::string_view tag, std::string_view text) {
  const auto comboBox = FindTagged(*model_, tag, true);
  comboBox->text = text;
  const com::ComPtr<IDispatch> ctrl = model_->ControlObject(comboBox);
  EventResult result;
  for (const auto& view : TaggedViews(*model_, comboBox, __uuidof(host::office::DCommandBarComboBoxEvents)))
    Collect(result, view->Fire(__uuidof(host::office::DCommandBarComboBoxEvents), host::office::kChangeDispId, ctrl));
  return result;
}

EventResult CommandBarsDriver::RaiseOnUpdate() {
  std::vector<com::ComPtr<CommandBarsView>> views;
  for (CommandBarsView* view : model_->CollectionViews()) {
    com::ComPtr<CommandBarsView> held;
    held.CopyFrom(view);
    views.push_back(std::move(held));
  }
  EventResult result;
  for (const auto& view : views)
    Collect(result, view->Fire(__uuidof(host::office::DCommandBarsEvents), host::office::kOnUpdateDispId));
  return result;
}

void CommandBarsDriver::SetFreshObjects(bool fresh) noexcept { model_->freshObjects = fresh; }

void CommandBarsDriver::DisconnectObjects() noexcept { model_->DisconnectControlObjects(); }

void CommandBarsDriver::RestartHost() {
  const auto bars = model_->bars;
  for (const auto& bar : bars) {
    if (bar->temporary) {
      std::erase(model_->bars, bar);
      MarkBarDeleted(*bar);
    } else {
      DropTemporaryControls(*bar);
    }
  }
}

std::vector<BarState> CommandBarsDriver::Bars() const {
  std::vector<BarState> states;
  for (const auto& bar : model_->bars) states.push_back(StateOf(*bar));
  return states;
}

const BarNode& CommandBarsDriver::NamedBar(std::string_view name) const {
  for (const auto& bar : model_->bars)
    if (bar->name == name) return *bar;
  throw std::invalid_argument("No command bar is named \"" + std::string(name) + "\"");
}

BarState CommandBarsDriver::Bar(std::string_view name) const { return StateOf(NamedBar(name)); }

std::vector<MenuEntry> CommandBarsDriver::MenuEntries(std::string_view barName) const {
  std::vector<MenuEntry> entries;
  ListEntries(NamedBar(barName), {}, entries);
  return entries;
}

ClickResult CommandBarsDriver::ClickMenuEntry(std::string_view barName, const std::vector<std::string>& path) {
  const auto entry = EntryAt(NamedBar(barName), path);
  if (!entry || entry->type != ControlType::Button) throw std::invalid_argument("the menu has no such button");
  return ClickButton(entry);
}

}  // namespace qor::standin::office
