#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/email_data.h"
#include "platform/unique_any_win32.h"
#include "wizard/model/frm_qor_main.h"
#include "wizard/win32/control_windows.h"
#include "wizard/win32/file_dialogs.h"
#include "wizard/win32/wizard_look.h"

namespace qor::wizard::win32 {

// What the window takes from outside; message boxes and the progress display are its own.
struct WindowServices {
  host::Application& outlook;
  platform::Services& platform;
  // Null: Windows' common dialogs, owned by the wizard.
  FileDialogs* files = nullptr;
  std::optional<std::string> usersAppFolderPath = std::nullopt;
};

// The wizard's dialog: a fixed-size window over TfrmQORMain. It shows what the model holds and
// hands every click, selection, tab change and keystroke of the user to the model, then shows the
// result. During a scan or run it pumps no messages and repaints only the progress page.
class WizardWindow {
 public:
  // Creates the form and its hidden dialog; `owner` is disabled while the dialog is modal.
  explicit WizardWindow(const WindowServices& services, HWND owner = nullptr,
                        engine::TEmailData& data = engine::olEmailData());
  ~WizardWindow();
  WizardWindow(const WizardWindow&) = delete;
  WizardWindow& operator=(const WizardWindow&) = delete;

  TfrmQORMain& Form() noexcept { return *form_; }
  HWND Handle() const noexcept { return dialog_.Get(); }
  const ControlWindows& Controls() const noexcept { return *controls_; }

  // FormShow, then the window appears; returns at once. For drivers that pump messages themselves.
  void Show();
  // FormShow, then the window appears and runs its own modal loop until the wizard closes.
  void ShowModal();

  // Called, again and again while it is open, with a message box the wizard shows.
  std::function<void(HWND box)> onMessageBoxShown;

 private:
  class Messages;
  class Display;

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, int code, HWND from);
  void OnNotify(const NMHDR& header);
  INT_PTR OnControlColour(HDC dc, HWND from);
  // Runs a user's action on the model, then shows its result.
  void UserAction(const std::function<void()>& action);
  // Handles the messages waiting for this thread, as the modal loop would, in the middle of a
  // scan or run.
  void AnswerMessages();
  void PlaceOnScreen();
  void KeepFocusOnAUsableControl();

  Scale scale_;
  WizardLook look_;
  CommonFileDialogs commonFiles_;
  std::unique_ptr<Messages> messages_;
  std::unique_ptr<Display> display_;
  std::unique_ptr<TfrmQORMain> form_;
  HWND owner_;
  platform::UniqueHwnd dialog_;
  std::unique_ptr<ControlWindows> controls_;
};

}  // namespace qor::wizard::win32
