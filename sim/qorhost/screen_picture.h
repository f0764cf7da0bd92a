#pragma once

#include <string>

namespace qor::tools::qorhost {

// A PNG of the part of the screen this program's windows cover: its explorer with an open menu, a
// wizard an add-in shows, a message box. Throws naming the file when it cannot be written.
void PictureOwnWindows(const std::string& file);

}  // namespace qor::tools::qorhost
