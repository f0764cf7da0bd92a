#pragma once

// TcoQORSettings: the options page the library publishes as the ActiveX control
// "qorOutlook.coQORSettings". A heading, one edit box whose changes mark the page as changed for
// Outlook's page site, and a button that starts the text editor. Besides the control object's
// interfaces it answers Outlook's PropertyPage and IcoQORSettings itself.

#include <windows.h>

#include <string>

#include "addin_interfaces.h"
#include "com/com_ptr.h"
#include "framework/activex/active_form.h"
#include "platform/services.h"
#include "platform/unique_any_win32.h"
#include "qorOutlook.h"

namespace qor::framework {
class ComServer;
}

namespace qor::addin {

class TcoQORSettings final : public framework::TActiveForm, public PropertyPage, public IcoQORSettings {
 public:
  TcoQORSettings();
  ~TcoQORSettings() override;

  // Where "btnAddRules" starts the editor while no add-in module is connected; the Windows shell
  // unless a test says otherwise.
  static void SetFallbackShell(platform::Shell* shell) noexcept;

  SIZE DesignedSize() const override { return {kWidth, kHeight}; }
  HWND CreateFormWindow(HWND parent) override;
  HWND Handle() const noexcept override { return window_.Get(); }
  HRESULT QueryFormInterface(REFIID iid, void** object) noexcept override;

  VARIANT_BOOL Dirty() const noexcept { return FDirty; }

  // IUnknown: the control object's identity.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;

  // IDispatch: IcoQORSettings, from the library's type library.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override;

  // PropertyPage
  HRESULT STDMETHODCALLTYPE GetPageInfo(BSTR* helpFile, LONG* helpContext) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Dirty(VARIANT_BOOL* dirty) noexcept override;
  HRESULT STDMETHODCALLTYPE Apply() noexcept override;

  // IcoQORSettings (co_qor_settings_properties.cpp)
  HRESULT STDMETHODCALLTYPE get_Visible(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Visible(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_AutoScroll(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_AutoScroll(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_AutoSize(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_AutoSize(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_AxBorderStyle(TxActiveFormBorderStyle* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_AxBorderStyle(TxActiveFormBorderStyle value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_KeyPreview(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_KeyPreview(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_PixelsPerInch(LONG* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_PixelsPerInch(LONG value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_PrintScale(TxPrintScale* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_PrintScale(TxPrintScale value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Scaled(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Scaled(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Active(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_DropTarget(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_DropTarget(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_HelpFile(BSTR* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_HelpFile(BSTR value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_DoubleBuffered(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_DoubleBuffered(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_VisibleDockClientCount(LONG* value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Cursor(SHORT* value) noexcept override;
  HRESULT STDMETHODCALLTYPE put_Cursor(SHORT value) noexcept override;

  // Handlers, named after their control and event.
  void Edit1Change();
  void btnAddRulesClick();

 private:
  static constexpr int kWidth = 440;
  static constexpr int kHeight = 450;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The page site Outlook's Options dialog gives, taken from the client site on first need.
  void GetPropertyPageSite();
  void UpdatePropertyPageSite();
  // An event of IcoQORSettingsEvents to the container's sink.
  void Fire(DISPID id);
  // The key a key-press handler leaves: 0 swallows it.
  WCHAR KeyPress(WCHAR key);
  ITypeInfo& DispatchInfo();
  int Scaled(int pixels) const noexcept { return MulDiv(pixels, dpi_, USER_DEFAULT_SCREEN_DPI); }

  VARIANT_BOOL FDirty = VARIANT_FALSE;
  com::ComPtr<PropertyPageSite> FPropertyPageSite;

  // The form's properties as the container sees them.
  std::wstring caption_ = L"coQORSettings";
  std::wstring helpFile_;
  OLE_COLOR color_ = 0x8000000F;  // the colour of button faces
  TxActiveFormBorderStyle borderStyle_ = afbNone;
  TxPrintScale printScale_ = poProportional;
  bool autoScroll_ = false;
  bool autoSize_ = false;
  bool keyPreview_ = false;
  bool scaled_ = true;
  bool dropTarget_ = false;
  bool doubleBuffered_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  SHORT cursor_ = 0;

  int dpi_;
  com::ComPtr<ITypeInfo> dispatchInfo_;
  platform::UniqueHfont font_;
  platform::UniqueHfont headingFont_;
  platform::UniqueHbrush background_;
  platform::UniqueHwnd window_;
  HWND Label1 = nullptr;
  HWND Edit1 = nullptr;
  HWND btnAddRules = nullptr;
  WNDPROC editProc_ = nullptr;
};

// Adds the control's class factory to the server: registered, and unregistered, before the
// add-in class.
void InitializeCoQORSettingsUnit(framework::ComServer& server);

}  // namespace qor::addin
