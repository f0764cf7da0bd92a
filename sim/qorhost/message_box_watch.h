#pragma once

// Answers the message boxes add-ins show, as the user would: every few milliseconds, while any
// loop of this thread dispatches messages (the box's own modal loop included), it looks for a
// shown message box, prints it as a `message` line and presses the button queued for it, else
// the box's default one.

#include <windows.h>

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "timer_window.h"

namespace qor::tools::qorhost {

// The button id (IDOK, IDYES, ...) of a script's button name: ok, cancel, yes, no, retry, ignore,
// abort, in any letter case.
std::optional<int> ButtonId(const std::string& name);

class MessageBoxWatch {
 public:
  explicit MessageBoxWatch(std::ostream& out);
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

  void QueueAnswer(int buttonId) { answers_.push_back(buttonId); }
  // The next box is pictured into `file` before it is answered.
  void QueuePicture(std::string file) { pictures_.push_back(std::move(file)); }

 private:
  void Look() noexcept;
  void Answer(HWND box);

  std::ostream& out_;
  std::deque<int> answers_;
  std::deque<std::string> pictures_;
  HWND answered_ = nullptr;
  TimerWindow timer_;
};

}  // namespace qor::tools::qorhost
