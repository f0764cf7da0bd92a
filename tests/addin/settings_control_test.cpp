// The options-page control in a real container: created by its ProgID from the registered
// library, given a client site, activated in place in a window of this test, typed into, applied,
// saved and loaded, drawn, its events and properties reached, and released to nothing.

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addin_interfaces.h"
#include "com/com_init.h"
#include "com/com_object.h"
#include "com/com_ptr.h"
#include "com/dispatch_call.h"
#include "platform/unique_any_win32.h"
#include "platform/wide_text_win32.h"
#include "qorOutlook_TLB.h"
#include "regsvr32.h"
#include "standin/outlook/outlook_driver.h"
#include "standin/outlook/property_page_site_object.h"

namespace qor::addin {
namespace {

using ::testing::ElementsAre;
using testing::Regsvr32;

// What a program writes to standard output, with its exit code.
std::string RunCapturing(std::wstring command, DWORD& exitCode) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  const platform::UniqueAny<HANDLE, &CloseHandle> reader(readEnd);
  platform::UniqueAny<HANDLE, &CloseHandle> writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
    return {};
  const platform::UniqueAny<HANDLE, &CloseHandle> process(started.hProcess);
  const platform::UniqueAny<HANDLE, &CloseHandle> thread(started.hThread);
  writer.Reset();
  std::string output;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof buffer, &read, nullptr) && read > 0) output.append(buffer, read);
  WaitForSingleObject(process.Get(), 60000);
  GetExitCodeProcess(process.Get(), &exitCode);
  return output;
}

std::wstring Library() { return L"\"" + testing::BuiltLibrary() + L"\""; }

// A container other than Outlook's Options dialog: a client site and an in-place site in a window
// of the test, and no page site.
class Site final : public com::ComObject<Site, IOleClientSite, com::InterfaceWithBases<IOleInPlaceSite, IOleWindow>> {
 public:
  explicit Site(HWND window) : window_(window) {}

  // IOleClientSite
  HRESULT STDMETHODCALLTYPE SaveObject() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) noexcept override { return E_NOINTERFACE; }
  HRESULT STDMETHODCALLTYPE ShowObject() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() noexcept override { return E_NOTIMPL; }
  // IOleWindow, IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) noexcept override {
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnUIActivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT, LPRECT,
                                             LPOLEINPLACEFRAMEINFO) noexcept override {
    *frame = nullptr;
    *document = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) noexcept override { return S_OK; }

 private:
  HWND window_;
};

// The container's sink for IcoQORSettingsEvents: the DISPIDs it heard; a key press of 'a' comes
// back as 'b'.
class EventsSink final : public com::ComObject<EventsSink, IDispatch> {
 public:
  bool ExtraInterface(REFIID iid) const noexcept { return iid == DIID_IcoQORSettingsEvents; }
  std::vector<DISPID> heard;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    heard.push_back(id);
    if (id == 11 && params->cArgs == 1 && params->rgvarg[0].vt == (VT_I2 | VT_BYREF) && *params->rgvarg[0].piVal == 'a')
      *params->rgvarg[0].piVal = 'b';
    return S_OK;
  }
};

class SettingsControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(Library()), 0u); }
  static void TearDownTestSuite() { Regsvr32(L"/u " + Library()); }

  void SetUp() override {
    container_.Reset(CreateWindowExW(0, L"STATIC", L"container", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 560,
                                     nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(container_);
  }

  // A new control, set up as a container does before showing it.
  com::ComPtr<IOleObject> Create(IOleClientSite& site) {
    CLSID classId{};
    EXPECT_EQ(CLSIDFromProgID(L"qorOutlook.coQORSettings", &classId), S_OK);
    EXPECT_EQ(classId, CLASS_coQORSettings);
    com::ComPtr<IOleObject> control;
    EXPECT_EQ(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IOleObject), control.PutVoid()), S_OK);
    if (!control) return control;
    DWORD status = 0;
    EXPECT_EQ(control->GetMiscStatus(DVASPECT_CONTENT, &status), S_OK);
    EXPECT_EQ(status, 205201u);
    EXPECT_EQ(control->SetClientSite(&site), S_OK);
    EXPECT_EQ(control.As<IPersistStreamInit>()->InitNew(), S_OK);
    return control;
  }

  HWND Activate(IOleObject& control, IOleClientSite& site) {
    RECT position{10, 10, 450, 460};
    EXPECT_EQ(control.DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, container_.Get(), &position), S_OK);
    HWND form = nullptr;
    com::ComPtr<IOleInPlaceObject> inPlace;
    EXPECT_EQ(control.QueryInterface(__uuidof(IOleInPlaceObject), inPlace.PutVoid()), S_OK);
    if (inPlace) {
      EXPECT_EQ(inPlace->GetWindow(&form), S_OK);
    }
    return form;
  }

  static HWND Edit1(HWND form) { return FindWindowExW(form, nullptr, L"Edit", nullptr); }

  com::ComInit com_{COINIT_APARTMENTTHREADED};
  platform::UniqueHwnd container_;
};

