// The framework's event sinks on the stand-in's objects: host events reaching C++ handlers in
// declaration order, Cancel flags written back to Outlook, handler errors kept from the host, a
// sink outliving its owner, and the command-bars update sink's answers to Office.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/adx_error.h"
#include "framework/command_bars_event_sink.h"
#include "framework/custom_events.h"
#include "framework/outlook2007_application.h"
#include "framework_fixture.h"
#include "host/automation/outlook_ids.h"
#include "host/office/office_ids.h"
#include "standin/office/command_bars_driver.h"
#include "standin/outlook/application_object.h"

namespace qor::framework::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace ids = host::outlook_ids;

TServerData explorerEventsData{ids::kExplorerEvents};

// ExplorerEvents delivered to a test handler.
class ExplorerEvents final : public TadxCustomEvents {
 public:
  using Handler = std::function<void(DISPID id, std::vector<com::Variant>& params)>;

  ExplorerEvents(TadxCOMAddInModule* owner, Handler handler) : TadxCustomEvents(owner), handler_(std::move(handler)) {
    InitServerData(explorerEventsData);
  }
  // A handler may free this object: it runs from a copy.
  void InvokeEvent(DISPID id, std::vector<com::Variant>& params) override {
    const Handler handler = handler_;
    handler(id, params);
  }
  using TadxCustomEvents::EventDispatch;

 private:
  Handler handler_;
};

class EventSinksTest : public FrameworkTest {
 protected:
  void StartOutlook(int major) {
    driver = std::make_unique<standin::OutlookDriver>(outlook, major);
    explorer = driver->ActiveExplorer();
    module = std::make_unique<ProbeModule>(log);
    module->OnError = [this](const std::exception_ptr& error, bool& handled) {
      errors.push_back(ErrorMessage(error));
      handled = true;
    };
  }
  void TearDown() override {
    explorer.Reset();
    module.reset();
    FrameworkTest::TearDown();
  }
  standin::ApplicationObject& Application() const {
    return *static_cast<standin::ApplicationObject*>(driver->Application().Get());
  }

  com::ComPtr<IDispatch> explorer;
  std::unique_ptr<ProbeModule> module;
  std::vector<std::string> errors;
};

// BeforeFolderSwitch(NewFolder, Cancel) with the handler turning Cancel over.
void ToggleCancel(std::vector<std::string>& seen, DISPID id, std::vector<com::Variant>& params) {
  if (id != ids::dispid::kBeforeFolderSwitch) return;
  const VARTYPE folderType = params[0].Type();
  seen.push_back(
      (folderType == VT_DISPATCH ? com::Dispatch(params[0].ToDispatch()).Get("Name").ToUtf8() : params[0].ToUtf8()) +
      (params[1].ToBool() ? " cancel" : " go"));
  params[1] = com::Variant(!params[1].ToBool());
}

