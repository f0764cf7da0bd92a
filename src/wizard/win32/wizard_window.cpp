#include "wizard/win32/wizard_window.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "com/boundary.h"
#include "platform/screen_dpi_win32.h"
#include "platform/wide_text_win32.h"
#include "wizard/win32/window_text.h"

namespace qor::wizard::win32 {

namespace {

using platform::WidenUtf8;

constexpr int kClientWidth = 457;
constexpr int kClientHeight = 313;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
// Looks for the open message box while one is shown to someone who watches for it.
constexpr UINT_PTR kMessageBoxTimer = 1;
constexpr UINT kMessageBoxTimerMs = 10;

// An empty dialog template: the controls are made in code, in designed pixels.
struct EmptyTemplate {
  DLGTEMPLATE dialog;
  WORD menu = 0;
  WORD windowClass = 0;
  WORD title = 0;
};

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

// The visible window of this thread that `owner` owns, such as its message box; null if none.
HWND ShownPopupOf(HWND owner) {
  struct Search {
    HWND owner;
    HWND found;
  } search{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM state) CALLBACK -> BOOL {
        auto& s = *reinterpret_cast<Search*>(state);
        if (GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window)) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

// Real message boxes owned by the wizard.
class WizardWindow::Messages final : public MessageService {
 public:
  explicit Messages(WizardWindow& window) : window_(window) {}

  MessageResult Show(const MessageRequest& request) override {
    UINT flags = request.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (request.icon) {
      case MessageIcon::Exclamation:
        flags |= MB_ICONEXCLAMATION;
        break;
      case MessageIcon::Error:
        flags |= MB_ICONERROR;
        break;
      case MessageIcon::Information:
        flags |= MB_ICONINFORMATION;
        break;
      case MessageIcon::None:
        break;
    }
    const HWND owner = window_.Handle();
    const bool watched = static_cast<bool>(window_.onMessageBoxShown);
    if (watched) SetTimer(owner, kMessageBoxTimer, kMessageBoxTimerMs, nullptr);
    const int pressed = MessageBoxW(owner, WidenUtf8(request.text).c_str(), WidenUtf8(request.caption).c_str(), flags);
    if (watched) KillTimer(owner, kMessageBoxTimer);
    switch (pressed) {
      case IDYES:
        return MessageResult::Yes;
      case IDNO:
        return MessageResult::No;
      case IDCANCEL:
        return MessageResult::Cancel;
      default:
        return MessageResult::Ok;
    }
  }

 private:
  WizardWindow& window_;
};

// The progress page in the middle of a scan or run: the model already holds the label and the
// bar, so a repaint brings the page, label and bar over and paints them at once.
class WizardWindow::Display final : public engine::NullProgress {
 public:
  explicit Display(WizardWindow& window) : window_(window) {}

  void Repaint() override {
    if (!window_.controls_) return;
    window_.controls_->SyncProgress();
    RedrawWindow(window_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }

  // Between two items, every few dozen milliseconds, the window's messages are handled: it paints
  // and answers, so Windows never takes Outlook for hung, and "Close" may stop the step. The
  // form takes no other input meanwhile.
  void BetweenItems() override {
    constexpr ULONGLONG kAnswerEveryMs = 40;
    const ULONGLONG now = GetTickCount64();
    if (now - answered_ < kAnswerEveryMs) return;
    window_.AnswerMessages();
    answered_ = GetTickCount64();
  }

 private:
  WizardWindow& window_;
  ULONGLONG answered_ = 0;
};

WizardWindow::WizardWindow(const WindowServices& services, HWND owner, engine::TEmailData& data)
    : scale_(platform::ScreenDpi()),
      look_(scale_),
      messages_(std::make_unique<Messages>(*this)),
      display_(std::make_unique<Display>(*this)),
      form_(std::make_unique<TfrmQORMain>(
          WizardServices{services.outlook, services.platform, *messages_,
                         services.files != nullptr ? *services.files : commonFiles_, *display_,
                         services.usersAppFolderPath},
          data)),
      owner_(owner) {
  EnsureCommonControls();
  EmptyTemplate empty{};
  empty.dialog.style = kDialogStyle;
  dialog_.Reset(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &empty.dialog, owner, DialogProc,
                                           reinterpret_cast<LPARAM>(this)));
  if (!dialog_) throw std::runtime_error("cannot create the wizard's window");
  commonFiles_.SetOwner(dialog_.Get());
  SetWindowTextW(dialog_.Get(), L"QOR for Outlook");
  SendMessageW(dialog_.Get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(look_.BigIcon()));
  SendMessageW(dialog_.Get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(look_.SmallIcon()));
  SendMessageW(dialog_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(look_.Font()), FALSE);
  PlaceOnScreen();
  controls_ = std::make_unique<ControlWindows>(*form_, dialog_.Get(), scale_, look_);
  SendMessageW(dialog_.Get(), DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(controls_->Window(form_->btnNext))), 0);
  form_->onClose = [this] { ShowWindow(dialog_.Get(), SW_HIDE); };
}

WizardWindow::~WizardWindow() {
  // The dialog goes before the form and the services its procedure reaches.
  dialog_.Reset();
}

void WizardWindow::PlaceOnScreen() {
  RECT frame{0, 0, scale_(kClientWidth), scale_(kClientHeight)};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT around{};
  if (owner_ == nullptr || !GetWindowRect(owner_, &around)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
  }
  const int left = (std::max)(0L, around.left + (around.right - around.left - width) / 2);
  const int top = (std::max)(0L, around.top + (around.bottom - around.top - height) / 2);
  SetWindowPos(dialog_.Get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardWindow::Show() {
  form_->FormShow();
  controls_->SyncAll();
  ShowWindow(dialog_.Get(), SW_SHOW);
  KeepFocusOnAUsableControl();
  UpdateWindow(dialog_.Get());
}

void WizardWindow::ShowModal() {
  const bool disableOwner = owner_ != nullptr && IsWindowEnabled(owner_);
  if (disableOwner) EnableWindow(owner_, FALSE);
  std::optional<WPARAM> quit;
  try {
    Show();
    MSG message{};
    while (!form_->Closed()) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == 0) {
        quit = message.wParam;
        break;
      }
      if (got == -1) break;
      if (!IsDialogMessageW(dialog_.Get(), &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
  } catch (...) {
    if (disableOwner) EnableWindow(owner_, TRUE);
    throw;
  }
  // The owner is enabled before the dialog hides, so that Windows hands it the activation.
  if (disableOwner) EnableWindow(owner_, TRUE);
  ShowWindow(dialog_.Get(), SW_HIDE);
  if (quit) PostQuitMessage(static_cast<int>(*quit));
}

INT_PTR CALLBACK WizardWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;  // focus is set once the controls exist
  }
  auto* self = reinterpret_cast<WizardWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr || !self->controls_) return FALSE;
  // Nothing may escape into the window manager.
  return com::EntryOr("WizardWindow.DialogProc", INT_PTR{FALSE},
                      [&] { return self->OnMessage(message, wParam, lParam); });
}

INT_PTR WizardWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      DrawLinkButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), look_.LinkFont());
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_TIMER:
      // The message box's own loop dispatches the timer; the box is the popup the dialog owns.
      if (wParam == kMessageBoxTimer && onMessageBoxShown) {
        if (const HWND box = ShownPopupOf(dialog_.Get())) onMessageBoxShown(box);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

void WizardWindow::AnswerMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Outlook is ending: the quit is posted again for the loop that owns it, which meets it once
      // the step is over.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!IsDialogMessageW(dialog_.Get(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void WizardWindow::UserAction(const std::function<void()>& action) {
  action();
  if (form_->Closed()) return;
  controls_->SyncAll();
  KeepFocusOnAUsableControl();
}

