#include "standin/outlook/property_page_site_object.h"

namespace qor::standin {
namespace {

constexpr LONG olPropertyPageSite = 70;

HRESULT Hand(const com::ComPtr<IDispatch>& object, IDispatch** out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = object.Get();
  if (*out != nullptr) (*out)->AddRef();
  return S_OK;
}

}  // namespace

const com::DispatchTable<PropertyPageSiteObject>& PropertyPageSiteObject::DispatchMembers() {
  using Self = PropertyPageSiteObject;
  static const auto table = com::DispatchTable<Self>()
                                .Property("Application", 0xF000, [](Self& self) { return self.application_; })
                                .Property("Class", 0xF00A, [](Self&) { return static_cast<int>(olPropertyPageSite); })
                                .Property("Session", 0xF00B, [](Self& self) { return self.session_; })
                                .Property("Parent", 0xF001, [](Self& self) { return self.application_; })
                                .Method("OnStatusChange", 0x2100, [](Self& self) { ++self.statusChanges_; });
  return table;
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::get_Application(IDispatch** application) noexcept {
  return Hand(application_, application);
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::get_Class(LONG* objectClass) noexcept {
  if (objectClass == nullptr) return E_POINTER;
  *objectClass = olPropertyPageSite;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::get_Session(IDispatch** session) noexcept {
  return Hand(session_, session);
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::get_Parent(IDispatch** parent) noexcept {
  return Hand(application_, parent);
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::OnStatusChange() noexcept {
  office::CountStandinCall();
  ++statusChanges_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::GetContainer(IOleContainer** container) noexcept {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE PropertyPageSiteObject::GetWindowContext(IOleInPlaceFrame** frame,
                                                                   IOleInPlaceUIWindow** document, LPRECT position,
                                                                   LPRECT clip, LPOLEINPLACEFRAMEINFO) noexcept {
  if (frame == nullptr || document == nullptr) return E_POINTER;
  *frame = nullptr;
  *document = nullptr;
  if (position != nullptr) GetClientRect(window_, position);
  if (clip != nullptr) GetClientRect(window_, clip);
  return S_OK;
}

}  // namespace qor::standin
