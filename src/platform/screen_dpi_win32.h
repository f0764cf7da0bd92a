#pragma once

namespace qor::platform {

// The screen's dots per inch, as the windows and controls of the add-in scale by them; 96 when
// the system gives no answer.
int ScreenDpi() noexcept;

}  // namespace qor::platform
