// TcoQORSettings as the container sees it: IcoQORSettings's properties, each the form's own, and
// IDispatch over them from the library's type library.
#include "co_qor_settings.h"

#include <olectl.h>

#include "com/boundary.h"
#include "com/com_error.h"
#include "com/type_info_answer.h"
#include "framework/com_server.h"
#include "qorOutlook_TLB.h"

namespace qor::addin {
namespace {

VARIANT_BOOL AsVariantBool(bool value) noexcept { return value ? VARIANT_TRUE : VARIANT_FALSE; }

template <class T>
HRESULT Read(T* out, T value) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = value;
  return S_OK;
}

HRESULT ReadText(BSTR* out, const std::wstring& value) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return *out != nullptr || value.empty() ? S_OK : E_OUTOFMEMORY;
}

std::wstring TextOf(BSTR value) { return value == nullptr ? std::wstring() : std::wstring(value, SysStringLen(value)); }

}  // namespace

ITypeInfo& TcoQORSettings::DispatchInfo() {
  if (!dispatchInfo_)
    com::ThrowIfFailed(
        framework::ComServer::Instance().TypeLib().GetTypeInfoOfGuid(IID_IcoQORSettings, dispatchInfo_.Put()));
  return *dispatchInfo_;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::GetTypeInfoCount(UINT* count) noexcept { return Read(count, 1u); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  return com::AnswerTypeInfo(index, info, [this]() -> ITypeInfo& { return DispatchInfo(); });
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                                        DISPID* ids) noexcept {
  return com::Entry("TcoQORSettings.GetIDsOfNames",
                    [&] { return DispGetIDsOfNames(&DispatchInfo(), names, count, ids); });
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                                 VARIANT* result, EXCEPINFO* info, UINT* argumentError) noexcept {
  return com::Entry("TcoQORSettings.Invoke", [&]() -> HRESULT {
    return DispInvoke(static_cast<IcoQORSettings*>(this), &DispatchInfo(), id, flags, params, result, info,
                      argumentError);
  });
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Visible(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(visible_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Visible(VARIANT_BOOL value) noexcept {
  visible_ = value != VARIANT_FALSE;
  if (window_) ShowWindow(window_.Get(), visible_ ? SW_SHOW : SW_HIDE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_AutoScroll(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(autoScroll_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_AutoScroll(VARIANT_BOOL value) noexcept {
  autoScroll_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_AutoSize(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(autoSize_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_AutoSize(VARIANT_BOOL value) noexcept {
  autoSize_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_AxBorderStyle(TxActiveFormBorderStyle* value) noexcept {
  return Read(value, borderStyle_);
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_AxBorderStyle(TxActiveFormBorderStyle value) noexcept {
  if (value < afbNone || value > afbRaised) return E_INVALIDARG;
  borderStyle_ = value;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Caption(BSTR* value) noexcept { return ReadText(value, caption_); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Caption(BSTR value) noexcept {
  return com::Entry("TcoQORSettings.put_Caption", [&]() -> HRESULT {
    caption_ = TextOf(value);
    if (window_) SetWindowTextW(window_.Get(), caption_.c_str());
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Color(OLE_COLOR* value) noexcept { return Read(value, color_); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Color(OLE_COLOR value) noexcept {
  COLORREF resolved = 0;
  if (FAILED(OleTranslateColor(value, nullptr, &resolved))) return CTL_E_INVALIDPROPERTYVALUE;
  color_ = value;
  background_.Reset(CreateSolidBrush(resolved));
  if (window_) InvalidateRect(window_.Get(), nullptr, TRUE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_KeyPreview(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(keyPreview_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_KeyPreview(VARIANT_BOOL value) noexcept {
  keyPreview_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_PixelsPerInch(LONG* value) noexcept {
  return Read(value, static_cast<LONG>(dpi_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_PixelsPerInch(LONG value) noexcept {
  if (value <= 0) return E_INVALIDARG;
  if (!window_) dpi_ = static_cast<int>(value);  // the layout is made once, with the window
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_PrintScale(TxPrintScale* value) noexcept {
  return Read(value, printScale_);
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_PrintScale(TxPrintScale value) noexcept {
  if (value < poNone || value > poPrintToFit) return E_INVALIDARG;
  printScale_ = value;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Scaled(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(scaled_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Scaled(VARIANT_BOOL value) noexcept {
  scaled_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Active(VARIANT_BOOL* value) noexcept {
  const bool active = window_ && IsChild(window_.Get(), GetFocus());
  return Read(value, AsVariantBool(active));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_DropTarget(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(dropTarget_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_DropTarget(VARIANT_BOOL value) noexcept {
  dropTarget_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_HelpFile(BSTR* value) noexcept { return ReadText(value, helpFile_); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_HelpFile(BSTR value) noexcept {
  return com::Entry("TcoQORSettings.put_HelpFile", [&]() -> HRESULT {
    helpFile_ = TextOf(value);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_DoubleBuffered(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(doubleBuffered_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_DoubleBuffered(VARIANT_BOOL value) noexcept {
  doubleBuffered_ = value != VARIANT_FALSE;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_VisibleDockClientCount(LONG* value) noexcept { return Read(value, 0L); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Enabled(VARIANT_BOOL* value) noexcept {
  return Read(value, AsVariantBool(enabled_));
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Enabled(VARIANT_BOOL value) noexcept {
  enabled_ = value != VARIANT_FALSE;
  if (window_) EnableWindow(window_.Get(), enabled_ ? TRUE : FALSE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TcoQORSettings::get_Cursor(SHORT* value) noexcept { return Read(value, cursor_); }

HRESULT STDMETHODCALLTYPE TcoQORSettings::put_Cursor(SHORT value) noexcept {
  cursor_ = value;
  return S_OK;
}

}  // namespace qor::addin
