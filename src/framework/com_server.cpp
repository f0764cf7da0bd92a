#include "framework/com_server.h"

#include <mutex>

#include "com/boundary.h"
#include "com/bstr.h"
#include "com/com_error.h"
#include "com/com_object.h"
#include "framework/automation_factory.h"
#include "framework/module_instance.h"

// Declared by the Windows SDK's oleauto.h but not by MinGW-w64's; oleaut32 exports both.
extern "C" {
WINOLEAUTAPI RegisterTypeLibForUser(ITypeLib* library, OLECHAR* fullPath, OLECHAR* helpDirectory);
WINOLEAUTAPI UnRegisterTypeLibForUser(REFGUID libId, WORD major, WORD minor, LCID lcid, SYSKIND sysKind);
}

namespace qor::framework {

namespace {

std::wstring Directory(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

struct LibraryAttributes {
  GUID libId;
  WORD major;
  WORD minor;
  LCID lcid;
  SYSKIND sysKind;
};

LibraryAttributes AttributesOf(ITypeLib& library) {
  TLIBATTR* attributes = nullptr;
  com::ThrowIfFailed(library.GetLibAttr(&attributes));
  const LibraryAttributes copy{attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                               attributes->lcid, attributes->syskind};
  library.ReleaseTLibAttr(attributes);
  return copy;
}

// HKEY_CLASSES_ROOT stands for `classes` in this process while it lives. Wine's
// RegisterTypeLibForUser registers for every user; through this it writes per user there too, and
// on Windows it changes nothing.
class ClassesRootOverride {
 public:
  explicit ClassesRootOverride(HKEY classes) {
    com::ThrowIfFailed(HRESULT_FROM_WIN32(RegOverridePredefKey(HKEY_CLASSES_ROOT, classes)));
  }
  ~ClassesRootOverride() { RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); }
  ClassesRootOverride(const ClassesRootOverride&) = delete;
  ClassesRootOverride& operator=(const ClassesRootOverride&) = delete;
};

platform::UniqueHkey OpenUserClasses() {
  HKEY key = nullptr;
  com::ThrowIfFailed(HRESULT_FROM_WIN32(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0,
                                                        KEY_ALL_ACCESS, nullptr, &key, nullptr)));
  return platform::UniqueHkey(key);
}

bool IsUserScope(const wchar_t* commandLine) {
  return CompareStringOrdinal(commandLine, -1, L"user", -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

ComServer& ComServer::Instance() {
  static ComServer server;
  return server;
}

AutomationFactory& ComServer::AddFactory(std::unique_ptr<AutomationFactory> factory) {
  const std::unique_lock guard(lock_);
  factories_.insert(factories_.begin(), std::move(factory));
  return *factories_.front();
}

std::vector<AutomationFactory*> ComServer::Factories() const {
  const std::shared_lock guard(lock_);
  std::vector<AutomationFactory*> walk;
  for (const auto& factory : factories_) walk.push_back(factory.get());
  return walk;
}

ITypeLib& ComServer::TypeLib() {
  const std::unique_lock guard(lock_);
  if (!typeLib_) com::ThrowIfFailed(LoadTypeLibEx(ServerFileName().c_str(), REGKIND_NONE, typeLib_.Put()));
  return *typeLib_;
}

std::wstring ComServer::ServerName() {
  com::Bstr name;
  com::ThrowIfFailed(TypeLib().GetDocumentation(-1, name.Put(), nullptr, nullptr, nullptr));
  return std::wstring(name.View());
}

std::wstring ComServer::ServerFileName() const { return ThisModulePath(); }

HRESULT ComServer::GetClassObject(REFCLSID classId, REFIID iid, void** object) noexcept {
  return com::Entry("ComServer.GetClassObject", [&]() -> HRESULT {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    for (AutomationFactory* factory : Factories())
      if (IsEqualCLSID(factory->ClassId(), classId)) return factory->QueryInterface(iid, object);
    return CLASS_E_CLASSNOTAVAILABLE;
  });
}

HRESULT ComServer::CanUnloadNow() noexcept {
  return com::ModuleLockCount() > 0 || factoryRefs_.load() > 0 ? S_FALSE : S_OK;
}

void ComServer::Register() {
  std::wstring path = ServerFileName();
  std::wstring helpDirectory = Directory(path);
  if (RegisteringPerUser()) {
    const ClassesRootOverride userClasses(ClassesRoot());
    com::ThrowIfFailed(RegisterTypeLibForUser(&TypeLib(), path.data(), helpDirectory.data()));
  } else {
    com::ThrowIfFailed(RegisterTypeLib(&TypeLib(), path.data(), helpDirectory.data()));
  }
  for (AutomationFactory* factory : Factories()) factory->UpdateRegistry(true);
}

void ComServer::Unregister() {
  const LibraryAttributes library = AttributesOf(TypeLib());
  if (RegisteringPerUser()) {
    const ClassesRootOverride userClasses(ClassesRoot());
    UnRegisterTypeLibForUser(library.libId, library.major, library.minor, library.lcid, library.sysKind);
  } else {
    UnRegisterTypeLib(library.libId, library.major, library.minor, library.lcid, library.sysKind);
  }
  for (AutomationFactory* factory : Factories()) factory->UpdateRegistry(false);
}

HRESULT ComServer::RegisterServer() noexcept {
  return com::EntryOr("ComServer.RegisterServer", E_FAIL, [&] {
    Register();
    return S_OK;
  });
}

HRESULT ComServer::UnregisterServer() noexcept {
  return com::EntryOr("ComServer.UnregisterServer", E_FAIL, [&] {
    Unregister();
    return S_OK;
  });
}

HRESULT ComServer::Install(bool install, const wchar_t* commandLine) noexcept {
  return com::EntryOr("ComServer.Install", E_FAIL, [&]() -> HRESULT {
    if (commandLine == nullptr || *commandLine == L'\0') return install ? RegisterServer() : UnregisterServer();
    if (!IsUserScope(commandLine)) return E_INVALIDARG;
    userClasses_ = OpenUserClasses();
    const struct EndPerUser {
      ComServer& server;
      ~EndPerUser() { server.userClasses_.Reset(); }
    } endPerUser{*this};
    install ? Register() : Unregister();
    return S_OK;
  });
}

}  // namespace qor::framework
