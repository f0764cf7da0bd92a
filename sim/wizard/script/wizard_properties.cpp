// The properties `show` prints, and how the model states them.
#include <cstdio>
#include <set>
#include <utility>

#include "wizard/script/wizard_driver.h"

namespace qor::wizard {

namespace {

using Properties = std::set<std::string, std::less<>>;

const Properties& PropertiesOf(ControlKind kind) {
  static const Properties button{"Enabled", "Visible", "Text"};
  static const Properties checkBox{"Enabled", "Visible", "Text", "Checked"};
  static const Properties edit{"Enabled", "Visible", "Text", "Color"};
  static const Properties list{"Enabled", "Visible", "Items", "ItemIndex"};
  static const Properties comboBox{"Enabled", "Visible", "Text", "Items", "ItemIndex"};
  static const Properties label{"Enabled", "Visible", "Text", "FontColor"};
  static const Properties progressBar{"Enabled", "Visible", "Position", "Min", "Max"};
  static const Properties pageControl{"Enabled", "Visible", "PageIndex"};
  switch (kind) {
    case ControlKind::Button:
    case ControlKind::LinkButton:
      return button;
    case ControlKind::CheckBox:
      return checkBox;
    case ControlKind::Edit:
      return edit;
    case ControlKind::ListBox:
      return list;
    case ControlKind::ComboBox:
      return comboBox;
    case ControlKind::Label:
      return label;
    case ControlKind::ProgressBar:
      return progressBar;
    case ControlKind::PageControl:
      return pageControl;
  }
  return button;
}

std::string SelectedLine(const engine::StringListModel& lines) {
  const int index = lines.itemIndex;
  return index >= 0 && index < static_cast<int>(lines.items.size()) ? lines.items[index] : std::string();
}

}  // namespace

void CheckProperty(const Control& control, const std::string& property) {
  if (!PropertiesOf(control.Kind()).contains(property)) {
    throw ScriptError(control.Name() + " has no property " + property);
  }
}

std::string FormatBool(bool value) { return value ? "true" : "false"; }

std::string FormatColour(Colour colour) {
  switch (colour) {
    case kWindowColour:
      return "window";
    case kBtnFaceColour:
      return "btnface";
    case kWindowTextColour:
      return "windowtext";
    case kRedColour:
      return "red";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
      return text;
    }
  }
}

std::string JoinLines(const engine::StringListModel& lines) {
  std::string joined;
  for (const auto& line : lines.items) {
    if (&line != &lines.items.front()) joined += '|';
    joined += line;
  }
  return joined;
}

std::string ModelProperty(const Control& control, const std::string& property) {
  if (property == "Enabled") return FormatBool(control.Enabled());
  if (property == "Visible") return FormatBool(control.OnShownPage());
  if (const auto* button = dynamic_cast<const Button*>(&control)) return button->caption;  // Text
  if (const auto* box = dynamic_cast<const CheckBox*>(&control)) {
    return property == "Checked" ? FormatBool(box->Checked()) : box->caption;
  }
  if (const auto* edit = dynamic_cast<const Edit*>(&control)) {
    return property == "Color" ? FormatColour(edit->colour) : edit->text;
  }
  if (const auto* label = dynamic_cast<const Label*>(&control)) {
    return property == "FontColor" ? FormatColour(label->fontColour) : label->caption;
  }
  const engine::StringListModel* lines = nullptr;
  if (const auto* list = dynamic_cast<const ListBox*>(&control)) lines = &list->lines;
  if (const auto* combo = dynamic_cast<const ComboBox*>(&control)) lines = &combo->lines;
  if (lines != nullptr) {
    if (property == "Items") return JoinLines(*lines);
    if (property == "ItemIndex") return std::to_string(lines->itemIndex);
    return SelectedLine(*lines);  // Text of the drop-down
  }
  if (const auto* bar = dynamic_cast<const ProgressBar*>(&control)) {
    if (property == "Min") return std::to_string(bar->minimum);
    if (property == "Max") return std::to_string(bar->maximum);
    return std::to_string(bar->position);
  }
  if (const auto* pages = dynamic_cast<const PageControl*>(&control)) return std::to_string(pages->PageIndex());
  return {};
}

}  // namespace qor::wizard
