#pragma once

// An in-memory Outlook behind the stand-in's COM objects, with sinks that record every event.

#include <oaidl.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "com/com_test_support.h"
#include "com/dispatch_call.h"
#include "host/memory/memory_outlook.h"
#include "standin/outlook/outlook_driver.h"
#include "standin/outlook/outlook_ids.h"

namespace qor::standin::testing {

using EventNames = std::map<DISPID, std::string>;

inline const EventNames kExplorerEvents{
    {0xF001, "Activate"},         {0xF002, "FolderSwitch"}, {0xF003, "BeforeFolderSwitch"}, {0xF004, "ViewSwitch"},
    {0xF005, "BeforeViewSwitch"}, {0xF006, "Deactivate"},   {0xF007, "SelectionChange"},    {0xF008, "Close"}};
inline const EventNames kInspectorEvents{{0xF001, "Activate"}, {0xF006, "Deactivate"}, {0xF008, "Close"}};
inline const EventNames kApplicationEvents{{0xF005, "OptionsPagesAdd"},
                                           {0xF006, "Startup"},
                                           {0xF007, "Quit"},
                                           {0xFB3E, "AttachmentContextMenuDisplay"},
                                           {0xFB40, "ViewContextMenuDisplay"},
                                           {0xFB41, "ItemContextMenuDisplay"},
                                           {0xFB42, "FolderContextMenuDisplay"},
                                           {0xFB43, "StoreContextMenuDisplay"},
                                           {0xFB44, "ShortcutContextMenuDisplay"},
                                           {0xFBA6, "ContextMenuClose"}};

// The arguments of one event, in declaration order.
class EventArgs {
 public:
  explicit EventArgs(DISPPARAMS& params) : params_(params) {}
  std::size_t Count() const { return params_.cArgs; }
  VARIANT& At(std::size_t i) const { return params_.rgvarg[params_.cArgs - 1 - i]; }
  com::Dispatch Object(std::size_t i) const {
    com::ComPtr<IDispatch> object;
    if (At(i).vt == VT_DISPATCH) object.CopyFrom(At(i).pdispVal);
    return com::Dispatch(object);
  }

 private:
  DISPPARAMS& params_;
};

// Records "<name>.<event>" for every call; an unknown DISPID fails the test.
class EventSink final : public com::ComObject<EventSink, IDispatch> {
 public:
  using Handler = std::function<void(const std::string& event, EventArgs& args)>;

  EventSink(const IID& iid, std::string name, const EventNames& events, std::shared_ptr<std::vector<std::string>> log)
      : iid_(iid), name_(std::move(name)), events_(events), log_(std::move(log)) {}

  bool ExtraInterface(REFIID iid) const noexcept { return iid == iid_; }
  void OnEvent(Handler handler) { handler_ = std::move(handler); }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    EXPECT_EQ(flags, DISPATCH_METHOD);
    const auto found = events_.find(id);
    if (found == events_.end()) {
      ADD_FAILURE() << name_ << " got unexpected DISPID " << std::hex << id;
      return DISP_E_MEMBERNOTFOUND;
    }
    log_->push_back(name_ + "." + found->second);
    if (handler_) {
      try {
        EventArgs args(*params);
        handler_(found->second, args);
      } catch (const std::exception& error) {
        ADD_FAILURE() << name_ << "." << found->second << " failed: " << error.what();
      }
    }
    return S_OK;
  }

 private:
  IID iid_;
  std::string name_;
  EventNames events_;
  std::shared_ptr<std::vector<std::string>> log_;
  Handler handler_;
};

