#pragma once

// A class factory for one coclass of the server's type library: its CLSID, name and description
// come from there, its ProgID is the server name, ".", and the coclass name. Instances are made
// for every request (multiple use), threading model Apartment. The factory lives as long as the
// library; references taken from outside are counted by the server.

#include <oaidl.h>

#include <atomic>
#include <string>

#include "com/com_ptr.h"

namespace qor::framework {

class ComServer;

class AutomationFactory : public IClassFactory {
 public:
  AutomationFactory(ComServer& server, const CLSID& classId);
  virtual ~AutomationFactory() = default;
  AutomationFactory(const AutomationFactory&) = delete;
  AutomationFactory& operator=(const AutomationFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override;

  const CLSID& ClassId() const noexcept { return classId_; }
  std::wstring ClassName() const;
  std::wstring Description() const;
  std::wstring ProgID() const;
  ComServer& Server() const noexcept { return server_; }
  com::ComPtr<ITypeInfo> ClassInfo() const;
  // The coclass's default interface, as a dispatch interface.
  com::ComPtr<ITypeInfo> DefaultInterfaceInfo() const;
  // The coclass's default interface (false) or default source interface (true); null when none.
  com::ComPtr<ITypeInfo> DefaultInfo(bool source) const;

  // Writes (true) or removes (false) the class's entries; throws on a failure.
  virtual void UpdateRegistry(bool doRegister);

 protected:
  // A new object with its first reference.
  virtual com::ComPtr<IUnknown> CreateObject() = 0;
  void RegisterComClass();
  void UnregisterComClass();
  // Writes a value under the server's classes root\path, making the key; throws AdxError when it
  // cannot.
  void WriteClassesKey(const std::wstring& path, const std::wstring& valueName, const std::wstring& data);

 private:
  ComServer& server_;
  CLSID classId_;
  std::atomic<ULONG> refs_{0};
};

}  // namespace qor::framework
