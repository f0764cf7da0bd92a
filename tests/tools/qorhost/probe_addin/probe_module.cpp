// The probe's DLL: three add-in classes, registered in the classes hive by DllRegisterServer. The
// tests write the Outlook AddIns keys themselves.
#include <windows.h>

#include <array>
#include <string>

#include "com/com_error.h"
#include "com/com_object.h"
#include "com/utf.h"
#include "platform/unique_any_win32.h"
#include "probe_addin.h"

namespace qor::probe {
namespace {

const std::array<ProbeClass, 3> kClasses{{
    {"Probe.Ribbon", {0x68EE521C, 0x0CCC, 0x495F, {0xB4, 0x3D, 0x11, 0xBA, 0x23, 0x6C, 0x53, 0xE4}}, true, false},
    {"Probe.Plain", {0x5DCC616E, 0xC8AC, 0x4644, {0x8B, 0x9E, 0x2E, 0xB9, 0xC5, 0x87, 0xFB, 0x58}}, false, false},
    {"Probe.Asker", {0x3E2584C7, 0x0F3D, 0x40F6, {0xA3, 0x56, 0x29, 0xE0, 0x2E, 0xA1, 0xA4, 0x9D}}, false, true},
}};

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

class ProbeFactory final : public com::ComObject<ProbeFactory, IClassFactory> {
 public:
  explicit ProbeFactory(const ProbeClass& probeClass) : class_(probeClass) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override try {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return com::Make<ProbeAddin>(class_)->QueryInterface(iid, object);
  } catch (...) {
    return com::ReportToCom();
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    lock ? com::ModuleLock() : com::ModuleUnlock();
    return S_OK;
  }

 private:
  const ProbeClass& class_;
};

void SetDefault(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
  platform::UniqueHkey key;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + path).c_str(), 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, key.Put(), nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  com::ThrowIfFailed(HRESULT_FROM_WIN32(status));
}

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[40] = {};
  StringFromGUID2(clsid, text, 40);
  return text;
}

}  // namespace
}  // namespace qor::probe

using qor::probe::kClasses;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) try {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const auto& probeClass : kClasses) {
    if (probeClass.clsid == clsid)
      return qor::com::Make<qor::probe::ProbeFactory>(probeClass)->QueryInterface(iid, object);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
} catch (...) {
  return qor::com::ReportToCom();
}

STDAPI DllCanUnloadNow() { return qor::com::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() try {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(qor::probe::ThisModule(), path, MAX_PATH);
  for (const auto& probeClass : kClasses) {
    const std::wstring clsid = qor::probe::ClsidText(probeClass.clsid);
    const std::wstring progId = qor::com::ToUtf16(probeClass.progId);
    qor::probe::SetDefault(L"CLSID\\" + clsid, {}, progId);
    qor::probe::SetDefault(L"CLSID\\" + clsid + L"\\InprocServer32", {}, std::wstring(path, length));
    qor::probe::SetDefault(L"CLSID\\" + clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    qor::probe::SetDefault(L"CLSID\\" + clsid + L"\\ProgID", {}, progId);
    qor::probe::SetDefault(progId + L"\\CLSID", {}, clsid);
  }
  return S_OK;
} catch (...) {
  return qor::com::ReportToCom();
}

STDAPI DllUnregisterServer() try {
  for (const auto& probeClass : kClasses) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (L"Software\\Classes\\CLSID\\" + qor::probe::ClsidText(probeClass.clsid)).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + qor::com::ToUtf16(probeClass.progId)).c_str());
  }
  return S_OK;
} catch (...) {
  return qor::com::ReportToCom();
}
