#pragma once

// What a context menu on the screen shows, one entry a line as the user reads it.

#include <string>
#include <string_view>
#include <vector>

namespace qor::standin::office {

struct MenuEntry {
  std::vector<std::string> path;  // captions from the top level down, without accelerator marks
  bool enabled = true;
  bool submenu = false;
};

// A caption as the menu shows it: "&" marks the accelerator and goes, "&&" is one "&".
std::string ShownCaption(std::string_view caption);

}  // namespace qor::standin::office
