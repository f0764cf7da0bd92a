#pragma once

#include <windows.h>

#include "wizard/model/wizard_services.h"

namespace qor::wizard::win32 {

// Windows' common Save and Open dialogs, modal to `owner`. They leave the process's current
// folder as it was: inside Outlook it is not ours to change.
class CommonFileDialogs final : public FileDialogs {
 public:
  void SetOwner(HWND owner) noexcept { owner_ = owner; }
  std::optional<std::string> Save(const FileDialogRequest& request) override;
  std::optional<std::string> Open(const FileDialogRequest& request) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace qor::wizard::win32
