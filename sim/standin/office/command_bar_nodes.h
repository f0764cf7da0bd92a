#pragma once

// The data of Office's command bars and controls. COM objects are only views of these nodes: Office
// hands out several objects for one control, and all of them must see the same state.

#include "com/com_ptr.h"
#include "host/office/control_type.h"

#include <oaidl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qor::standin::office {

using host::office::ControlType;

struct BarNode;

struct ControlNode {
  ControlType type = ControlType::Button;
  int id = 1;  // 1: a custom control; else the id of a built-in command
  bool builtIn = false;
  bool temporary = false;
  bool deleted = false;

  std::string tag, caption, descriptionText, helpFile, parameter, tooltipText, onAction;
  bool beginGroup = false, enabled = true, visible = true;
  int height = 22, width = 24, helpContextId = 0, priority = 0;

  // Buttons.
  std::string shortcutText;
  int faceId = 0, state = 0, style = 0, hyperlinkType = 0;
  bool pastedFace = false;
  com::ComPtr<IDispatch> picture, mask;

  // Edits, drop-downs and combo boxes.
  std::string text;
  std::vector<std::string> items;
  int listIndex = 0, dropDownLines = 0, dropDownWidth = 0, listHeaderCount = -1, comboStyle = 0;

  std::weak_ptr<BarNode> parent;
  std::shared_ptr<BarNode> subBar;  // a popup's own bar
};

// MsoBarType.
enum class BarType { Normal = 0, MenuBar = 1, Popup = 2 };

struct BarNode {
  std::string name, nameLocal;
  BarType type = BarType::Normal;
  bool builtIn = false;
  bool temporary = false;
  bool deleted = false;
  bool enabled = true, visible = true;
  int protection = 0, position = 1, left = 0, top = 0, rowIndex = 1, width = 200, height = 26;

  std::vector<std::shared_ptr<ControlNode>> controls;
  std::weak_ptr<ControlNode> owner;  // the popup control whose bar this is
};

// FindControl's criteria; an empty one matches anything.
struct ControlCriteria {
  std::optional<ControlType> type;
  std::optional<int> id;
  std::optional<std::string> tag;
  bool visibleOnly = false;

  bool Matches(const ControlNode& control) const noexcept;
  // FindControl's arguments as Office reads them: Visible true restricts, false does not.
  static ControlCriteria From(std::optional<int> type, std::optional<int> id, std::optional<std::string> tag,
                              std::optional<bool> visible);
};

std::shared_ptr<BarNode> MakeBar(std::string name, BarType type, bool builtIn);
// Appends, or inserts before the 1-based position `before`; a popup gets its own bar.
std::shared_ptr<ControlNode> AddControl(const std::shared_ptr<BarNode>& bar, ControlType type, int id,
                                        std::optional<int> before);
// 1-based position of `control` in its bar, 0 once it is gone.
int IndexOf(const ControlNode& control) noexcept;
// Takes the control (and a popup's whole content) out of the tree for good.
void RemoveControl(ControlNode& control);
void MarkBarDeleted(BarNode& bar);
// Whether `bar` is `control`'s own menu or lies anywhere inside it.
bool IsInside(const BarNode& bar, const ControlNode& control) noexcept;
// First match in bar order, depth first; popups are searched only when `recursive`.
std::shared_ptr<ControlNode> FindControl(const BarNode& bar, const ControlCriteria& criteria, bool recursive);
// Every match in bar order, popups included, appended to `found`.
void FindControls(const BarNode& bar, const ControlCriteria& criteria, std::vector<std::shared_ptr<ControlNode>>& found);
// What a host restart leaves: every temporary control is gone.
void DropTemporaryControls(BarNode& bar);

}  // namespace qor::standin::office
