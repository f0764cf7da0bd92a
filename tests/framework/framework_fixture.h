#pragma once

// A stand-in Outlook of any version and an add-in object made by a TadxFactory whose module
// records its events. The add-in's registry key is removed before and after each case.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "addin_interfaces.h"
#include "com/com_test_support.h"
#include "com/dispatch_call.h"
#include "framework/addin_module.h"
#include "framework/addin_object.h"
#include "framework/adx_factory.h"
#include "framework/com_server.h"
#include "framework/registry.h"
#include "host/memory/memory_outlook.h"
#include "qorOutlook_TLB.h"
#include "standin/outlook/outlook_driver.h"

namespace qor::framework::testing {

inline const std::wstring kAddInKey = L"Software\\Microsoft\\Office\\Outlook\\AddIns\\qorOutlook.coqorOutlook";

// Records every module event as a line.
class ProbeModule final : public TadxCOMAddInModule {
 public:
  explicit ProbeModule(std::shared_ptr<std::vector<std::string>> log) : log_(std::move(log)) {
    SetAddInName(L"Probe");
    SetSupportedApps({ohaOutlook});
    const auto record = [this](const char* event) {
      return [this, event](TadxCOMAddInModule&) { log_->push_back(event); };
    };
    OnAddInInitialize = record("Initialize");
    OnAddInStartupComplete = record("StartupComplete");
    OnAddInBeginShutdown = record("BeginShutdown");
    OnAddInFinalize = record("Finalize");
  }
  ~ProbeModule() override { log_->push_back("destroyed"); }

  void OptionsPagesAdd(IDispatch*, IDispatch* pages) override {
    log_->push_back(pages != nullptr ? "OptionsPagesAdd" : "OptionsPagesAdd without pages");
  }
  void NameSpaceOptionsPagesAdd(IDispatch*, IDispatch*, IDispatch* folder) override {
    com::ComPtr<IDispatch> held;
    held.CopyFrom(folder);
    log_->push_back("NameSpaceOptionsPagesAdd " + com::Dispatch(held).Get("Name").ToUtf8());
  }

 private:
  std::shared_ptr<std::vector<std::string>> log_;
};

class FrameworkTest : public com::testing::ComTest {
 protected:
  FrameworkTest() {
    mailbox = outlook->AddStore("Mailbox");
    inbox = mailbox->AddFolder("Inbox", host::ItemType::Mail);
    contacts = mailbox->AddFolder("Contacts", host::ItemType::Contact);
    outlook->SetActiveExplorerFolder(inbox);
    ClearRegistry();
  }
  ~FrameworkTest() override { ClearRegistry(); }

  void TearDown() override {
    addIn.Reset();
    driver.reset();
    ComTest::TearDown();
  }

  static void ClearRegistry() {
    Registry user(HKEY_CURRENT_USER);
    user.DeleteKey(kAddInKey);
    user.DeleteKey(L"Software\\Microsoft\\Office\\Excel\\AddIns\\qorOutlook.coqorOutlook");  // a host not found
    for (const int major : {12, 14, 16}) user.DeleteKey(L"Software\\Microsoft\\Office\\" + std::to_wstring(major) + L".0");
  }

  // Outlook of `major` with its first explorer open, and a new add-in object.
  IDTExtensibility2& Start(int major) {
    driver = std::make_unique<standin::OutlookDriver>(outlook, major);
    com::ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(nullptr, __uuidof(IUnknown), object.PutVoid()), S_OK);
    addIn = object.As<IDTExtensibility2>();
    return *addIn;
  }
  HRESULT Connect(ext_ConnectMode mode = ext_cm_Startup) {
    const HRESULT result = addIn->OnConnection(driver->Application().Get(), mode, nullptr, nullptr);
    if (FAILED(result)) ADD_FAILURE() << "OnConnection: " << LastError();
    return result;
  }
  // The description of the thread's COM error information.
  static std::string LastError() {
    com::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) != S_OK) return "no error information";
    com::Bstr description;
    info->GetDescription(description.Put());
    return description.ToUtf8();
  }
  TadxCOMAddInModule* Module() const { return static_cast<TadxAddin*>(addIn.Get())->Module(); }
  std::vector<std::string> TakeLog() { return std::exchange(*log, {}); }

  static std::optional<std::wstring> AddInValue(const std::wstring& name) {
    Registry user(HKEY_CURRENT_USER);
    if (!user.OpenKeyReadOnly(kAddInKey)) return std::nullopt;
    return user.ReadString(name);
  }

  std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
  std::unique_ptr<TadxFactory> factory = std::make_unique<TadxFactory>(
      ComServer::Instance(), addin::CLASS_coqorOutlook, [log = log] { return std::make_unique<ProbeModule>(log); });
  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create("16.0.0.4266");
  std::shared_ptr<host::memory::MemoryFolder> mailbox, inbox, contacts;
  std::unique_ptr<standin::OutlookDriver> driver;
  com::ComPtr<IDTExtensibility2> addIn;
};

}  // namespace qor::framework::testing
