#include "framework/addin_module.h"

#include <cwchar>
#include <cwctype>

#include "com/boundary.h"
#include "framework/adx_error.h"
#include "framework/adx_factory.h"
#include "framework/color_scheme_window.h"
#include "framework/outlook2007_application.h"
#include "framework/outlook_application.h"
#include "platform/wide_text_win32.h"

namespace qor::framework {

namespace {

constexpr IID HostIid(unsigned long a, unsigned short b, unsigned short c, std::array<unsigned char, 8> d) {
  return {a, b, c, {d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]}};
}

// The application interfaces that tell the hosts apart, in the order they are asked for.
struct HostInterface {
  IID iid;
  TadxOfficeHostApp host;
};
constexpr std::array<HostInterface, kHostAppCount> kHostInterfaces = {{
    {HostIid(0x00020970, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaWord},
    {HostIid(0x000208D5, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaExcel},
    {HostIid(0x00063001, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaOutlook},
    {HostIid(0x68CCE6C0, 0x6129, 0x101B, {0xAF, 0x4E, 0x00, 0xAA, 0x00, 0x3F, 0x0F, 0x07}), ohaAccess},
    {HostIid(0x00020AFF, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaProject},
    {HostIid(0x91493442, 0x5A91, 0x11CF, {0x87, 0x00, 0x00, 0xAA, 0x00, 0x60, 0x26, 0x3B}), ohaPowerPoint},
    {HostIid(0x04DF1014, 0x7007, 0x11D1, {0x83, 0xBC, 0x00, 0x60, 0x97, 0xAB, 0xE6, 0x75}), ohaFrontPage},
    {HostIid(0xD6D389CE, 0x1781, 0x47A0, {0x89, 0x84, 0x43, 0x49, 0x68, 0x7F, 0x65, 0xD6}), ohaMapPoint},
    {HostIid(0x000D0700, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaVisio},
    {HostIid(0x0002123E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}), ohaPublisher},
    {HostIid(0x096CD72E, 0x0786, 0x11D1, {0x95, 0xFA, 0x00, 0x80, 0xC7, 0x8E, 0xE3, 0xBB}), ohaInfoPath},
}};

[[noreturn]] void ThrowPropertyEmpty(const char* property) {
  throw AdxError(std::string("The ") + property + " property cannot be empty.", kErrorPropertyEmpty);
}

std::wstring OfficeKey(int majorVersion, const wchar_t* rest) {
  return L"Software\\Microsoft\\Office\\" + std::to_wstring(majorVersion) + L".0\\" + rest;
}

}  // namespace

TadxCOMAddInModule::TadxCOMAddInModule() = default;

// Host references go before the window and the design they might call back into.
TadxCOMAddInModule::~TadxCOMAddInModule() {
  registry_.CloseKey();
  FreeHostApplication();
  ribbonUI_.Reset();
  ctpFactory_.Reset();
  installer_.SetCommandBars(nullptr);
  addInInstance_ = nullptr;
  factory_ = nullptr;
  officeAddIn_.Reset();
  hostApp_.Reset();
  colorSchemeWindow_.reset();
}

void TadxCOMAddInModule::OptionsPagesAdd(IDispatch*, IDispatch*) {}
void TadxCOMAddInModule::NameSpaceOptionsPagesAdd(IDispatch*, IDispatch*, IDispatch*) {}

void TadxCOMAddInModule::SetAddInName(const std::wstring& value) {
  if (value.empty()) ThrowPropertyEmpty("AddInName");
  addInName_ = value;
}

void TadxCOMAddInModule::SetSupportedApps(TadxHostAppSet value) {
  if (value.Empty()) ThrowPropertyEmpty("SupportedApps");
  supportedApps_ = value;
}

void TadxCOMAddInModule::SetHostApplication() {
  if (!hostApp_) return;
  for (const HostInterface& candidate : kHostInterfaces) {
    com::ComPtr<IUnknown> answered;
    if (FAILED(hostApp_->QueryInterface(candidate.iid, answered.PutVoid()))) continue;
    hostType_ = candidate.host;
    if (candidate.host == ohaOutlook) {
      outlook_ = std::make_unique<OutlookApplication>(hostApp_);
      hostMajorVersion_ = MajorVersionOf(outlook_->Version());
      isRibbon_ = hostMajorVersion_ > 11;
      // Outlook 2007 and later announce their context menus through application events.
      if (isRibbon_) {
        outlook2007_ = std::make_unique<TadxOutlook2007Application>(this);
        outlook2007_->ConnectTo(*hostApp_.Get());
      }
    }
    return;
  }
}

void TadxCOMAddInModule::FreeHostApplication() noexcept {
  outlook2007_.reset();
  outlook_.reset();
}

std::wstring TadxCOMAddInModule::GetRegistryKey() const {
  return factory_ == nullptr ? std::wstring() : factory_->GetRegKey(hostType_);
}

std::wstring TadxCOMAddInModule::ProgID() const { return factory_ == nullptr ? std::wstring() : factory_->ProgID(); }

TadxOutlookShutdownBehavior TadxCOMAddInModule::OutlookShutdownBehavior() const {
  if (hostType_ != ohaOutlook || !outlook_ || hostMajorVersion_ <= 13) return osSlow;
  Registry options(HKEY_CURRENT_USER);
  if (options.OpenKeyReadOnly(OfficeKey(hostMajorVersion_, L"Outlook\\Options\\Shutdown")) &&
      options.ReadInteger(L"AddinFastShutdownBehavior") == 1u)
    return osSlow;
  Registry addIn(registerForAllUsers_ ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
  if (addIn.OpenKeyReadOnly(GetRegistryKey()) && addIn.ReadInteger(L"RequireShutdownNotification") == 1u)
    return osSlow;
  return osFast;
}

// Office keeps the scheme in its Common key as the integer Theme.
void TadxCOMAddInModule::ReadOfficeColorScheme() {
  Registry common(HKEY_CURRENT_USER);
  if (!common.OpenKeyReadOnly(OfficeKey(hostMajorVersion_, L"Common"))) return;
  if (const auto theme = common.ReadInteger(L"Theme"))
    colorScheme_ = static_cast<TadxOfficeColorScheme>(*theme);
  else if (hostMajorVersion_ == 12)
    colorScheme_ = csBlue;
  else if (hostMajorVersion_ > 13)
    colorScheme_ = csSilver;
}

void TadxCOMAddInModule::CreateColorSchemeWindow() {
  colorSchemeWindow_.reset();
  colorSchemeWindow_ = std::make_unique<ColorSchemeWindow>([this] { Guarded([this] { ColorSchemeChanged(); }); });
}

void TadxCOMAddInModule::ColorSchemeChanged() {
  Registry common(HKEY_CURRENT_USER);
  std::optional<std::uint32_t> theme;
  if (common.OpenKeyReadOnly(OfficeKey(hostMajorVersion_, L"Common"))) theme = common.ReadInteger(L"Theme");
  if (theme && static_cast<TadxOfficeColorScheme>(*theme) == colorScheme_) return;
  if (theme) colorScheme_ = static_cast<TadxOfficeColorScheme>(*theme);
  if (const auto handler = OnOfficeColorSchemeChanged) handler(*this, colorScheme_);
}

void TadxCOMAddInModule::DoError(const std::exception_ptr& error) noexcept {
  com::RecordShown("TadxCOMAddInModule.DoError", error);
  try {
    if (const auto handler = OnError) {
      bool handled = false;
      handler(error, handled);
      if (handled) return;
    }
    const std::wstring text = addInName_ + L" error: the add-in has fired an exception.\r\n" +
                              platform::WidenUtf8(ErrorMessage(error));
    MessageBoxW(GetActiveWindow(), text.c_str(), addInName_.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // The error handler itself failing (an OnError that throws, no memory) must not reach the host.
    com::PassOver("TadxCOMAddInModule.DoError");
  }
}

void TadxCOMAddInModule::Raise(const NotifyEvent& event) noexcept {
  if (event) Guarded([&] { event(*this); });
}

void TadxCOMAddInModule::DoCallBack(const std::wstring& key, long i1, long i2, long i3, const std::wstring& s1,
                                    const std::wstring& s2, const std::wstring& s3) {
  if (const auto handler = OnCallBack) handler(key, i1, i2, i3, s1, s2, s3);
}

void TadxCOMAddInModule::DoCTPFactoryAvailable() noexcept {
  if (const auto handler = OnCTPFactoryAvailable) Guarded([&] { handler(ctpFactory_.Get()); });
}

int MajorVersionOf(const std::wstring& versionText) noexcept {
  std::size_t end = versionText.find(L'.');
  if (end == std::wstring::npos) end = versionText.find(L',');
  if (end == std::wstring::npos || end == 0) return 9;
  int major = 0;
  for (std::size_t i = 0; i < end; ++i) {
    const wchar_t digit = versionText[i];
    if (digit < L'0' || digit > L'9' || major > 100000) return 9;
    major = major * 10 + (digit - L'0');
  }
  return major;
}

std::string ErrorMessage(const std::exception_ptr& error) {
  try {
    if (error) std::rethrow_exception(error);
  } catch (const std::exception& caught) {
    return caught.what();
  } catch (...) {
    // Not a standard exception: it says nothing of itself.
  }
  return "Unknown error.";
}

std::string CurrentErrorMessage() { return ErrorMessage(std::current_exception()); }

}  // namespace qor::framework
