#include "wizard/win32/control_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "platform/wide_text_win32.h"
#include "platform/window_class_win32.h"
#include "wizard/win32/window_text.h"

namespace qor::wizard::win32 {

namespace {

constexpr int kFirstControlId = 1000;
constexpr int kDropDownHeight = 120;

using platform::WidenUtf8;

LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_SETCURSOR:
      // Link-style buttons take the hand, like links.
      if ((GetWindowLongW(reinterpret_cast<HWND>(wParam), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void SetText(HWND window, const std::string& text) {
  const std::wstring wide = WidenUtf8(text);
  if (WindowText(window) != wide) SetWindowTextW(window, wide.c_str());
}

void SetEnabled(HWND window, bool enabled) {
  if ((IsWindowEnabled(window) != FALSE) != enabled) EnableWindow(window, enabled ? TRUE : FALSE);
}

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowKind KindOf(const TfrmQORMain& form, const Control& control) {
  constexpr DWORD tab = WS_TABSTOP;
  switch (control.Kind()) {
    case ControlKind::Button:
      return {L"BUTTON", tab | (&control == &form.btnNext ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
    case ControlKind::LinkButton:
      return {L"BUTTON", tab | BS_OWNERDRAW, 0};
    case ControlKind::CheckBox:
      return {L"BUTTON", tab | BS_CHECKBOX, 0};
    case ControlKind::Edit:
      return {L"EDIT", tab | ES_AUTOHSCROLL | (static_cast<const Edit&>(control).readOnly ? ES_READONLY : 0),
              WS_EX_CLIENTEDGE};
    case ControlKind::ListBox:
      return {L"LISTBOX", tab | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox:
      return {L"COMBOBOX", tab | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::Label:
      return {L"STATIC",
              static_cast<DWORD>(SS_NOPREFIX |
                                 (static_cast<const Label&>(control).style.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)),
              0};
    case ControlKind::ProgressBar:
      return {PROGRESS_CLASSW, PBS_SMOOTH, 0};
    case ControlKind::PageControl:
      break;
  }
  const auto& pages = static_cast<const PageControl&>(control);
  if (pages.showTabs) return {WC_TABCONTROLW, tab | WS_CLIPSIBLINGS, 0};
  return {SheetClassName(), 0, WS_EX_CONTROLPARENT};
}

std::string Caption(const Control& control) {
  if (const auto* button = dynamic_cast<const Button*>(&control)) return button->caption;
  if (const auto* box = dynamic_cast<const CheckBox*>(&control)) return box->caption;
  if (const auto* label = dynamic_cast<const Label*>(&control)) return label->caption;
  if (const auto* edit = dynamic_cast<const Edit*>(&control)) return edit->text;
  return {};
}

}  // namespace

const wchar_t* SheetClassName() {
  static const wchar_t* const name = [] {
    platform::RegisterWindowClass(kSheetClassName, SheetProc, GetModuleHandleW(nullptr), 0,
                                  reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return kSheetClassName;
  }();
  return name;
}

ControlWindows::ControlWindows(TfrmQORMain& form, HWND dialog, const Scale& scale, WizardLook& look)
    : form_(form), dialog_(dialog), scale_(scale), look_(look) {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  int id = kFirstControlId;
  for (Control* control : form.Controls()) {
    const HWND window = Create(*control, id++);
    windows_[control] = window;
    controls_[window] = control;
  }
  for (auto& [control, window] : windows_) {
    if (control->hint.empty() || tooltip_ == nullptr) continue;
    std::wstring hint = WidenUtf8(control->hint);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = hint.data();
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

HWND ControlWindows::ParentOf(const Control& control) const {
  return control.Sheet() == nullptr ? dialog_ : sheets_.at(control.Sheet());
}

HWND ControlWindows::Create(const Control& control, int id) {
  const WindowKind kind = KindOf(form_, control);
  RECT area = scale_.Rect(control.BoundsRect());
  if (control.Kind() == ControlKind::ComboBox) area.bottom += scale_(kDropDownHeight);
  const HWND window = CreateWindowExW(
      kind.exStyle, kind.className, WidenUtf8(Caption(control)).c_str(), WS_CHILD | WS_VISIBLE | kind.style,
      area.left, area.top, area.right - area.left, area.bottom - area.top, ParentOf(control),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) throw std::runtime_error("cannot create the wizard's control " + control.Name());
  const auto* label = dynamic_cast<const Label*>(&control);
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(label && label->style.bold ? look_.BoldFont()
                                                            : control.Kind() == ControlKind::LinkButton
                                                                ? look_.LinkFont()
                                                                : look_.Font()),
               FALSE);

  if (const auto* pages = dynamic_cast<const PageControl*>(&control)) {
    RECT inside{0, 0, area.right - area.left, area.bottom - area.top};
    if (pages->showTabs) {
      for (const auto& sheet : pages->Sheets()) {
        std::wstring caption = WidenUtf8(sheet->caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(window, TCM_INSERTITEMW, sheet->index, reinterpret_cast<LPARAM>(&item));
      }
      // The tab control keeps only its strip and frame: its sheets are siblings in the hole, so
      // that the dialog manager reaches both the tabs and the controls on the sheets.
      SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
      platform::UniqueHrgn frame(CreateRectRgn(0, 0, area.right - area.left, area.bottom - area.top));
      const platform::UniqueHrgn hole(CreateRectRgnIndirect(&inside));
      CombineRgn(frame.Get(), frame.Get(), hole.Get(), RGN_DIFF);
      if (SetWindowRgn(window, frame.Get(), FALSE)) frame.Release();  // the window owns it now
      OffsetRect(&inside, area.left, area.top);
      CreateSheets(*pages, ParentOf(control), inside);
    } else {
      CreateSheets(*pages, window, inside);
    }
  }
  return window;
}

void ControlWindows::CreateSheets(const PageControl& pages, HWND parent, RECT area) {
  for (const auto& sheet : pages.Sheets()) {
    const HWND window = CreateWindowExW(
        WS_EX_CONTROLPARENT | (sheet->sunken ? WS_EX_CLIENTEDGE : 0), SheetClassName(), nullptr,
        WS_CHILD | WS_CLIPSIBLINGS | (sheet->index == pages.PageIndex() ? WS_VISIBLE : 0), area.left, area.top,
        area.right - area.left, area.bottom - area.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) throw std::runtime_error("cannot create the wizard's page " + sheet->name);
    sheets_[sheet.get()] = window;
  }
}

HWND ControlWindowIn(HWND dialog, const TfrmQORMain& form, const Control& control) {
  const auto& controls = form.Controls();
  const auto at = std::find(controls.begin(), controls.end(), &control);
  if (at == controls.end()) return nullptr;
  struct Search {
    int id;
    HWND found;
  } search{kFirstControlId + static_cast<int>(at - controls.begin()), nullptr};
  EnumChildWindows(
      dialog,
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        auto& s = *reinterpret_cast<Search*>(state);
        if (GetDlgCtrlID(window) != s.id) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Control* ControlWindows::ControlOf(HWND window) const {
  const auto found = controls_.find(window);
  return found == controls_.end() ? nullptr : found->second;
}

Control* ControlWindows::ControlOfId(int id) const {
  const auto& all = form_.Controls();
  const int index = id - kFirstControlId;
  return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index)] : nullptr;
}

void ControlWindows::SyncPages(const PageControl& pages) {
  if (pages.showTabs) {
    const HWND tabs = Window(pages);
    if (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) != pages.PageIndex()) {
      SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(pages.PageIndex()), 0);
    }
  }
  // Show the new sheet before hiding the old one, so nothing behind them flashes.
  for (const auto& sheet : pages.Sheets()) {
    if (sheet->index == pages.PageIndex()) ShowWindow(sheets_.at(sheet.get()), SW_SHOWNA);
  }
  for (const auto& sheet : pages.Sheets()) {
    if (sheet->index != pages.PageIndex()) ShowWindow(sheets_.at(sheet.get()), SW_HIDE);
  }
}

void ControlWindows::SyncLines(const Control& control, const engine::StringListModel& lines) {
  const HWND window = Window(control);
  const bool combo = control.Kind() == ControlKind::ComboBox;
  auto& shown = shownLines_[&control];
  const auto& wanted = lines.items;
  if (shown != wanted) {
    // Only the lines between the common beginning and end change: one exclusion is one deletion.
    std::size_t prefix = 0;
    while (prefix < shown.size() && prefix < wanted.size() && shown[prefix] == wanted[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shown.size() - prefix && suffix < wanted.size() - prefix &&
           shown[shown.size() - 1 - suffix] == wanted[wanted.size() - 1 - suffix]) {
      ++suffix;
    }
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    for (std::size_t n = shown.size() - prefix - suffix; n > 0; --n) {
      SendMessageW(window, combo ? CB_DELETESTRING : LB_DELETESTRING, prefix, 0);
    }
    for (std::size_t at = prefix; at < wanted.size() - suffix; ++at) {
      SendMessageW(window, combo ? CB_INSERTSTRING : LB_INSERTSTRING, at,
                   reinterpret_cast<LPARAM>(WidenUtf8(wanted[at]).c_str()));
    }
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
    shown = wanted;
  }
  const auto selected = static_cast<int>(SendMessageW(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
  if (selected != lines.itemIndex) {
    SendMessageW(window, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(lines.itemIndex), 0);
  }
}

void ControlWindows::SyncLabel(const Label& label) {
  const HWND window = Window(label);
  SetText(window, label.caption);
  auto& shown = shownColours_.try_emplace(&label, label.fontColour).first->second;
  if (shown != label.fontColour) {
    shown = label.fontColour;
    InvalidateRect(window, nullptr, TRUE);
  }
}

void ControlWindows::SyncBar(const ProgressBar& bar) {
  const HWND window = Window(bar);
  if (SendMessageW(window, PBM_GETRANGE, TRUE, 0) != bar.minimum ||
      SendMessageW(window, PBM_GETRANGE, FALSE, 0) != bar.maximum) {
    SendMessageW(window, PBM_SETRANGE32, static_cast<WPARAM>(bar.minimum), bar.maximum);
  }
  if (SendMessageW(window, PBM_GETPOS, 0, 0) != bar.position) {
    SendMessageW(window, PBM_SETPOS, static_cast<WPARAM>(bar.position), 0);
  }
}

void ControlWindows::SyncProgress() {
  SyncPages(form_.pgTabs);
  SyncLabel(form_.lblProgress);
  SyncBar(form_.prgBar);
}

void ControlWindows::SyncAll() {
  struct SyncingScope {
    bool& flag;
    ~SyncingScope() { flag = false; }
  } scope{syncing_ = true};
  for (Control* control : form_.Controls()) {
    const HWND window = Window(*control);
    SetEnabled(window, control->Enabled());
    if (auto* pages = dynamic_cast<PageControl*>(control)) {
      SyncPages(*pages);
    } else if (auto* box = dynamic_cast<CheckBox*>(control)) {
      SetText(window, box->caption);
      const WPARAM state = box->Checked() ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(window, BM_GETCHECK, 0, 0)) != state) {
        SendMessageW(window, BM_SETCHECK, state, 0);
      }
    } else if (auto* button = dynamic_cast<Button*>(control)) {
      SetText(window, button->caption);
    } else if (auto* edit = dynamic_cast<Edit*>(control)) {
      SetText(window, edit->text);
      auto& shown = shownColours_.try_emplace(edit, edit->colour).first->second;
      if (shown != edit->colour) {
        shown = edit->colour;
        InvalidateRect(window, nullptr, TRUE);
      }
    } else if (auto* list = dynamic_cast<ListBox*>(control)) {
      SyncLines(*list, list->lines);
    } else if (auto* combo = dynamic_cast<ComboBox*>(control)) {
      SyncLines(*combo, combo->lines);
    } else if (auto* label = dynamic_cast<Label*>(control)) {
      SyncLabel(*label);
    } else if (auto* bar = dynamic_cast<ProgressBar*>(control)) {
      SyncBar(*bar);
    }
  }
}

}  // namespace qor::wizard::win32
