#include "co_qor_settings.h"

#include <olectl.h>

#include <algorithm>
#include <array>
#include <memory>

#include "com/boundary.h"
#include "com/com_error.h"
#include "com/connection_points.h"
#include "com/variant.h"
#include "framework/activex/active_form_control.h"
#include "framework/activex/active_form_factory.h"
#include "framework/com_server.h"
#include "framework/module_instance.h"
#include "platform/screen_dpi_win32.h"
#include "platform/services_win32.h"
#include "platform/unique_any_win32.h"
#include "platform/window_class_win32.h"
#include "qorOutlook_IMPL.h"
#include "qorOutlook_TLB.h"

namespace qor::addin {
namespace {

constexpr wchar_t kClassName[] = L"TcoQORSettings";
constexpr int kEdit1Id = 1;
constexpr int kBtnAddRulesId = 2;
constexpr DWORD kDesignedStatus = 0x12000;  // OLEMISC_SIMPLEFRAME | OLEMISC_ACTSLIKELABEL
constexpr int kToolboxBitmap = 1;
constexpr LONG kPropertiesVerb = 0;

// The events of IcoQORSettingsEvents.
constexpr DISPID kOnActivate = 1;
constexpr DISPID kOnClick = 2;
constexpr DISPID kOnCreate = 3;
constexpr DISPID kOnDblClick = 5;
constexpr DISPID kOnDestroy = 6;
constexpr DISPID kOnDeactivate = 7;
constexpr DISPID kOnKeyPress = 11;
constexpr DISPID kOnPaint = 16;

platform::Shell* fallbackShell = nullptr;

HFONT MakeFont(const wchar_t* face, int designedHeight, int weight, int dpi) {
  LOGFONTW font{};
  font.lfHeight = MulDiv(designedHeight, dpi, USER_DEFAULT_SCREEN_DPI);
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

// A label sizes itself to its caption, as the designed one does.
void FitToText(HWND label, HFONT font) {
  wchar_t text[64] = {};
  const int length = GetWindowTextW(label, text, 64);
  SIZE size{};
  if (const platform::WindowDc dc(label); dc) {
    const platform::GdiSelection selected(dc.Get(), font);
    GetTextExtentPoint32W(dc.Get(), text, length, &size);
  }
  RECT shown{};
  GetClientRect(label, &shown);
  SetWindowPos(label, nullptr, 0, 0, std::max<LONG>(shown.right, size.cx), std::max<LONG>(shown.bottom, size.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

COLORREF ColourOf(OLE_COLOR colour) {
  COLORREF resolved = 0;
  return SUCCEEDED(OleTranslateColor(colour, nullptr, &resolved)) ? resolved : GetSysColor(COLOR_BTNFACE);
}

}  // namespace

TcoQORSettings::TcoQORSettings() : dpi_(platform::ScreenDpi()) {}

// Delphi's parking window, which hosts reparented controls, goes with the form.
TcoQORSettings::~TcoQORSettings() {
  if (const HWND parking = FindWindowW(L"DAXParkingWindow", nullptr)) SendMessageW(parking, WM_CLOSE, 0, 0);
  if (window_) SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
  window_.Reset();  // while the edit box's original procedure is still known
}

void TcoQORSettings::SetFallbackShell(platform::Shell* shell) noexcept { fallbackShell = shell; }

HWND TcoQORSettings::CreateFormWindow(HWND parent) {
  // A class the library registered before COM unloaded and loaded it again is still there.
  platform::RegisterWindowClass(kClassName, DefWindowProcW, framework::ThisModule(), CS_DBLCLKS);
  font_.Reset(MakeFont(L"MS Sans Serif", -11, FW_NORMAL, dpi_));
  headingFont_.Reset(MakeFont(L"Arial", -29, FW_BOLD, dpi_));
  background_.Reset(CreateSolidBrush(ColourOf(color_)));
  window_.Reset(CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, caption_.c_str(), WS_CHILD | WS_CLIPCHILDREN, 0, 0,
                                Scaled(kWidth), Scaled(kHeight), parent, nullptr, framework::ThisModule(), nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the settings form");
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
  const auto child = [&](const wchar_t* kind, const wchar_t* text, DWORD style, RECT designed, int id, HFONT font) {
    const HWND made =
        CreateWindowExW(0, kind, text, WS_CHILD | WS_VISIBLE | style, Scaled(designed.left), Scaled(designed.top),
                        Scaled(designed.right), Scaled(designed.bottom), window_.Get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), framework::ThisModule(), nullptr);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return made;
  };
  Label1 = child(L"STATIC", L"QOR Settings", SS_LEFTNOWORDWRAP, {20, 5, 187, 34}, 0, headingFont_.Get());
  FitToText(Label1, headingFont_.Get());
  Edit1 = child(L"EDIT", L"Edit1", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, {28, 58, 121, 21}, kEdit1Id, font_.Get());
  btnAddRules =
      child(L"BUTTON", L"btnAddRules", WS_TABSTOP | BS_PUSHBUTTON, {264, 204, 105, 25}, kBtnAddRulesId, font_.Get());
  SetWindowLongPtrW(Edit1, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Edit1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
  Fire(kOnCreate);
  return window_.Get();
}

HRESULT TcoQORSettings::QueryFormInterface(REFIID iid, void** object) noexcept {
  *object = nullptr;
  if (iid == __uuidof(PropertyPage)) {
    *object = static_cast<PropertyPage*>(this);
  } else if (iid == IID_IcoQORSettings || iid == __uuidof(IDispatch)) {
    *object = static_cast<IcoQORSettings*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

// --- IUnknown: the control object's.

HRESULT STDMETHODCALLTYPE TcoQORSettings::QueryInterface(REFIID iid, void** object) noexcept {
  if (Control() == nullptr) return E_UNEXPECTED;
  return Control()->QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE TcoQORSettings::AddRef() noexcept { return Control() != nullptr ? Control()->AddRef() : 1; }

ULONG STDMETHODCALLTYPE TcoQORSettings::Release() noexcept { return Control() != nullptr ? Control()->Release() : 1; }

// --- PropertyPage

HRESULT STDMETHODCALLTYPE TcoQORSettings::GetPageInfo(BSTR* helpFile, LONG* helpContext) noexcept {
  if (helpFile == nullptr || helpContext == nullptr) return E_POINTER;
  *helpFile = SysAllocString(L"");
  *helpContext = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Dirty(VARIANT_BOOL* dirty) noexcept {
  if (dirty == nullptr) return E_POINTER;
  *dirty = FDirty;
  return S_OK;
}

// Nothing is stored: the page only tells Outlook that it was changed.
HRESULT STDMETHODCALLTYPE TcoQORSettings::Apply() noexcept {
  FDirty = VARIANT_FALSE;
  return S_OK;
}

void TcoQORSettings::GetPropertyPageSite() {
  if (FPropertyPageSite || Control() == nullptr || Control()->ClientSite() == nullptr) return;
  Control()->ClientSite()->QueryInterface(__uuidof(PropertyPageSite), FPropertyPageSite.PutVoid());
}

void TcoQORSettings::UpdatePropertyPageSite() {
  if (!FPropertyPageSite || FDirty != VARIANT_FALSE) return;
  FDirty = VARIANT_TRUE;
  com::ThrowIfFailed(FPropertyPageSite->OnStatusChange());
}

void TcoQORSettings::Edit1Change() {
  GetPropertyPageSite();
  UpdatePropertyPageSite();
}

// The editor starts whether or not the add-in is connected.
void TcoQORSettings::btnAddRulesClick() {
  if (adxcoqorOutlook != nullptr) return adxcoqorOutlook->AddBounceBackRule();
  if (fallbackShell != nullptr) return fallbackShell->Open("notepad.exe", "");
  platform::ShellExecuteShell().Open("notepad.exe", "");
}

// --- The window

void TcoQORSettings::Fire(DISPID id) {
  if (Control() != nullptr) Control()->FireEventArgs(id, {});
}

WCHAR TcoQORSettings::KeyPress(WCHAR key) {
  if (Control() == nullptr) return key;
  SHORT value = static_cast<SHORT>(key);
  const std::array<com::Variant, 1> args{com::Variant::ByRefShort(&value)};
  Control()->FireEventArgs(kOnKeyPress, args);
  return static_cast<WCHAR>(value);
}

LRESULT CALLBACK TcoQORSettings::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<TcoQORSettings*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT answer = 0;
  const bool answered = com::EntryOr("TcoQORSettings.WindowProc", false, [&] {
    answer = self->OnMessage(message, wParam, lParam);
    return true;
  });
  // A container's sink or the page site failed: the form goes on.
  return answered ? answer : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TcoQORSettings::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  auto* self = reinterpret_cast<TcoQORSettings*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_CHAR && self->keyPreview_) {
    // A container's OnKeyPress sink failing leaves the key as it was.
    com::PassingOver("TcoQORSettings.EditProc", [&] { wParam = self->KeyPress(static_cast<WCHAR>(wParam)); });
    if (wParam == 0) return 0;
  }
  return CallWindowProcW(self->editProc_, window, message, wParam, lParam);
}

LRESULT TcoQORSettings::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND window = window_.Get();
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kEdit1Id && HIWORD(wParam) == EN_CHANGE) Edit1Change();
      if (LOWORD(wParam) == kBtnAddRulesId && HIWORD(wParam) == BN_CLICKED) btnAddRulesClick();
      return 0;
    case WM_CTLCOLORSTATIC: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      if (reinterpret_cast<HWND>(lParam) == Label1) SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      return reinterpret_cast<LRESULT>(background_.Get());
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
      return 1;
    }
    case WM_PAINT: {
      const LRESULT painted = DefWindowProcW(window, message, wParam, lParam);
      Fire(kOnPaint);
      return painted;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
      return 0;
    }
    case WM_LBUTTONUP:
      Fire(kOnClick);
      return 0;
    case WM_LBUTTONDBLCLK:
      Fire(kOnDblClick);
      return 0;
    case WM_SETFOCUS:
      Fire(kOnActivate);
      SetFocus(Edit1);
      return 0;
    case WM_KILLFOCUS:
      Fire(kOnDeactivate);
      return 0;
    case WM_CHAR:
      if (KeyPress(static_cast<WCHAR>(wParam)) == 0) return 0;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DESTROY:
      Fire(kOnDestroy);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void InitializeCoQORSettingsUnit(framework::ComServer& server) {
  auto& factory = framework::ActiveFormFactory::Create(
      server, CLASS_coQORSettings, [] { return std::make_unique<TcoQORSettings>(); }, kToolboxBitmap, kDesignedStatus);
  factory.AddVerb(kPropertiesVerb, L"Properties");
}

}  // namespace qor::addin
