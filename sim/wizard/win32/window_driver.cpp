#include "wizard/win32/window_driver.h"

#include <commctrl.h>

#include "platform/wide_text_win32.h"
#include "wizard/win32/window_text.h"
#include "wizard/win32/capture/screen_capture.h"

namespace qor::wizard::win32 {

namespace {

using platform::NarrowToUtf8;

std::string TextOf(HWND window) { return NarrowToUtf8(WindowText(window)); }

std::string LinesOf(HWND window, bool combo) {
  const auto count = static_cast<int>(SendMessageW(window, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  std::string joined;
  for (int index = 0; index < count; ++index) {
    const auto length = SendMessageW(window, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
    std::wstring line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(window, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    if (index > 0) joined += '|';
    joined += NarrowToUtf8(line);
  }
  return joined;
}

// The colours a control would paint with, asked of its parent as the control itself asks.
struct PaintColours {
  COLORREF background;
  COLORREF text;
};

PaintColours ColoursOf(HWND window, UINT message) {
  const platform::UniqueScreenDc screen(GetDC(nullptr));
  const platform::UniqueMemoryDc dc(CreateCompatibleDC(screen.Get()));
  SendMessageW(GetParent(window), message, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(window));
  return {GetBkColor(dc.Get()), GetTextColor(dc.Get())};
}

std::string ColourName(COLORREF colour, int systemColour, const char* systemName) {
  if (colour == GetSysColor(systemColour)) return systemName;
  if (colour == GetSysColor(COLOR_BTNFACE)) return "btnface";
  return FormatColour(static_cast<Colour>(colour));
}

int SelectedIndex(HWND window, bool combo) {
  const auto index = SendMessageW(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

}  // namespace

bool WindowDriver::Closed() { return form_.Closed() || IsWindowVisible(dialog_) == FALSE; }

HWND WindowDriver::Window(const Control& control) const {
  return controls_ != nullptr ? controls_->Window(control) : ControlWindowIn(dialog_, form_, control);
}

bool WindowDriver::Usable(HWND window) {
  return IsWindowVisible(window) != FALSE && IsWindowEnabled(window) != FALSE && !Closed();
}

void WindowDriver::Settle() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(dialog_, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

bool WindowDriver::Click(Control& control) {
  const HWND window = Window(control);
  if (!Usable(window) || (control.Kind() != ControlKind::Button && control.Kind() != ControlKind::LinkButton &&
                          control.Kind() != ControlKind::CheckBox)) {
    return false;
  }
  SendMessageW(window, BM_CLICK, 0, 0);
  Settle();
  return true;
}

bool WindowDriver::Type(Edit& edit, const std::string& text) {
  const HWND window = Window(edit);
  if (!Usable(window) || (GetWindowLongW(window, GWL_STYLE) & ES_READONLY) != 0) return false;
  SetWindowTextW(window, platform::WidenUtf8(text).c_str());  // the edit box reports EN_CHANGE
  Settle();
  return true;
}

bool WindowDriver::Select(Control& list, int index) {
  const HWND window = Window(list);
  if (!Usable(window)) return false;
  const bool combo = list.Kind() == ControlKind::ComboBox;
  SendMessageW(window, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Setting the selection in code notifies nobody; a user's selection does.
  SendMessageW(GetParent(window), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(window), combo ? CBN_SELCHANGE : LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(window));
  Settle();
  return true;
}

bool WindowDriver::ShowTab(PageControl& pages, int index) {
  const HWND window = Window(pages);
  if (!pages.showTabs || !Usable(window)) return false;
  if (index < 0 || index >= static_cast<int>(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0))) return false;
  SendMessageW(window, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  NMHDR header{window, static_cast<UINT_PTR>(GetDlgCtrlID(window)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(GetParent(window), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  Settle();
  return true;
}

std::string WindowDriver::Property(Control& control, const std::string& property) {
  const HWND window = Window(control);
  if (property == "Enabled") return FormatBool(IsWindowEnabled(window) != FALSE);
  if (property == "Visible") return FormatBool(IsWindowVisible(window) != FALSE);
  if (property == "Checked") return FormatBool(SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED);
  if (property == "Text") return TextOf(window);
  if (property == "Items") return LinesOf(window, control.Kind() == ControlKind::ComboBox);
  if (property == "ItemIndex") return std::to_string(SelectedIndex(window, control.Kind() == ControlKind::ComboBox));
  if (property == "Color") return ColourName(ColoursOf(window, WM_CTLCOLOREDIT).background, COLOR_WINDOW, "window");
  if (property == "FontColor") {
    return ColourName(ColoursOf(window, WM_CTLCOLORSTATIC).text, COLOR_WINDOWTEXT, "windowtext");
  }
  if (property == "Position") return std::to_string(SendMessageW(window, PBM_GETPOS, 0, 0));
  if (property == "Min") return std::to_string(SendMessageW(window, PBM_GETRANGE, TRUE, 0));
  if (property == "Max") return std::to_string(SendMessageW(window, PBM_GETRANGE, FALSE, 0));
  // PageIndex: the selected tab, or for the pages without tabs the one sheet shown.
  auto& pages = static_cast<PageControl&>(control);
  if (pages.showTabs) return std::to_string(SendMessageW(window, TCM_GETCURSEL, 0, 0));
  int index = 0;
  for (HWND sheet = GetWindow(window, GW_CHILD); sheet != nullptr; sheet = GetWindow(sheet, GW_HWNDNEXT), ++index) {
    if (IsWindowVisible(sheet)) return std::to_string(index);
  }
  return "-1";
}

MessageBoxAnswerer::MessageBoxAnswerer(WizardWindow& window, ScriptAnswers& answers, std::ostream& out)
    : window_(window), answers_(answers), out_(out) {
  window_.onMessageBoxShown = [this](HWND box) { Answer(box); };
}

MessageBoxAnswerer::~MessageBoxAnswerer() { window_.onMessageBoxShown = nullptr; }

void MessageBoxAnswerer::Answer(HWND box) {
  if (box == answered_) return;
  if (!answers_.messageScreenshots.empty()) {
    // The box's own loop calls again every few milliseconds: wait there until it is on screen.
    if (box != seen_) {
      seen_ = box;
      seenAt_ = GetTickCount64();
    }
    if (GetTickCount64() - seenAt_ < kShowingMs) return;
    CaptureWizard(window_.Handle(), box, answers_.messageScreenshots.front());
    answers_.messageScreenshots.pop_front();
  }
  answered_ = box;
  const MessageRequest shown = ReadMessageBox(box);
  out_ << FormatMessageLine(shown) << '\n';
  int button = IDOK;
  switch (answers_.NextMessageAnswer(shown.buttons)) {
    case MessageResult::Yes:
      button = IDYES;
      break;
    case MessageResult::No:
      button = IDNO;
      break;
    default:
      break;
  }
  // Pressed once the box's loop takes the next message, as a user's click would arrive.
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
}

HWND FindShownWizard() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        wchar_t className[16] = {};
        GetClassNameW(window, className, 16);
        // A dialog whose pages are the wizard's sheets.
        if (IsWindowVisible(window) == FALSE || lstrcmpW(className, L"#32770") != 0 ||
            FindWindowExW(window, nullptr, kSheetClassName, nullptr) == nullptr) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(state) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void CaptureWizard(HWND dialog, HWND box, const std::string& file) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT area{};
  GetWindowRect(dialog, &area);
  RECT boxArea{};
  if (box != nullptr && GetWindowRect(box, &boxArea)) UnionRect(&area, &area, &boxArea);
  CaptureScreen(area, platform::WidenUtf8(file));
}

MessageRequest ReadMessageBox(HWND box) {
  MessageRequest shown;
  shown.caption = TextOf(box);
  shown.buttons = GetDlgItem(box, IDYES) != nullptr ? MessageButtons::YesNo : MessageButtons::Ok;
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
      shown.text = TextOf(child);
      continue;
    }
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (icon == LoadIconW(nullptr, IDI_EXCLAMATION)) shown.icon = MessageIcon::Exclamation;
    if (icon == LoadIconW(nullptr, IDI_HAND)) shown.icon = MessageIcon::Error;
    if (icon == LoadIconW(nullptr, IDI_ASTERISK)) shown.icon = MessageIcon::Information;
  }
  return shown;
}

}  // namespace qor::wizard::win32
