#include "standin/office/built_in_bars.h"

#include <utility>

namespace qor::standin::office {
namespace {

struct Entry {
  ControlType type;
  int id;
  const char* caption;
};

constexpr std::initializer_list<Entry> kFolderMenuEntries{{ControlType::Button, 2019, "&Open"},
                                                          {ControlType::Button, 2020, "Open in New &Window"},
                                                          {ControlType::Button, 19, "&Copy"},
                                                          {ControlType::Button, 478, "&Delete"}};
constexpr std::initializer_list<Entry> kItemMenuEntries{
    {ControlType::Button, 2019, "&Open"}, {ControlType::Button, 4, "&Print"}, {ControlType::Button, 478, "&Delete"}};

std::shared_ptr<BarNode> BuiltInBar(std::string name, BarType type, std::initializer_list<Entry> entries) {
  auto bar = MakeBar(std::move(name), type, true);
  for (const Entry& entry : entries) {
    const auto control = AddControl(bar, entry.type, entry.id, std::nullopt);
    control->caption = entry.caption;
    control->builtIn = true;
    if (control->subBar) control->subBar->builtIn = true;
  }
  return bar;
}

}  // namespace

std::vector<std::shared_ptr<BarNode>> OutlookBars(int majorVersion) {
  std::vector<std::shared_ptr<BarNode>> bars;
  bars.push_back(BuiltInBar("Menu Bar", BarType::MenuBar,
                            {{ControlType::Popup, 30002, "&File"},
                             {ControlType::Popup, 30003, "&Edit"},
                             {ControlType::Popup, 30004, "&View"},
                             {ControlType::Popup, 30007, "&Tools"},
                             {ControlType::Popup, 30131, "&Actions"},
                             {ControlType::Popup, 30010, "&Help"}}));
  bars.push_back(BuiltInBar("Standard", BarType::Normal,
                            {{ControlType::Button, 1838, "&New"},
                             {ControlType::Button, 4, "&Print"},
                             {ControlType::Button, 478, "&Delete"}}));
  if (majorVersion >= 9 && majorVersion <= 11)
    bars.push_back(BuiltInBar(std::string(kFolderMenuBar), BarType::Popup, kFolderMenuEntries));
  if (majorVersion == 10 || majorVersion == 11)
    bars.push_back(BuiltInBar("Context Menu", BarType::Popup, kItemMenuEntries));
  return bars;
}

std::shared_ptr<BarNode> ContextMenu(std::string name) {
  const bool folderMenu = name == kFolderMenuBar;
  return BuiltInBar(std::move(name), BarType::Popup, folderMenu ? kFolderMenuEntries : kItemMenuEntries);
}

}  // namespace qor::standin::office
