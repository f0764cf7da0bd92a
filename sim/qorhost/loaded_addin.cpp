#include "loaded_addin.h"

#include <array>
#include <utility>

#include "com/bstr.h"
#include "com/com_object.h"
#include "com/dispatch_call.h"
#include "com/utf.h"
#include "com/variant.h"
#include "custom_ui.h"
#include "host_output.h"
#include "platform/unique_any_win32.h"
#include "standin/office/ribbon_ui_object.h"

namespace qor::tools::qorhost {
namespace {

using UniqueSafeArray = platform::UniqueAny<SAFEARRAY*, &SafeArrayDestroy>;

// The `custom` argument of every IDTExtensibility2 call: an empty array of variants.
class CustomArgument {
 public:
  CustomArgument() : array_(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {
    if (!array_) throw com::ComError(E_OUTOFMEMORY);
    raw_ = array_.Get();
  }
  SAFEARRAY** Get() noexcept { return &raw_; }

 private:
  UniqueSafeArray array_;
  SAFEARRAY* raw_;
};

}  // namespace

LoadedAddin::LoadedAddin(std::string progId, com::ComPtr<standin::office::ComAddInObject> entry, std::ostream& out)
    : progId_(std::move(progId)), entry_(std::move(entry)), out_(out) {
  com::ComPtr<IUnknown> object;
  com::ThrowIfFailed(Timed([&] {
    CLSID clsid{};
    const HRESULT found = CLSIDFromProgID(com::ToUtf16(progId_).c_str(), &clsid);
    if (FAILED(found)) return found;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IUnknown), object.PutVoid());
  }));
  addin_ = object.As<IDTExtensibility2>();
  ribbon_ = object.TryAs<IRibbonExtensibility>();
}

LoadedAddin::~LoadedAddin() { entry_->SetConnected(false); }

template <class Call>
HRESULT LoadedAddin::Timed(Call&& call) {
  const auto start = std::chrono::steady_clock::now();
  const HRESULT result = call();
  spent_ += std::chrono::steady_clock::now() - start;
  return result;
}

long long LoadedAddin::Milliseconds() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(spent_).count();
}

HRESULT LoadedAddin::Connect(IDispatch& application, ext_ConnectMode mode) {
  CustomArgument custom;
  entry_->SetConnected(true);
  const HRESULT result = Timed([&] { return addin_->OnConnection(&application, mode, entry_.Get(), custom.Get()); });
  entry_->SetConnected(SUCCEEDED(result));
  out_ << "connect " << progId_ << " hr=" << HresultText(result) << '\n';
  return result;
}

std::optional<std::string> LoadedAddin::LoadRibbon(const std::string& ribbonId) {
  if (!ribbon_ || !ribbonsLoaded_.insert(ribbonId).second) return std::nullopt;
  const com::Bstr id(ribbonId);
  com::Bstr document;
  const HRESULT result = Timed([&] { return ribbon_->GetCustomUI(id.Get(), document.Put()); });
  out_ << "customui " << progId_ << ' ' << ribbonId << '\n';
  PrintLines(document.ToUtf8(), out_);
  out_ << "end customui";
  if (FAILED(result)) out_ << " hr=" << HresultText(result);
  out_ << '\n';
  if (FAILED(result) || document.Length() == 0) return std::nullopt;
  std::string text = document.ToUtf8();
  if (!ribbonUi_) {
    const std::string callback = OnLoadCallback(text);
    if (!callback.empty()) CallOnLoad(callback);
  }
  return text;
}

void LoadedAddin::CallOnLoad(const std::string& callback) {
  ribbonUi_ = com::Make<standin::office::RibbonUiObject>([progId = progId_, &out = out_](const std::string& control) {
    out << "invalidate " << progId << (control.empty() ? "" : " ") << control << '\n';
  });
  const HRESULT result = Timed([&]() -> HRESULT {
    try {
      com::Dispatch addin(addin_.As<IDispatch>());
      const std::array<com::Variant, 1> args{com::Variant(ribbonUi_)};
      addin.Invoke(addin.IdOf(callback), DISPATCH_METHOD, args);
      return S_OK;
    } catch (const com::ComError& error) {
      return error.Code();
    }
  });
  out_ << "ribbon-loaded " << progId_ << " hr=" << HresultText(result) << '\n';
}

void LoadedAddin::StartupComplete() {
  CustomArgument custom;
  const HRESULT result = Timed([&] { return addin_->OnStartupComplete(custom.Get()); });
  out_ << "startup " << progId_ << " hr=" << HresultText(result) << '\n';
}

void LoadedAddin::BeginShutdown() {
  CustomArgument custom;
  const HRESULT result = addin_->OnBeginShutdown(custom.Get());
  out_ << "shutdown " << progId_ << " hr=" << HresultText(result) << '\n';
}

void LoadedAddin::Disconnect(ext_DisconnectMode mode) {
  CustomArgument custom;
  const HRESULT result = addin_->OnDisconnection(mode, custom.Get());
  entry_->SetConnected(false);
  out_ << "disconnect " << progId_ << " hr=" << HresultText(result) << '\n';
}

}  // namespace qor::tools::qorhost
