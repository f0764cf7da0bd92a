#pragma once

#include <windows.h>

#include <ostream>

#include "wizard/script/script_answers.h"
#include "wizard/script/wizard_driver.h"
#include "wizard/win32/wizard_window.h"

namespace qor::wizard::win32 {

// The real dialog driven as a user drives it: clicks, selections, typing and tab changes are
// window messages to the real controls, and what `show` prints is read back from them.
class WindowDriver final : public WizardDriver {
 public:
  explicit WindowDriver(WizardWindow& window)
      : form_(window.Form()), dialog_(window.Handle()), controls_(&window.Controls()) {}
  // The wizard's dialog `dialog` as another module (an add-in) shows it: `layout` is a form of the
  // same design, whose controls name the dialog's windows.
  WindowDriver(TfrmQORMain& layout, HWND dialog) : form_(layout), dialog_(dialog), controls_(nullptr) {}

  TfrmQORMain& Form() override { return form_; }
  // Closed, or its window gone from the screen.
  bool Closed() override;
  bool Click(Control& control) override;
  bool Type(Edit& edit, const std::string& text) override;
  bool Select(Control& list, int index) override;
  bool ShowTab(PageControl& pages, int index) override;
  std::string Property(Control& control, const std::string& property) override;

 private:
  HWND Window(const Control& control) const;
  // A window the user can reach: shown on screen and enabled.
  bool Usable(HWND window);
  // Lets what the action posted happen, as the message loop would.
  void Settle();

  TfrmQORMain& form_;
  HWND dialog_;
  const ControlWindows* controls_;  // null: the windows are found by their command ids
};

// The wizard's dialog among this thread's windows on the screen, whichever module made it; null
// when none is shown.
HWND FindShownWizard();

// Answers the wizard's real message boxes as the script said: each box is read back from its
// window, printed as a `message` line, pictured when the script asked for it, and its button
// pressed.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer(WizardWindow& window, ScriptAnswers& answers, std::ostream& out);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

 private:
  void Answer(HWND box);

  WizardWindow& window_;
  ScriptAnswers& answers_;
  std::ostream& out_;
  HWND answered_ = nullptr;
  HWND seen_ = nullptr;
  ULONGLONG seenAt_ = 0;
};

// A new window reaches the X screen a moment after it is shown; a picture waits this long.
inline constexpr ULONGLONG kShowingMs = 300;

// Pictures the wizard, and the message box over it if one is open, as they are on the screen.
void CaptureWizard(HWND dialog, HWND box, const std::string& file);

// What a message box shows, read from its window.
MessageRequest ReadMessageBox(HWND box);

}  // namespace qor::wizard::win32
