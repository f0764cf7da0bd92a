#include "framework/automation_factory.h"

#include "com/boundary.h"
#include "com/bstr.h"
#include "com/com_error.h"
#include "com/com_object.h"
#include "com/guid_text.h"
#include "framework/adx_error.h"
#include "framework/com_server.h"
#include "framework/registry.h"

namespace qor::framework {

using com::GuidText;

namespace {

com::ComPtr<ITypeInfo> ClassTypeInfo(ComServer& server, const CLSID& classId) {
  com::ComPtr<ITypeInfo> info;
  com::ThrowIfFailed(server.TypeLib().GetTypeInfoOfGuid(classId, info.Put()));
  return info;
}

struct Documentation {
  std::wstring name;
  std::wstring helpString;
};

Documentation DocumentationOf(ITypeInfo& info) {
  com::Bstr name;
  com::Bstr help;
  com::ThrowIfFailed(info.GetDocumentation(MEMBERID_NIL, name.Put(), help.Put(), nullptr, nullptr));
  return {std::wstring(name.View()), std::wstring(help.View())};
}

// Long paths with spaces confuse older hosts that split the server's command line.
std::wstring InprocServerPath(const std::wstring& path) {
  if (path.find(L' ') == std::wstring::npos) return path;
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return path;
  std::wstring shortPath(length, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  if (written == 0 || written >= length) return path;
  shortPath.resize(written);
  return shortPath;
}

}  // namespace

void AutomationFactory::WriteClassesKey(const std::wstring& path, const std::wstring& valueName,
                                        const std::wstring& data) {
  Registry classes(server_.ClassesRoot());
  if (!classes.OpenKey(path, true)) throw AdxError("Error creating system registry entry", 0);
  classes.WriteString(valueName, data);
}

AutomationFactory::AutomationFactory(ComServer& server, const CLSID& classId) : server_(server), classId_(classId) {}

HRESULT STDMETHODCALLTYPE AutomationFactory::QueryInterface(REFIID iid, void** object) noexcept {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid != __uuidof(IUnknown) && iid != __uuidof(IClassFactory)) return E_NOINTERFACE;
  AddRef();
  *object = static_cast<IClassFactory*>(this);
  return S_OK;
}

ULONG STDMETHODCALLTYPE AutomationFactory::AddRef() noexcept {
  server_.FactoryReferenced();
  return ++refs_;
}

ULONG STDMETHODCALLTYPE AutomationFactory::Release() noexcept {
  server_.FactoryReleased();
  return --refs_;
}

HRESULT STDMETHODCALLTYPE AutomationFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept {
  return com::Entry("AutomationFactory.CreateInstance", [&]() -> HRESULT {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return CreateObject()->QueryInterface(iid, object);
  });
}

HRESULT STDMETHODCALLTYPE AutomationFactory::LockServer(BOOL lock) noexcept {
  if (lock)
    com::ModuleLock();
  else
    com::ModuleUnlock();
  return S_OK;
}

com::ComPtr<ITypeInfo> AutomationFactory::ClassInfo() const { return ClassTypeInfo(server_, classId_); }

com::ComPtr<ITypeInfo> AutomationFactory::DefaultInfo(bool source) const {
  const com::ComPtr<ITypeInfo> coclass = ClassInfo();
  TYPEATTR* attributes = nullptr;
  com::ThrowIfFailed(coclass->GetTypeAttr(&attributes));
  const UINT count = attributes->cImplTypes;
  coclass->ReleaseTypeAttr(attributes);
  for (UINT index = 0; index < count; ++index) {
    INT flags = 0;
    com::ThrowIfFailed(coclass->GetImplTypeFlags(index, &flags));
    if ((flags & IMPLTYPEFLAG_FDEFAULT) == 0 || ((flags & IMPLTYPEFLAG_FSOURCE) != 0) != source) continue;
    HREFTYPE reference = 0;
    com::ThrowIfFailed(coclass->GetRefTypeOfImplType(index, &reference));
    com::ComPtr<ITypeInfo> info;
    com::ThrowIfFailed(coclass->GetRefTypeInfo(reference, info.Put()));
    return info;
  }
  return nullptr;
}

com::ComPtr<ITypeInfo> AutomationFactory::DefaultInterfaceInfo() const {
  com::ComPtr<ITypeInfo> info = DefaultInfo(false);
  if (!info) throw com::ComError(TYPE_E_ELEMENTNOTFOUND);
  return info;
}

std::wstring AutomationFactory::ClassName() const { return DocumentationOf(*ClassTypeInfo(server_, classId_)).name; }

std::wstring AutomationFactory::Description() const {
  return DocumentationOf(*ClassTypeInfo(server_, classId_)).helpString;
}

std::wstring AutomationFactory::ProgID() const { return server_.ServerName() + L"." + ClassName(); }

void AutomationFactory::UpdateRegistry(bool doRegister) {
  if (doRegister)
    RegisterComClass();
  else
    UnregisterComClass();
}

void AutomationFactory::RegisterComClass() {
  const std::wstring classKey = L"CLSID\\" + GuidText(classId_);
  const std::wstring description = Description();
  const std::wstring progId = ProgID();
  TLIBATTR* attributes = nullptr;
  com::ThrowIfFailed(server_.TypeLib().GetLibAttr(&attributes));
  const GUID libId = attributes->guid;
  const std::wstring version =
      std::to_wstring(attributes->wMajorVerNum) + L"." + std::to_wstring(attributes->wMinorVerNum);
  server_.TypeLib().ReleaseTLibAttr(attributes);

  WriteClassesKey(classKey, L"", description);
  WriteClassesKey(classKey + L"\\InprocServer32", L"", InprocServerPath(server_.ServerFileName()));
  WriteClassesKey(classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
  WriteClassesKey(classKey + L"\\ProgID", L"", progId);
  WriteClassesKey(progId, L"", description);
  WriteClassesKey(progId + L"\\Clsid", L"", GuidText(classId_));
  WriteClassesKey(classKey + L"\\Version", L"", version);
  WriteClassesKey(classKey + L"\\TypeLib", L"", GuidText(libId));
}

void AutomationFactory::UnregisterComClass() {
  const std::wstring classKey = L"CLSID\\" + GuidText(classId_);
  const std::wstring progId = ProgID();
  Registry classes(server_.ClassesRoot());
  for (const std::wstring& key : {classKey + L"\\TypeLib", classKey + L"\\Version", classKey + L"\\ProgID",
                                  progId + L"\\Clsid", progId, classKey + L"\\InprocServer32", classKey})
    classes.DeleteKey(key);
}

}  // namespace qor::framework
