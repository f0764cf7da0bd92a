#include "options_page_window.h"

#include "addin_interfaces.h"
#include "com/com_error.h"
#include "com/dispatch_call.h"
#include "com/utf.h"
#include "platform/screen_dpi_win32.h"
#include "window_look.h"

namespace qor::tools::qorhost {
namespace {

constexpr int kWidth = 470;
constexpr int kHeight = 500;

void Check(HRESULT result, const std::string& what) {
  if (FAILED(result)) throw com::ComError(result, what);
}

}  // namespace

OptionsPageWindow::OptionsPageWindow(const std::string& progId, com::ComPtr<IDispatch> application, HWND owner) {
  RegisterOutlookWindowClass();
  const int dpi = platform::ScreenDpi();
  window_.Reset(CreateWindowExW(WS_EX_DLGMODALFRAME, kOutlookWindowClass, L"Options",
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, Scaled(120, dpi), Scaled(40, dpi),
                                Scaled(kWidth, dpi), Scaled(kHeight, dpi), owner, nullptr, GetModuleHandleW(nullptr),
                                nullptr));
  if (!window_) throw com::ComError(HRESULT_FROM_WIN32(GetLastError()), "cannot make the Options dialog");
  const auto session = com::Dispatch(application).Get("Session").ToDispatch();
  site_ = com::Make<standin::PropertyPageSiteObject>(std::move(application), session, window_.Get());

  CLSID classId{};
  Check(CLSIDFromProgID(com::ToUtf16(progId).c_str(), &classId), "no control is registered as " + progId);
  Check(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IOleObject), control_.PutVoid()),
        "cannot create " + progId);
  Check(control_->SetClientSite(site_.Get()), "cannot give " + progId + " its site");
  if (const auto persist = control_.TryAs<IPersistStreamInit>()) persist->InitNew();
  RECT page{};
  GetClientRect(window_.Get(), &page);
  InflateRect(&page, -Scaled(8, dpi), -Scaled(8, dpi));
  ShowWindow(window_.Get(), SW_SHOW);
  Check(control_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.Get(), 0, window_.Get(), &page),
        "cannot show " + progId);
  UpdateWindow(window_.Get());
}

OptionsPageWindow::~OptionsPageWindow() {
  if (!control_) return;
  control_->Close(OLECLOSE_NOSAVE);
  control_->SetClientSite(nullptr);
}

HRESULT OptionsPageWindow::Apply(bool& wasDirty) {
  wasDirty = false;
  const auto page = control_.TryAs<PropertyPage>();
  if (!page) return E_NOINTERFACE;
  VARIANT_BOOL dirty = VARIANT_FALSE;
  if (SUCCEEDED(page->get_Dirty(&dirty))) wasDirty = dirty != VARIANT_FALSE;
  return page->Apply();
}

}  // namespace qor::tools::qorhost
