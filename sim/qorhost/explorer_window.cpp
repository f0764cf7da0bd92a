#include "explorer_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "com/com_error.h"
#include "com/utf.h"
#include "host/memory/memory_item.h"
#include "platform/screen_dpi_win32.h"
#include "window_look.h"

namespace qor::tools::qorhost {
namespace {

constexpr int kWidth = 860;
constexpr int kHeight = 560;
constexpr int kTreeWidth = 230;
constexpr UINT kExitCommand = 1;
constexpr UINT_PTR kTreeId = 10;
constexpr UINT_PTR kListId = 11;
constexpr UINT_PTR kStatusId = 12;

HMENU MenuBar() {
  const HMENU bar = CreateMenu();
  const HMENU file = CreatePopupMenu();
  const HMENU tools = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kExitCommand, L"E&xit");
  AppendMenuW(tools, MF_STRING, ExplorerWindow::kAddinsCommand, L"COM A&dd-Ins...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), L"&Tools");
  return bar;
}

HWND Child(HWND parent, const wchar_t* windowClass, DWORD style, UINT_PTR id, HFONT font) {
  const HWND child = CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                     reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
  if (child == nullptr) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the explorer's panes");
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

ExplorerWindow::ExplorerWindow(host::memory::MemoryOutlook& mailbox, std::shared_ptr<MemoryFolder> folder,
                               Handlers handlers, WindowFailures& failures)
    : handlers_(std::move(handlers)), failures_(failures), dpi_(platform::ScreenDpi()), font_(MessageFont()) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterOutlookWindowClass();
  window_.Reset(CreateWindowExW(0, kOutlookWindowClass, L"Microsoft Outlook", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                0, Scaled(kWidth, dpi_), Scaled(kHeight, dpi_), nullptr, MenuBar(),
                                GetModuleHandleW(nullptr), nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make Outlook's window");
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));

  tree_ = Child(window_.Get(), WC_TREEVIEWW,
                WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, kTreeId,
                font_.Get());
  list_ = Child(window_.Get(), WC_LISTVIEWW,
                WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, kListId,
                font_.Get());
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(list_, 0, L"Subject", Scaled(380, dpi_));
  AddColumn(list_, 1, L"Class", Scaled(170, dpi_));
  status_ = Child(window_.Get(), STATUSCLASSNAMEW, 0, kStatusId, font_.Get());

  quiet_ = true;
  folders_.emplace(tree_, mailbox.Stores());
  quiet_ = false;
  Layout();
  ShowFolder(std::move(folder));
}

ExplorerWindow::~ExplorerWindow() {
  // No handler runs for what destroying the window sends.
  if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

void ExplorerWindow::Show() {
  ShowWindow(window_.Get(), SW_SHOWNORMAL);
  UpdateWindow(window_.Get());
  SetForegroundWindow(window_.Get());
}

void ExplorerWindow::ShowFolder(const std::shared_ptr<MemoryFolder>& folder) {
  folder_ = folder;
  if (folder) {
    quiet_ = true;
    folders_->Select(*folder);
    quiet_ = false;
  }
  UpdateCaption();
  RefreshItems();
}

void ExplorerWindow::RefreshItems() {
  items_ = folder_ ? folder_->ItemsInOrder() : decltype(items_){};
  SendMessageW(list_, LVM_SETITEMCOUNT, items_.size(), 0);
  InvalidateRect(list_, nullptr, TRUE);
  const std::wstring count = std::to_wstring(items_.size()) + (items_.size() == 1 ? L" Item" : L" Items");
  SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(count.c_str()));
}

void ExplorerWindow::UpdateCaption() {
  const std::wstring caption =
      (folder_ ? com::ToUtf16(folder_->DisplayName()) + L" - " : std::wstring()) + L"Microsoft Outlook";
  SetWindowTextW(window_.Get(), caption.c_str());
}

void ExplorerWindow::Layout() {
  RECT client{};
  GetClientRect(window_.Get(), &client);
  SendMessageW(status_, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(status_, &status);
  const int height = std::max(0L, client.bottom - (status.bottom - status.top));
  const int treeWidth = Scaled(kTreeWidth, dpi_);
  MoveWindow(tree_, 0, 0, treeWidth, height, TRUE);
  MoveWindow(list_, treeWidth, 0, std::max(0L, client.right - treeWidth), height, TRUE);
}

bool ExplorerWindow::CentreOf(const MemoryFolder& folder, POINT& point) {
  const HTREEITEM item = folders_->ItemOf(folder);
  if (item == nullptr) return false;
  SendMessageW(tree_, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
  RECT rect{};
  *reinterpret_cast<HTREEITEM*>(&rect) = item;
  if (!SendMessageW(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) return false;
  point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  return true;
}

bool ExplorerWindow::SendClick(const MemoryFolder& folder, UINT down, UINT up, WPARAM buttons) {
  POINT point{};
  if (!IsWindowEnabled(window_.Get()) || !CentreOf(folder, point)) return false;
  POINT screen = point;
  ClientToScreen(tree_, &screen);
  SetCursorPos(screen.x, screen.y);
  // The tree follows the button while it is down: the release waits in the queue for it.
  PostMessageW(tree_, up, 0, MAKELPARAM(point.x, point.y));
  SendMessageW(tree_, down, buttons, MAKELPARAM(point.x, point.y));
  failures_.Rethrow();
  return true;
}

bool ExplorerWindow::ClickFolder(const MemoryFolder& folder) {
  return SendClick(folder, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
}

bool ExplorerWindow::RightClickFolder(const MemoryFolder& folder) {
  return SendClick(folder, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
}

LRESULT CALLBACK ExplorerWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<ExplorerWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    self->failures_.Catch();
    return 0;
  }
}

LRESULT ExplorerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kExitCommand) PostMessageW(window_.Get(), WM_CLOSE, 0, 0);
      if (LOWORD(wParam) == kAddinsCommand && handlers_.addinsDialog) handlers_.addinsDialog();
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CLOSE:
      if (handlers_.closing) handlers_.closing();
      return 0;
    default:
      return DefWindowProcW(window_.Get(), message, wParam, lParam);
  }
}

LRESULT ExplorerWindow::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == tree_ && header.code == TVN_SELCHANGINGW && !quiet_) {
    const auto folder = folders_->FolderOf(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
    if (!folder || folder == folder_) return FALSE;
    if (handlers_.folderSelected && !handlers_.folderSelected(folder)) return TRUE;
    folder_ = folder;
    UpdateCaption();
    RefreshItems();
    return FALSE;
  }
  if (header.hwndFrom == tree_ && header.code == NM_RCLICK) {
    const DWORD position = GetMessagePos();
    TVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    const POINT screen = hit.pt;
    ScreenToClient(tree_, &hit.pt);
    const auto folder = folders_->FolderOf(
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
    if (folder && handlers_.folderMenu) handlers_.folderMenu(folder, screen);
    return TRUE;
  }
  if (header.hwndFrom == list_ && header.code == LVN_GETDISPINFOW) {
    auto& display = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
    const auto row = static_cast<std::size_t>(display.item.iItem);
    if ((display.item.mask & LVIF_TEXT) == 0 || row >= items_.size()) return 0;
    const auto& item = *items_[row];
    const std::string text = display.item.iSubItem == 0 ? item.StoredSubject()
                                                        : std::string(host::memory::MessageClassOf(item.StoredClass()));
    lstrcpynW(display.item.pszText, com::ToUtf16(text).c_str(), display.item.cchTextMax);
    return 0;
  }
  if (header.hwndFrom == list_ && header.code == NM_DBLCLK) {
    const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    if (row >= 0 && static_cast<std::size_t>(row) < items_.size() && handlers_.itemOpened)
      handlers_.itemOpened(items_[row]->StoredEntryId());
    return 0;
  }
  return 0;
}

}  // namespace qor::tools::qorhost
