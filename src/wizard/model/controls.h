#pragma once

// The wizard's controls as plain objects: the state a user sees (enabled, checked, text, lines,
// selection, colours) and the handler a click runs. Positions are in pixels at 96 dots per inch,
// relative to the sheet that holds the control; a window scales them to the system's DPI.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/list_model.h"

namespace qor::wizard {

// Colours as the form designer keeps them: 0x00BBGGRR, or a system colour by index.
using Colour = std::uint32_t;
inline constexpr Colour kSystemColour = 0xFF000000;
inline constexpr Colour kWindowColour = kSystemColour | 5;      // COLOR_WINDOW
inline constexpr Colour kWindowTextColour = kSystemColour | 8;  // COLOR_WINDOWTEXT
inline constexpr Colour kBtnFaceColour = kSystemColour | 15;    // COLOR_BTNFACE
inline constexpr Colour kRedColour = 0x0000FF;
inline constexpr Colour kNavyColour = 0x800000;

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind { PageControl, Button, LinkButton, CheckBox, Edit, ListBox, ComboBox, Label, ProgressBar };

class PageControl;

// A page of a page control; it holds controls and fills its page control's display area, on a
// sunken panel when `sunken`.
struct TabSheet {
  std::string name;
  std::string caption;
  PageControl* owner = nullptr;
  int index = 0;
  bool sunken = false;
};

class Control {
 public:
  Control(std::string name, ControlKind kind, TabSheet* sheet, Bounds bounds)
      : name_(std::move(name)), kind_(kind), sheet_(sheet), bounds_(bounds) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const noexcept { return name_; }
  ControlKind Kind() const noexcept { return kind_; }
  // Null for the controls on the form itself.
  TabSheet* Sheet() const noexcept { return sheet_; }
  const Bounds& BoundsRect() const noexcept { return bounds_; }

  bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool value) noexcept { enabled_ = value; }

  // True when every page on the way up to the form is the one its page control shows.
  bool OnShownPage() const noexcept;

  std::string hint;

 private:
  std::string name_;
  ControlKind kind_;
  TabSheet* sheet_;
  Bounds bounds_;
  bool enabled_ = true;
};

// A push button, a flat link-style button or a bitmap button: a caption and a click.
class Button : public Control {
 public:
  Button(std::string name, ControlKind kind, TabSheet* sheet, Bounds bounds, std::string text)
      : Control(std::move(name), kind, sheet, bounds), caption(std::move(text)) {}
  void Click() const {
    if (onClick) onClick();
  }

  std::string caption;
  std::function<void()> onClick;
};

// Setting the state runs the click handler whenever the state changes, whoever sets it.
class CheckBox : public Control {
 public:
  CheckBox(std::string name, TabSheet* sheet, Bounds bounds, std::string text)
      : Control(std::move(name), ControlKind::CheckBox, sheet, bounds), caption(std::move(text)) {}

  bool Checked() const noexcept { return checked_; }
  void SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    if (onClick) onClick();
  }

  std::string caption;
  std::function<void()> onClick;

 private:
  bool checked_ = false;
};

class Edit : public Control {
 public:
  Edit(std::string name, TabSheet* sheet, Bounds bounds, bool isReadOnly)
      : Control(std::move(name), ControlKind::Edit, sheet, bounds), readOnly(isReadOnly) {}

  std::string text;
  bool readOnly;
  Colour colour = kWindowColour;
};

class ListBox : public Control {
 public:
  ListBox(std::string name, TabSheet* sheet, Bounds bounds)
      : Control(std::move(name), ControlKind::ListBox, sheet, bounds) {}

  engine::StringListModel lines;
  // The user selected a line.
  std::function<void()> onClick;
};

// A drop-down list: the user picks one of its lines and cannot type.
class ComboBox : public Control {
 public:
  ComboBox(std::string name, TabSheet* sheet, Bounds bounds, std::vector<std::string> items)
      : Control(std::move(name), ControlKind::ComboBox, sheet, bounds) {
    lines.items = std::move(items);
  }

  engine::StringListModel lines;
};

struct LabelStyle {
  bool wordWrap = false;
  bool bold = false;
};

class Label : public Control {
 public:
  Label(std::string name, TabSheet* sheet, Bounds bounds, std::string text, LabelStyle labelStyle = {})
      : Control(std::move(name), ControlKind::Label, sheet, bounds), caption(std::move(text)), style(labelStyle) {}

  std::string caption;
  LabelStyle style;
  Colour fontColour = kWindowTextColour;
};

class ProgressBar : public Control {
 public:
  ProgressBar(std::string name, TabSheet* sheet, Bounds bounds)
      : Control(std::move(name), ControlKind::ProgressBar, sheet, bounds) {}

  int minimum = 0;
  int maximum = 100;
  int position = 0;
};

// Pages of which one is shown. `showTabs` false: the pages are switched only by code.
class PageControl : public Control {
 public:
  PageControl(std::string name, TabSheet* sheet, Bounds bounds, bool tabsShown)
      : Control(std::move(name), ControlKind::PageControl, sheet, bounds), showTabs(tabsShown) {}

  TabSheet& AddSheet(std::string name, std::string caption, bool sunken = false);
  const std::vector<std::unique_ptr<TabSheet>>& Sheets() const noexcept { return sheets_; }

  int PageIndex() const noexcept { return pageIndex_; }
  // An index outside the pages is ignored.
  void SetPageIndex(int index) noexcept;

  const bool showTabs;

 private:
  std::vector<std::unique_ptr<TabSheet>> sheets_;
  int pageIndex_ = 0;
};

}  // namespace qor::wizard
