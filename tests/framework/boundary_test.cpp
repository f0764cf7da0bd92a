// Every kind of call into the add-in answers a failure with its HRESULT and error information,
// and leaves a record in the diagnostics log that names the object and member.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "com/boundary.h"
#include "framework/automation_factory.h"
#include "framework/event_connection.h"
#include "framework/ribbon_callbacks.h"
#include "framework_fixture.h"
#include "host/automation/outlook_ids.h"
#include "platform/diagnostics.h"

namespace qor::framework::testing {
namespace {

using ::testing::Contains;
using ::testing::EndsWith;

namespace diagnostics = platform::diagnostics;

class BoundaryTest : public FrameworkTest {
 protected:
  BoundaryTest() { diagnostics::Forget(); }
  ~BoundaryTest() override { diagnostics::Forget(); }
};

// A factory whose objects cannot be made.
class FailingFactory final : public AutomationFactory {
 public:
  FailingFactory() : AutomationFactory(ComServer::Instance(), addin::CLASS_coqorOutlook) {}

 protected:
  com::ComPtr<IUnknown> CreateObject() override { throw com::ComError(E_ACCESSDENIED, "no objects today"); }
};

LRESULT CALLBACK ThrowingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message != WM_APP) return DefWindowProcW(window, message, wParam, lParam);
  return com::EntryOr("TestWindow.WindowProc", LRESULT{-1}, [&]() -> LRESULT {
    throw std::runtime_error("painting failed");
  });
}

TEST_F(BoundaryTest, EveryKindOfEntryAnswersAFailureAndRecordsIt) {
  // A method of a dual interface Office calls, before Outlook has connected the add-in.
  Start(16);
  const com::ComPtr<IDispatch> dispatch = addIn.As<IDispatch>();
  EXPECT_EQ(addIn.As<ICustomTaskPaneConsumer>()->CTPFactoryAvailable(nullptr), E_UNEXPECTED);
  EXPECT_EQ(LastError(), "The add-in is not connected.");

  // A ribbon call-back: the error comes back in the EXCEPINFO.
  VARIANT control;
  control.vt = VT_DISPATCH;
  control.pdispVal = dispatch.Get();
  DISPPARAMS params{&control, nullptr, 1, 0};
  EXCEPINFO info{};
  EXPECT_EQ(dispatch->Invoke(kOnActionCommonCallback, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, &info, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_UNEXPECTED);
  com::Bstr description;
  description.Attach(info.bstrDescription);
  SysFreeString(info.bstrSource);
  EXPECT_EQ(description.ToUtf8(), "The add-in is not connected.");

  // An event sink: Outlook goes on with the folder switch whatever the handler did.
  const com::ComPtr<IDispatch> explorer = driver->ActiveExplorer();
  const EventConnection events(*explorer.Get(), host::outlook_ids::kExplorerEvents,
                               {{host::outlook_ids::dispid::kBeforeFolderSwitch,
                                 [](const com::DispatchArgs&) { throw std::runtime_error("handler failed"); }}});
  EXPECT_TRUE(driver->SwitchFolder(*explorer.Get(), contacts));

  // A class factory.
  FailingFactory failing;
  com::ComPtr<IUnknown> object;
  EXPECT_EQ(failing.CreateInstance(nullptr, __uuidof(IUnknown), object.PutVoid()), E_ACCESSDENIED);
  EXPECT_EQ(LastError(), "no objects today");

  // A window procedure, on a real window.
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ThrowingWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"QorBoundaryTest";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  const HWND window = CreateWindowExW(0, L"QorBoundaryTest", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                                      windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageW(window, WM_APP, 0, 0), -1);
  DestroyWindow(window);
  UnregisterClassW(L"QorBoundaryTest", windowClass.hInstance);

  const auto records = diagnostics::Recent();
  EXPECT_THAT(records, Contains(EndsWith("error: TadxAddin.CTPFactoryAvailable: 0x8000FFFF The add-in is not connected.")));
  EXPECT_THAT(records, Contains(EndsWith("error: TadxAddin.Invoke: 0x8000FFFF The add-in is not connected.")));
  EXPECT_THAT(records, Contains(EndsWith("error: AutomationFactory.CreateInstance: 0x80070005 no objects today")));
  EXPECT_THAT(records, Contains(EndsWith("error: TestWindow.WindowProc: 0x8000FFFF painting failed")));
  EXPECT_THAT(records, Contains(EndsWith("error: EventSink.Invoke: 0x8000FFFF handler failed")));
  EXPECT_EQ(diagnostics::ErrorCount(), 5u);
}

}  // namespace
}  // namespace qor::framework::testing