// One Advise, undone when it goes.
class Connection {
 public:
  Connection(IDispatch& source, const IID& iid, com::ComPtr<EventSink> sink) : sink_(std::move(sink)) {
    com::ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(source.QueryInterface(__uuidof(IConnectionPointContainer), container.PutVoid()), S_OK);
    if (!container) return;
    EXPECT_EQ(container->FindConnectionPoint(iid, point_.Put()), S_OK);
    if (point_) {
      EXPECT_EQ(point_->Advise(sink_.Get(), &cookie_), S_OK);
    }
  }
  ~Connection() { Disconnect(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  void Disconnect() {
    if (point_) {
      EXPECT_EQ(point_->Unadvise(cookie_), S_OK);
    }
    point_.Reset();
  }
  EventSink& Sink() { return *sink_; }

 private:
  com::ComPtr<EventSink> sink_;
  com::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

// COM identity, for telling whether two pointers reach one object.
inline IUnknown* Identity(const com::ComPtr<IDispatch>& object) {
  return object ? object.As<IUnknown>().Get() : nullptr;
}

// The message of the ComError `call` throws; "no error" when it throws none.
template <class F>
std::string ErrorOf(F&& call) {
  try {
    call();
  } catch (const com::ComError& error) {
    return error.what();
  }
  return "no error";
}

// Mailbox (Inbox, Bounces with two mails, Processed, Contacts with two contacts) and Archive.
class OutlookStandinTest : public com::testing::ComTest {
 protected:
  OutlookStandinTest() {
    mailbox = outlook->AddStore("Mailbox");
    inbox = mailbox->AddFolder("Inbox", host::ItemType::Mail);
    bounces = mailbox->AddFolder("Bounces", host::ItemType::Mail);
    processed = mailbox->AddFolder("Processed", host::ItemType::Mail);
    contacts = mailbox->AddFolder("Contacts", host::ItemType::Contact);
    archive = outlook->AddStore("Archive");
    bounce1 = bounces->AddMail("Delivery to ann@example.com failed", "Undeliverable", host::ItemClass::Report);
    bounce2 = bounces->AddMail("bob@example.com: unknown user", "Returned mail");
    ann = contacts->AddContact({.fullName = "Ann Smith", .email1Address = "ann@example.com"});
    bob = contacts->AddContact({.fullName = "Bob Jones", .email2Address = "BOB@example.com"});
    outlook->SetActiveExplorerFolder(inbox);
  }

  void TearDown() override {
    connections.clear();
    driver.reset();
    ComTest::TearDown();
  }

  OutlookDriver& Start(int majorVersion = 0) {
    driver = std::make_unique<OutlookDriver>(outlook, majorVersion);
    return *driver;
  }
  com::Dispatch App() { return com::Dispatch(driver->Application()); }
  com::Dispatch Session() { return com::Dispatch(App().Call("GetNamespace", "MAPI").ToDispatch()); }
  com::Dispatch Folder(const char* store, const char* name) {
    com::Dispatch stores(Session().Get("Folders").ToDispatch());
    com::Dispatch top(stores.Get("Item", store).ToDispatch());
    com::Dispatch children(top.Get("Folders").ToDispatch());
    return com::Dispatch(children.Get("Item", name).ToDispatch());
  }

  EventSink& Listen(IDispatch& source, const IID& iid, std::string name, const EventNames& events) {
    auto sink = com::Make<EventSink>(iid, std::move(name), events, log);
    connections.push_back(std::make_unique<Connection>(source, iid, std::move(sink)));
    return connections.back()->Sink();
  }
  std::vector<std::string> TakeLog() { return std::exchange(*log, {}); }

  std::shared_ptr<host::memory::MemoryOutlook> outlook = host::memory::MemoryOutlook::Create("16.0.0.4266");
  std::shared_ptr<host::memory::MemoryFolder> mailbox, inbox, bounces, processed, contacts, archive;
  std::shared_ptr<host::memory::MemoryItem> bounce1, bounce2;
  std::shared_ptr<host::memory::MemoryContact> ann, bob;
  std::shared_ptr<std::vector<std::string>> log = std::make_shared<std::vector<std::string>>();
  std::unique_ptr<OutlookDriver> driver;
  std::vector<std::unique_ptr<Connection>> connections;
};

}  // namespace qor::standin::testing
