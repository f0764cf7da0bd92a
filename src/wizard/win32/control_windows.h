#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "wizard/model/frm_qor_main.h"
#include "wizard/win32/wizard_look.h"

namespace qor::wizard::win32 {

// The real child windows of the wizard's controls: made once from the model, then brought up to
// date with it. Every page and tab sheet is a container window of its own, so that showing a page
// shows exactly its controls and the dialog manager's Tab key walks them in reading order.
class ControlWindows {
 public:
  ControlWindows(TfrmQORMain& form, HWND dialog, const Scale& scale, WizardLook& look);
  ControlWindows(const ControlWindows&) = delete;
  ControlWindows& operator=(const ControlWindows&) = delete;

  HWND Window(const Control& control) const { return windows_.at(&control); }
  // The control a child window or command id belongs to; null for anything else.
  Control* ControlOf(HWND window) const;
  Control* ControlOfId(int id) const;

  // Makes every window show what the model holds.
  void SyncAll();
  // Only the pages, the progress label and the bar, for repaints in the middle of a scan or run.
  void SyncProgress();
  // True while SyncAll writes into edit boxes, whose change notifications are then not the user's.
  bool Syncing() const noexcept { return syncing_; }

 private:
  HWND Create(const Control& control, int id);
  void CreateSheets(const PageControl& pages, HWND parent, RECT area);
  HWND ParentOf(const Control& control) const;
  void SyncPages(const PageControl& pages);
  void SyncLines(const Control& control, const engine::StringListModel& lines);
  void SyncLabel(const Label& label);
  void SyncBar(const ProgressBar& bar);

  TfrmQORMain& form_;
  HWND dialog_;
  const Scale& scale_;
  WizardLook& look_;
  HWND tooltip_ = nullptr;
  std::unordered_map<const Control*, HWND> windows_;
  std::unordered_map<HWND, Control*> controls_;
  std::map<const TabSheet*, HWND> sheets_;
  // What each list window holds, so that a change touches only the lines that changed.
  std::unordered_map<const Control*, std::vector<std::string>> shownLines_;
  std::unordered_map<const Control*, Colour> shownColours_;
  bool syncing_ = false;
};

inline constexpr wchar_t kSheetClassName[] = L"QorWizardSheet";

// The container window class of pages and tab sheets: it passes its children's notifications on
// to the dialog. Registered once per process.
const wchar_t* SheetClassName();

// The window of `control` in a dialog whose windows ControlWindows made for a form of `form`'s
// design, found by its command id, as a program outside the wizard's module finds it; null if none.
HWND ControlWindowIn(HWND dialog, const TfrmQORMain& form, const Control& control);

}  // namespace qor::wizard::win32
