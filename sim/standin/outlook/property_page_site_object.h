#pragma once

// The site Outlook gives a page of its Options dialog: the page control's client site, its
// in-place site in the dialog's window, and Outlook's PropertyPageSite, which hears the page's
// status changes.

#include <ocidl.h>
#include <oleidl.h>

#include "addin_interfaces.h"
#include "com/com_object.h"
#include "com/com_ptr.h"
#include "standin/office/counted_dispatch.h"

namespace qor::standin {

class PropertyPageSiteObject final
    : public com::ComObject<PropertyPageSiteObject, office::CountedDispatch<PropertyPageSiteObject, PropertyPageSite>,
                            IOleClientSite, com::InterfaceWithBases<IOleInPlaceSite, IOleWindow>> {
 public:
  // Outlook's application and session; `window` is the dialog's page area.
  PropertyPageSiteObject(com::ComPtr<IDispatch> application, com::ComPtr<IDispatch> session, HWND window)
      : application_(std::move(application)), session_(std::move(session)), window_(window) {}

  static const com::DispatchTable<PropertyPageSiteObject>& DispatchMembers();
  // Calls of OnStatusChange so far.
  int StatusChanges() const noexcept { return statusChanges_; }

  // PropertyPageSite
  HRESULT STDMETHODCALLTYPE get_Application(IDispatch** application) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Class(LONG* objectClass) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Session(IDispatch** session) noexcept override;
  HRESULT STDMETHODCALLTYPE get_Parent(IDispatch** parent) noexcept override;
  HRESULT STDMETHODCALLTYPE OnStatusChange() noexcept override;

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) noexcept override;
  HRESULT STDMETHODCALLTYPE ShowObject() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() noexcept override { return E_NOTIMPL; }

  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) noexcept override;
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) noexcept override { return S_OK; }

 private:
  com::ComPtr<IDispatch> application_;
  com::ComPtr<IDispatch> session_;
  HWND window_;
  int statusChanges_ = 0;
};

}  // namespace qor::standin
