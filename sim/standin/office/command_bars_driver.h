#pragma once

// What Office's user does to the stand-in's command bars, for tests and the stand-in host
// application: clicks, combo-box changes, refreshes, a host restart; and a plain C++ picture of the
// bars for assertions and screenshots.

#include "com/com_error.h"
#include "host/office/control_type.h"
#include "standin/office/shown_menu.h"

#include <oaidl.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qor::standin::office {

class Model;
struct ControlNode;
struct BarNode;

struct ControlState {
  host::office::ControlType type = host::office::ControlType::Button;
  int id = 1;
  std::string caption;
  std::string tag;
  bool enabled = true;
  bool visible = true;
  bool beginGroup = false;
  bool temporary = false;
  bool builtIn = false;
  int faceId = 0;
  std::string text;                    // combo kinds
  std::vector<ControlState> controls;  // a popup's entries
};

struct BarState {
  std::string name;
  std::string nameLocal;
  bool builtIn = false;
  bool enabled = true;
  bool visible = true;
  std::vector<ControlState> controls;
};

struct EventResult {
  std::size_t sinksCalled = 0;
  std::vector<com::ComError> failures;  // sinks that raised; Office ignores them
};

struct ClickResult : EventResult {
  bool cancelDefault = false;
};

class CommandBarsDriver {
 public:
  // `object`: any object of the stand-in (CommandBars, a CommandBar, a control); throws
  // std::invalid_argument for anything else.
  explicit CommandBarsDriver(IDispatch& object);

  // Clicks the first button carrying `tag` (searched through every bar and popup): Click goes to
  // every button object whose control carries that tag, all of them sharing one CancelDefault.
  // A disabled or hidden button takes no click. Throws std::invalid_argument when none carries it.
  ClickResult Click(std::string_view tag);
  // The bar named `barName` as a menu shows it: every visible control, a popup's entries after it.
  // Throws std::invalid_argument when no bar has that name.
  std::vector<MenuEntry> MenuEntries(std::string_view barName) const;
  // Clicks the button at `path` in that menu (captions as MenuEntries gives them), as Click does.
  // A disabled entry takes no click. Throws std::invalid_argument when no button is at `path`.
  ClickResult ClickMenuEntry(std::string_view barName, const std::vector<std::string>& path);
  // Types `text` into the first edit, drop-down or combo box carrying `tag` and raises Change on
  // every object of that kind carrying the tag.
  EventResult ChangeComboBox(std::string_view tag, std::string_view text);
  // OnUpdate on every CommandBars object of the window.
  EventResult RaiseOnUpdate();

  void SetFreshObjects(bool fresh) noexcept;
  // Office drops every control object it handed out (their calls fail with RPC_E_DISCONNECTED)
  // while the controls stay; sinks advised on them still hear their events.
  void DisconnectObjects() noexcept;
  // Outlook closed and opened again: temporary controls and bars are gone, the others stay.
  void RestartHost();

  std::vector<BarState> Bars() const;
  // Throws std::invalid_argument when no bar has that name.
  BarState Bar(std::string_view name) const;

 private:
  ClickResult ClickButton(const std::shared_ptr<ControlNode>& button);
  const BarNode& NamedBar(std::string_view name) const;

  std::shared_ptr<Model> model_;
};

}  // namespace qor::standin::office
