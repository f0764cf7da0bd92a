#pragma once

// Answers the common file dialogs (Open, Save As) add-ins show, as the user would: while any loop
// of this thread dispatches messages, it looks for a shown file dialog, types the next queued file
// name into its name box and presses its OK button; with none queued it presses Cancel.

#include <deque>
#include <string>

#include "timer_window.h"

namespace qor::tools::qorhost {

class FileDialogWatch {
 public:
  FileDialogWatch();
  FileDialogWatch(const FileDialogWatch&) = delete;
  FileDialogWatch& operator=(const FileDialogWatch&) = delete;

  // A relative name is taken from this program's current folder now.
  void QueueAnswer(const std::string& file);

 private:
  void Look() noexcept;

  std::deque<std::wstring> answers_;
  HWND answered_ = nullptr;
  TimerWindow timer_;
};

}  // namespace qor::tools::qorhost
