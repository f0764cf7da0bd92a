#pragma once

#include <string>
#include <vector>

namespace qor::engine {

// A list box's lines and its selection, as the wizard shows them.
struct StringListModel {
  std::vector<std::string> items;
  int itemIndex = -1;  // -1: nothing selected
};

}  // namespace qor::engine