void WizardWindow::OnCommand(int id, int code, HWND from) {
  // Esc and the close box come as IDCANCEL; both are the "Close" button.
  if (id == IDCANCEL) return UserAction([this] { form_->UserClick(form_->btnCancel); });
  Control* control = controls_->ControlOfId(id);
  if (control == nullptr || from == nullptr) return;
  switch (control->Kind()) {
    case ControlKind::Button:
    case ControlKind::LinkButton:
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) UserAction([&] { form_->UserClick(*control); });
      break;
    case ControlKind::ListBox:
      if (code == LBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(from, LB_GETCURSEL, 0, 0));
        UserAction([&] { form_->UserSelect(*control, index); });
      }
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) {
        const auto index = static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0));
        UserAction([&] { form_->UserSelect(*control, index); });
      }
      break;
    case ControlKind::Edit:
      if (code == EN_CHANGE && !controls_->Syncing()) {
        form_->UserType(static_cast<Edit&>(*control), platform::NarrowToUtf8(WindowText(from)));
      }
      break;
    default:
      break;
  }
}

void WizardWindow::OnNotify(const NMHDR& header) {
  if (header.code != static_cast<UINT>(TCN_SELCHANGE)) return;
  auto* pages = dynamic_cast<PageControl*>(controls_->ControlOf(header.hwndFrom));
  if (pages == nullptr) return;
  const auto index = static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0));
  UserAction([&] { form_->UserShowTab(*pages, index); });
}

INT_PTR WizardWindow::OnControlColour(HDC dc, HWND from) {
  const Control* control = controls_->ControlOf(from);
  if (const auto* edit = dynamic_cast<const Edit*>(control)) {
    SetBkColor(dc, ToColorRef(edit->colour));
    SetTextColor(dc, GetSysColor(edit->Enabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    return reinterpret_cast<INT_PTR>(look_.Brush(edit->colour));
  }
  if (const auto* label = dynamic_cast<const Label*>(control)) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, ToColorRef(label->fontColour));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return FALSE;
}

void WizardWindow::KeepFocusOnAUsableControl() {
  const HWND focus = GetFocus();
  if (focus != nullptr && IsChild(dialog_.Get(), focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) return;
  const HWND next = controls_->Window(form_->btnNext);
  const HWND target = IsWindowEnabled(next) ? next : controls_->Window(form_->btnCancel);
  SendMessageW(dialog_.Get(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

}  // namespace qor::wizard::win32