TEST_F(EventSinksTest, CustomEvents_ArgumentsArriveInDeclarationOrderAndCancelGoesBackToTheHost) {
  StartOutlook(16);
  std::vector<std::string> seen;
  {
    ExplorerEvents events(module.get(), [&](DISPID id, auto& params) { ToggleCancel(seen, id, params); });
    EXPECT_EQ(explorerEventsData.InstanceCount, 1);
    events.ConnectTo(*explorer.Get());
    events.ConnectTo(*explorer.Get());  // connecting again replaces the connection

    EXPECT_FALSE(driver->SwitchFolder(*explorer.Get(), contacts)) << "the handler's Cancel reaches Outlook";
    EXPECT_THAT(seen, ElementsAre("Contacts go"));

    // Named arguments, given in any order, land at their declared positions; False goes back too.
    IDispatch& sink = *events.EventDispatch();
    VARIANT_BOOL cancel = VARIANT_TRUE;
    std::array<VARIANT, 2> args{};
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    const com::Bstr view(L"Messages");
    args[1].vt = VT_BSTR;
    args[1].bstrVal = view.Get();
    std::array<DISPID, 2> named{1, 0};
    DISPPARAMS params{args.data(), named.data(), 2, 2};
    VARIANT result = com::testing::JunkVariant();
    EXPECT_EQ(
        sink.Invoke(ids::dispid::kBeforeFolderSwitch, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
        S_OK);
    EXPECT_EQ(result.vt, VT_EMPTY);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    EXPECT_THAT(seen, ElementsAre("Contacts go", "Messages cancel"));

    // The sink answers for the event interface and knows no names or type information.
    com::ComPtr<IUnknown> answered;
    EXPECT_EQ(sink.QueryInterface(ids::kExplorerEvents, answered.PutVoid()), S_OK);
    EXPECT_EQ(sink.QueryInterface(ids::kInspectorEvents, answered.PutVoid()), E_NOINTERFACE);
    UINT count = 7;
    EXPECT_EQ(sink.GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* info = com::testing::Junk<ITypeInfo>();
    EXPECT_EQ(sink.GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(info, nullptr);
    LPOLESTR name = const_cast<LPOLESTR>(L"BeforeFolderSwitch");
    DISPID id = 0;
    EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_NOTIMPL);
  }
  EXPECT_EQ(explorerEventsData.InstanceCount, 0);
  EXPECT_TRUE(driver->SwitchFolder(*explorer.Get(), inbox)) << "freed events are no longer connected";
  EXPECT_THAT(seen, ElementsAre("Contacts go", "Messages cancel"));
  EXPECT_THAT(errors, IsEmpty());
}

TEST_F(EventSinksTest, CustomEvents_HandlerErrorsStayOutOfTheHostAndAFreedServerLeavesAQuietSink) {
  StartOutlook(16);
  try {
    ExplorerEvents orphan(nullptr, [](DISPID, auto&) {});
    ADD_FAILURE() << "events need an owner";
  } catch (const AdxError& error) {
    EXPECT_EQ(error.ErrorCode(), 31113);
    EXPECT_STREQ(error.what(), "The TadxCustomEvents class cannot be contained in the nil class.");
  }
  EXPECT_EQ(explorerEventsData.InstanceCount, 0);

  std::vector<std::string> seen;
  auto events = std::make_unique<ExplorerEvents>(module.get(), [&](DISPID id, auto& params) {
    if (id == ids::dispid::kSelectionChange) throw std::runtime_error("selection handler failed");
    ToggleCancel(seen, id, params);
  });
  events->ConnectTo(*explorer.Get());
  com::ComPtr<IDispatch> held;
  held.CopyFrom(events->EventDispatch());
  DISPPARAMS none{};
  EXPECT_EQ(held->Invoke(ids::dispid::kSelectionChange, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_THAT(errors, ElementsAre("selection handler failed"));

  // The host keeps the sink after the events object is gone: it stays callable and does nothing.
  events.reset();
  EXPECT_EQ(explorerEventsData.InstanceCount, 0);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[2];
  args[0].vt = VT_BYREF | VT_BOOL;
  args[0].pboolVal = &cancel;
  args[1].vt = VT_EMPTY;
  DISPPARAMS dispParams{args, nullptr, 2, 0};
  EXPECT_EQ(held->Invoke(ids::dispid::kBeforeFolderSwitch, IID_NULL, 0, DISPATCH_METHOD, &dispParams, nullptr, nullptr,
                         nullptr),
            S_OK);
  EXPECT_EQ(
      held->Invoke(ids::dispid::kSelectionChange, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
      S_OK);
  EXPECT_EQ(cancel, VARIANT_FALSE);
  EXPECT_THAT(seen, IsEmpty());
  EXPECT_TRUE(driver->SwitchFolder(*explorer.Get(), contacts));
  held.Reset();

  // A handler freeing its own events object: the Cancel it set still reaches Outlook.
  events = std::make_unique<ExplorerEvents>(module.get(), [&](DISPID id, auto& params) {
    ToggleCancel(seen, id, params);
    events.reset();
  });
  events->ConnectTo(*explorer.Get());
  EXPECT_FALSE(driver->SwitchFolder(*explorer.Get(), inbox));
  EXPECT_EQ(events, nullptr);
  EXPECT_THAT(seen, ElementsAre("Inbox go"));
  EXPECT_THAT(errors, ElementsAre("selection handler failed"));
}

TEST_F(EventSinksTest, Outlook2007Application_ListensToOutlooksApplicationEventsOnly) {
  StartOutlook(12);
  const IID& events11 = ids::kApplicationEvents11;
  {
    TadxOutlook2007Application application(module.get());
    EXPECT_EQ(application.ServerData().InstanceCount, 1);
    // Not Outlook's application: nothing to listen to.
    const com::ComPtr<IDispatch> bars = com::Dispatch(explorer).Get("CommandBars").ToDispatch();
    application.ConnectTo(*bars.Get());
    EXPECT_EQ(Application().SinkCount(events11), 0u);
    application.ConnectTo(*driver->Application().Get());
    application.ConnectTo(*driver->Application().Get());
    EXPECT_EQ(Application().SinkCount(events11), 1u);

    driver->RightClickFolder(contacts);
    driver->CloseContextMenu();
    EXPECT_TRUE(Application().Fire(events11, ids::dispid::kContextMenuClose, 2).failures.empty());
    EXPECT_THAT(errors, IsEmpty());
    // A close event Outlook never sends: the error goes to the module, Outlook hears S_OK.
    const com::FireResult broken = Application().Fire(events11, ids::dispid::kContextMenuClose);
    EXPECT_EQ(broken.sinksCalled, 1u);
    EXPECT_TRUE(broken.failures.empty());
    EXPECT_EQ(errors.size(), 1u);

    application.Disconnect();
    EXPECT_EQ(Application().SinkCount(events11), 0u);
    application.ConnectTo(*driver->Application().Get());
  }
  EXPECT_EQ(Application().SinkCount(events11), 0u) << "freeing the object disconnects it";
}

TEST_F(EventSinksTest, CommandBarsEventSink_AnswersOfficeAndHearsOnUpdateUntilDisconnected) {
  StartOutlook(11);
  const com::ComPtr<IDispatch> bars = com::Dispatch(explorer).Get("CommandBars").ToDispatch();
  standin::office::CommandBarsDriver office(*bars.Get());
  const com::ComPtr<TadxCommandBarsEventSink> sink = TadxCommandBarsEventSink::Create(*module, bars);
  const standin::office::EventResult update = office.RaiseOnUpdate();
  EXPECT_EQ(update.sinksCalled, 1u);
  EXPECT_TRUE(update.failures.empty());
  driver->RightClickFolder(inbox);  // Outlook 2003 refreshes its bars before a menu
  driver->CloseContextMenu();

  com::ComPtr<IUnknown> answered;
  EXPECT_EQ(sink->QueryInterface(__uuidof(host::office::DCommandBarsEvents), answered.PutVoid()), S_OK);
  UINT count = 7;
  EXPECT_EQ(sink->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  ITypeInfo* info = com::testing::Junk<ITypeInfo>();
  EXPECT_EQ(sink->GetTypeInfo(0, 0, &info), E_FAIL);
  EXPECT_EQ(info, nullptr);

  std::array<LPOLESTR, 2> names{const_cast<LPOLESTR>(L"OnUpdate"), const_cast<LPOLESTR>(L"onupdate")};
  std::array<DISPID, 2> dispids{};
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names.data(), 1, 0, dispids.data()), S_OK);
  EXPECT_EQ(dispids[0], 1);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, &names[1], 1, 0, dispids.data()), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names.data(), 2, 0, dispids.data()), E_INVALIDARG);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, nullptr, 1, 0, dispids.data()), E_POINTER);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names.data(), 1, 0, nullptr), E_POINTER);

  EXPECT_EQ(sink->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), S_OK)
      << "OnUpdate takes no arguments and reads none";

  sink->Disconnect();
  sink->Disconnect();
  EXPECT_EQ(office.RaiseOnUpdate().sinksCalled, 0u);
  EXPECT_EQ(sink->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), S_OK);

  // A collection without the update event leaves the sink unconnected.
  const com::ComPtr<TadxCommandBarsEventSink> lone = TadxCommandBarsEventSink::Create(*module, explorer);
  lone->Disconnect();
  EXPECT_THAT(errors, IsEmpty());
}

}  // namespace
}  // namespace qor::framework::testing
