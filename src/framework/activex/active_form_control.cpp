#include "framework/activex/active_form_control.h"

#include <algorithm>
#include <cstring>

#include "com/boundary.h"
#include "com/com_error.h"
#include "framework/activex/active_form_factory.h"
#include "platform/screen_dpi_win32.h"
#include "platform/unique_any_win32.h"

namespace qor::framework {
namespace {

constexpr int kHimetricPerInch = 2540;
constexpr DWORD kSafety = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
constexpr DWORD kSimpleFrame = OLEMISC_SIMPLEFRAME;
constexpr char kStreamTag[4] = {'Q', 'A', 'X', '1'};  // what Save writes before the extent

// Designed pixels (96 DPI) to HIMETRIC, the unit of OLE extents.
SIZEL HimetricOf(SIZE designed) {
  return {MulDiv(designed.cx, kHimetricPerInch, USER_DEFAULT_SCREEN_DPI),
          MulDiv(designed.cy, kHimetricPerInch, USER_DEFAULT_SCREEN_DPI)};
}

}  // namespace

TActiveFormControl::TActiveFormControl(const ActiveFormFactory& factory, std::unique_ptr<TActiveForm> form)
    : factory_(factory), form_(std::move(form)), eventsId_(factory.EventsInterfaceId()) {
  extent_ = HimetricOf(form_->DesignedSize());
  if (eventsId_ != IID_NULL) AddConnectionPoint(eventsId_);
  form_->SetControl(this);
}

// The form and its window go first, raising nothing: no one holds the control any more.
TActiveFormControl::~TActiveFormControl() {
  form_->SetControl(nullptr);
  form_.reset();
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::QueryInterface(REFIID iid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  if (form_->QueryFormInterface(iid, object) == S_OK) return S_OK;
  if (iid == __uuidof(ISimpleFrameSite) && (factory_.MiscStatus() & kSimpleFrame) == 0) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  return ComObject::QueryInterface(iid, object);
}

com::FireResult TActiveFormControl::FireEventArgs(DISPID id, std::span<const com::Variant> args) {
  if (eventsId_ == IID_NULL || eventsFrozen_ > 0) return {};
  return FireArgs(eventsId_, id, args);
}

// --- IOleObject

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetClientSite(IOleClientSite* site) noexcept {
  clientSite_.CopyFrom(site);
  if (site == nullptr) inPlaceSite_.Reset();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetClientSite(IOleClientSite** site) noexcept {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_.Get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Close(DWORD) noexcept {
  InPlaceDeactivate();
  if (adviseHolder_) adviseHolder_->SendOnClose();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                                     LPCRECT position) noexcept {
  return com::Entry("TActiveFormControl.DoVerb", [&]() -> HRESULT {
    switch (verb) {
      case OLEIVERB_PRIMARY:
      case OLEIVERB_SHOW:
      case OLEIVERB_INPLACEACTIVATE:
      case OLEIVERB_UIACTIVATE: {
        if (site != nullptr && !clientSite_) clientSite_.CopyFrom(site);
        if (!clientSite_) return E_UNEXPECTED;
        if (!inPlaceSite_) inPlaceSite_ = clientSite_.TryAs<IOleInPlaceSite>();
        if (!inPlaceSite_) return E_NOINTERFACE;
        HWND window = parent;
        if (window == nullptr && FAILED(inPlaceSite_->GetWindow(&window))) return E_FAIL;
        RECT placed{};
        if (position != nullptr) {
          placed = *position;
        } else {
          const int dpi = platform::ScreenDpi();
          const SIZE designed = form_->DesignedSize();
          placed = {0, 0, MulDiv(designed.cx, dpi, USER_DEFAULT_SCREEN_DPI),
                    MulDiv(designed.cy, dpi, USER_DEFAULT_SCREEN_DPI)};
        }
        ActivateInPlace(window, placed);
        return S_OK;
      }
      case OLEIVERB_HIDE:
        if (form_->Handle() != nullptr) ShowWindow(form_->Handle(), SW_HIDE);
        return S_OK;
      default:
        // Verb 0 "Properties" and other positive verbs: the control has no pages of its own.
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
  });
}

void TActiveFormControl::ActivateInPlace(HWND parent, const RECT& position) {
  if (form_->Handle() == nullptr) {
    if (inPlaceSite_->CanInPlaceActivate() != S_OK) throw com::ComError(E_FAIL);
    inPlaceSite_->OnInPlaceActivate();
    if (form_->CreateFormWindow(parent) == nullptr) throw com::ComError(E_FAIL);
  } else if (GetParent(form_->Handle()) != parent) {
    SetParent(form_->Handle(), parent);
  }
  MoveWindow(form_->Handle(), position.left, position.top, position.right - position.left,
             position.bottom - position.top, TRUE);
  ShowWindow(form_->Handle(), SW_SHOW);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::EnumVerbs(IEnumOLEVERB** verbs) noexcept {
  return OleRegEnumVerbs(factory_.ClassId(), verbs);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetUserClassID(CLSID* classId) noexcept { return GetClassID(classId); }

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetUserType(DWORD form, LPOLESTR* userType) noexcept {
  return OleRegGetUserType(factory_.ClassId(), form, userType);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  extent_ = *size;
  dirty_ = true;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetExtent(DWORD aspect, SIZEL* size) noexcept {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = extent_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Advise(IAdviseSink* sink, DWORD* cookie) noexcept {
  if (!adviseHolder_) {
    const HRESULT made = CreateOleAdviseHolder(adviseHolder_.Put());
    if (FAILED(made)) return made;
  }
  return adviseHolder_->Advise(sink, cookie);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Unadvise(DWORD cookie) noexcept {
  return adviseHolder_ ? adviseHolder_->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetMiscStatus(DWORD, DWORD* status) noexcept {
  if (status == nullptr) return E_POINTER;
  *status = factory_.MiscStatus();
  return S_OK;
}

// --- IOleControl

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetControlInfo(CONTROLINFO* info) noexcept {
  if (info == nullptr) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::FreezeEvents(BOOL freeze) noexcept {
  eventsFrozen_ = std::max(0, eventsFrozen_ + (freeze ? 1 : -1));
  return S_OK;
}

// --- IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetWindow(HWND* window) noexcept {
  if (window == nullptr) return E_POINTER;
  *window = form_->Handle();
  return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::InPlaceDeactivate() noexcept {
  if (form_->Handle() == nullptr || !inPlaceSite_) return S_OK;
  ShowWindow(form_->Handle(), SW_HIDE);
  inPlaceSite_->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::UIDeactivate() noexcept { return S_OK; }

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetObjectRects(LPCRECT position, LPCRECT) noexcept {
  if (position == nullptr) return E_POINTER;
  if (form_->Handle() != nullptr)
    MoveWindow(form_->Handle(), position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::TranslateAccelerator(LPMSG message) noexcept {
  // Tab and the arrow keys move between the form's controls as in a dialog.
  const HWND form = form_->Handle();
  if (message == nullptr || form == nullptr) return S_FALSE;
  return IsDialogMessageW(form, message) ? S_OK : S_FALSE;
}

// --- IViewObject2

HRESULT STDMETHODCALLTYPE TActiveFormControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC drawDc,
                                                   LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                                                   ULONG_PTR) noexcept {
  return com::Entry("TActiveFormControl.Draw", [&]() -> HRESULT {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (drawDc == nullptr || bounds == nullptr) return E_INVALIDARG;
    // Not active: the form draws itself into the container's device context, at the bounds given.
    HWND window = form_->Handle();
    if (window == nullptr) {
      window = form_->CreateFormWindow(GetDesktopWindow());
      if (window == nullptr) return E_FAIL;
    }
    RECT client{};
    GetClientRect(window, &client);
    const platform::UniqueMemoryDc memory(CreateCompatibleDC(drawDc));
    const platform::UniqueHbitmap bitmap(CreateCompatibleBitmap(drawDc, client.right, client.bottom));
    if (!memory || !bitmap) return E_OUTOFMEMORY;
    const platform::GdiSelection selected(memory.Get(), bitmap.Get());
    SendMessageW(window, WM_PRINT, reinterpret_cast<WPARAM>(memory.Get()),
                 PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
    StretchBlt(drawDc, bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top,
               memory.Get(), 0, 0, client.right, client.bottom, SRCCOPY);
    return S_OK;
  });
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) noexcept {
  viewAspects_ = aspects;
  viewFlags_ = flags;
  viewSink_.CopyFrom(sink);
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) noexcept {
  if (aspects != nullptr) *aspects = viewAspects_;
  if (flags != nullptr) *flags = viewFlags_;
  if (sink != nullptr) {
    *sink = viewSink_.Get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) noexcept {
  return GetExtent(aspect, size);
}

void TActiveFormControl::ViewChanged() noexcept {
  if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

// --- IDataObject

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) noexcept {
  if (out != nullptr) out->ptd = nullptr;
  return E_NOTIMPL;
}

// --- Persistence: a tag and the extent.

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetClassID(CLSID* classId) noexcept {
  if (classId == nullptr) return E_POINTER;
  *classId = factory_.ClassId();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Load(IStream* stream) noexcept {
  if (stream == nullptr) return E_POINTER;
  char tag[sizeof kStreamTag] = {};
  SIZEL extent{};
  ULONG read = 0;
  if (FAILED(stream->Read(tag, sizeof tag, &read)) || read != sizeof tag ||
      std::memcmp(tag, kStreamTag, sizeof tag) != 0)
    return STG_E_READFAULT;
  if (FAILED(stream->Read(&extent, sizeof extent, &read)) || read != sizeof extent) return STG_E_READFAULT;
  extent_ = extent;
  dirty_ = false;
  ViewChanged();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Save(IStream* stream, BOOL clearDirty) noexcept {
  if (stream == nullptr) return E_POINTER;
  ULONG written = 0;
  HRESULT hr = stream->Write(kStreamTag, sizeof kStreamTag, &written);
  if (SUCCEEDED(hr)) hr = stream->Write(&extent_, sizeof extent_, &written);
  if (FAILED(hr)) return hr;
  if (clearDirty) dirty_ = false;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetSizeMax(ULARGE_INTEGER* size) noexcept {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = sizeof kStreamTag + sizeof extent_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::InitNew() noexcept {
  extent_ = HimetricOf(form_->DesignedSize());
  dirty_ = false;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::InitNew(IStorage*) noexcept { return InitNew(); }

HRESULT STDMETHODCALLTYPE TActiveFormControl::Load(IStorage* storage) noexcept {
  if (storage == nullptr) return E_POINTER;
  com::ComPtr<IStream> stream;
  const HRESULT opened = storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put());
  return FAILED(opened) ? opened : Load(stream.Get());
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Save(IStorage* storage, BOOL) noexcept {
  if (storage == nullptr) return E_POINTER;
  com::ComPtr<IStream> stream;
  const HRESULT made =
      storage->CreateStream(L"Contents", STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, 0, stream.Put());
  return FAILED(made) ? made : Save(stream.Get(), TRUE);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::Load(IPropertyBag*, IErrorLog*) noexcept { return InitNew(); }

HRESULT STDMETHODCALLTYPE TActiveFormControl::Save(IPropertyBag*, BOOL clearDirty, BOOL) noexcept {
  if (clearDirty) dirty_ = false;
  return S_OK;
}

// --- Property browsing and pages

HRESULT STDMETHODCALLTYPE TActiveFormControl::MapPropertyToPage(DISPID, CLSID* page) noexcept {
  if (page != nullptr) *page = CLSID_NULL;
  return PERPROP_E_NOPAGEAVAILABLE;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetPages(CAUUID* pages) noexcept {
  if (pages == nullptr) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  return S_OK;
}

// --- IQuickActivate

HRESULT STDMETHODCALLTYPE TActiveFormControl::QuickActivate(QACONTAINER* container, QACONTROL* control) noexcept {
  if (container == nullptr || control == nullptr || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
  SetClientSite(container->pClientSite);
  if (container->pAdviseSink != nullptr) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwMiscStatus = factory_.MiscStatus();
  control->dwViewStatus = 0;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink != nullptr && eventsId_ != IID_NULL) {
    com::ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(FindConnectionPoint(eventsId_, point.Put())))
      point->Advise(container->pUnkEventSink, &control->dwEventCookie);
  }
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetContentExtent(LPSIZEL size) noexcept {
  return SetExtent(DVASPECT_CONTENT, size);
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetContentExtent(LPSIZEL size) noexcept {
  return GetExtent(DVASPECT_CONTENT, size);
}

// --- IObjectSafety

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetInterfaceSafetyOptions(REFIID, DWORD* supported,
                                                                        DWORD* enabled) noexcept {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  *supported = kSafety;
  *enabled = safety_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TActiveFormControl::SetInterfaceSafetyOptions(REFIID, DWORD mask, DWORD options) noexcept {
  if ((mask & ~kSafety) != 0) return E_FAIL;
  safety_ = (safety_ & ~mask) | (options & mask);
  return S_OK;
}

// --- IProvideClassInfo

HRESULT STDMETHODCALLTYPE TActiveFormControl::GetClassInfo(ITypeInfo** info) noexcept {
  return com::Entry("TActiveFormControl.GetClassInfo", [&]() -> HRESULT {
    if (info == nullptr) return E_POINTER;
    *info = factory_.ClassInfo().Detach();
    return S_OK;
  });
}

}  // namespace qor::framework