// In Outlook's Options dialog, with Outlook's page site.
TEST_F(SettingsControlTest, ActivatesInPlaceAndMarksThePageChangedOncePerApply) {
  standin::OutlookDriver outlook(host::memory::MemoryOutlook::Create(), 16);
  const auto session = com::Dispatch(outlook.Application()).Get("Session").ToDispatch();
  const auto site = com::Make<standin::PropertyPageSiteObject>(outlook.Application(), session, container_.Get());
  auto control = Create(*site);
  ASSERT_TRUE(control);
  const HWND form = Activate(*control, *site);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(GetParent(form), container_.Get());
  EXPECT_TRUE(IsWindowVisible(form));
  const HWND edit = Edit1(form);
  ASSERT_NE(edit, nullptr);
  wchar_t text[16] = {};
  GetWindowTextW(edit, text, 16);
  EXPECT_STREQ(text, L"Edit1");

  const auto page = control.As<PropertyPage>();
  VARIANT_BOOL dirty = VARIANT_TRUE;
  ASSERT_EQ(page->get_Dirty(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_FALSE);
  SetWindowTextW(edit, L"one");
  SetWindowTextW(edit, L"two");
  EXPECT_EQ(site->StatusChanges(), 1) << "one status change per change of state";
  ASSERT_EQ(page->get_Dirty(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_TRUE);
  EXPECT_EQ(page->Apply(), S_OK);
  ASSERT_EQ(page->get_Dirty(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_FALSE);
  SetWindowTextW(edit, L"three");
  EXPECT_EQ(site->StatusChanges(), 2);
  BSTR helpFile = nullptr;
  LONG helpContext = -1;
  EXPECT_EQ(page->GetPageInfo(&helpFile, &helpContext), S_OK);
  EXPECT_EQ(SysStringLen(helpFile), 0u);
  EXPECT_EQ(helpContext, 0);
  SysFreeString(helpFile);

  EXPECT_EQ(control->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
}

TEST_F(SettingsControlTest, WithoutAPageSiteEditingChangesNothingElse) {
  const auto site = com::Make<Site>(container_.Get());
  auto control = Create(*site);
  ASSERT_TRUE(control);
  const HWND form = Activate(*control, *site);
  SetWindowTextW(Edit1(form), L"changed");
  VARIANT_BOOL dirty = VARIANT_TRUE;
  ASSERT_EQ(control.As<PropertyPage>()->get_Dirty(&dirty), S_OK);
  EXPECT_EQ(dirty, VARIANT_FALSE);
  EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
}

TEST_F(SettingsControlTest, PropertiesEventsPersistenceAndDrawing) {
  const auto site = com::Make<Site>(container_.Get());
  auto control = Create(*site);
  ASSERT_TRUE(control);

  // Late-bound, through the type library's names.
  com::Dispatch settings(control.As<IDispatch>());
  EXPECT_EQ(settings.Get("Caption").ToUtf8(), "coQORSettings");
  EXPECT_TRUE(settings.Get("Enabled").ToBool());
  settings.Put("KeyPreview", true);
  EXPECT_TRUE(settings.Get("KeyPreview").ToBool());
  EXPECT_EQ(settings.Get("VisibleDockClientCount").ToInt(), 0);

  // Events to a connected sink; a key press handler's answer replaces the key.
  const auto sink = com::Make<EventsSink>();
  com::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(control.As<IConnectionPointContainer>()->FindConnectionPoint(DIID_IcoQORSettingsEvents, point.Put()), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(com::ComPtr<IDispatch>(sink).Get(), &cookie), S_OK);
  const HWND form = Activate(*control, *site);
  const HWND edit = Edit1(form);
  SetWindowTextW(edit, L"");
  SendMessageW(edit, WM_CHAR, 'a', 1);
  wchar_t text[8] = {};
  GetWindowTextW(edit, text, 8);
  EXPECT_STREQ(text, L"b");
  SendMessageW(form, WM_LBUTTONUP, 0, 0);
  EXPECT_THAT(sink->heard, ::testing::Contains(11));
  EXPECT_THAT(sink->heard, ::testing::Contains(2));
  EXPECT_EQ(point->Unadvise(cookie), S_OK);

  // The extent survives a save and a load.
  SIZEL extent{5000, 6000};
  ASSERT_EQ(control->SetExtent(DVASPECT_CONTENT, &extent), S_OK);
  com::ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  const auto persist = control.As<IPersistStreamInit>();
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  const auto otherSite = com::Make<Site>(container_.Get());
  auto other = Create(*otherSite);
  ASSERT_TRUE(other);
  LARGE_INTEGER start{};
  ASSERT_EQ(stream->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
  ASSERT_EQ(other.As<IPersistStreamInit>()->Load(stream.Get()), S_OK);
  SIZEL loaded{};
  ASSERT_EQ(other->GetExtent(DVASPECT_CONTENT, &loaded), S_OK);
  EXPECT_EQ(loaded.cx, 5000);
  EXPECT_EQ(loaded.cy, 6000);

  // Not active, the control draws itself into the container's device context.
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, 220, 225);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  const RECTL bounds{0, 0, 220, 225};
  EXPECT_EQ(other.As<IViewObject>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, memory, &bounds, nullptr,
                                          nullptr, 0),
            S_OK);
  EXPECT_EQ(GetPixel(memory, 5, 200), GetSysColor(COLOR_BTNFACE)) << "the form's background";
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(other->SetClientSite(nullptr), S_OK);
}

TEST_F(SettingsControlTest, WindowsScriptHostReachesThePropertiesByName) {
  std::wstring script = platform::WidenUtf8(QOR_CONTROL_SCRIPT);
  std::replace(script.begin(), script.end(), L'/', L'\\');
  DWORD exitCode = 1;
  std::string output = RunCapturing(L"cscript.exe //nologo \"" + script + L"\"", exitCode);
  output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
  EXPECT_EQ(exitCode, 0u) << output;
  EXPECT_EQ(output,
            "Caption=coQORSettings\nCaption=Changed\nEnabled=true\nKeyPreview=true\nVisibleDockClientCount=0\n"
            "AxBorderStyle=7 refused\n");
}

// A parking window of the form's kind, which hears whether it is told to close.
int parkingCloses = 0;
LRESULT CALLBACK ParkingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ++parkingCloses;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(SettingsControlTest, ReleasedToNothingClosesTheParkingWindowAndTheLibraryMayUnload) {
  WNDCLASSW parkingClass{};
  parkingClass.lpfnWndProc = &ParkingProc;
  parkingClass.lpszClassName = L"DAXParkingWindow";
  RegisterClassW(&parkingClass);
  const platform::UniqueHwnd parking(
      CreateWindowExW(0, L"DAXParkingWindow", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(parking);
  const auto site = com::Make<Site>(container_.Get());
  {
    auto control = Create(*site);
    ASSERT_TRUE(control);
    Activate(*control, *site);
    EXPECT_EQ(control->SetClientSite(nullptr), S_OK);
    EXPECT_EQ(parkingCloses, 0);
  }
  EXPECT_EQ(parkingCloses, 1);
  const HMODULE library = GetModuleHandleW(L"qorOutlook.dll");
  ASSERT_NE(library, nullptr);
  const auto canUnload =
      reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(reinterpret_cast<void*>(GetProcAddress(library, "DllCanUnloadNow")));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace qor::addin
