// What Outlook's ribbon sees of the add-in object: the customUI document, the call-back names,
// and a dispatch that returns an HRESULT for anything it is sent.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "com/com_object.h"
#include "framework/xml_helper.h"
#include "framework_fixture.h"

namespace qor::framework::testing {
namespace {

std::wstring CustomUI(IUnknown& addIn, const wchar_t* ribbonId, HRESULT* result = nullptr) {
  com::ComPtr<IRibbonExtensibility> ribbon;
  EXPECT_EQ(addIn.QueryInterface(__uuidof(IRibbonExtensibility), ribbon.PutVoid()), S_OK);
  com::Bstr xml;
  const HRESULT hr = ribbon->GetCustomUI(com::Bstr(ribbonId).Get(), xml.Put());
  if (result != nullptr) *result = hr;
  return std::wstring(xml.View());
}

std::wstring Document(const wchar_t* xmlns) {
  return std::wstring(L"<customUI xmlns=\"") + xmlns +
         L"\" onLoad=\"RibbonLoaded_Callback\" loadImage=\"GetImages_Callback\">\r\n</customUI>";
}

class RibbonObject final : public com::ComObject<RibbonObject, IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) noexcept override {
    return E_NOTIMPL;
  }
};

// The version comes from the host's program file, as Outlook 2010 asks before start-up is
// complete: this test program carries version 1.0, a version that names no namespace. Per
// version the documents are checked through qorhost, which carries Outlook's.
TEST_F(FrameworkTest, CustomUI_DocumentFollowsTheProgramsVersionAndLoadsItsRibbon) {
  Start(16);
  ASSERT_EQ(Connect(), S_OK);
  TadxCOMAddInModule& module = *Module();
  std::vector<std::string> raised;
  module.OnRibbonBeforeCreate = [&](TadxCOMAddInModule&, const std::wstring& id) {
    raised.push_back("BeforeCreate " + std::string(id.begin(), id.end()));
  };
  module.OnRibbonBeforeLoad = [&](TadxCOMAddInModule&, const std::wstring&, std::wstring& xml) {
    raised.push_back("BeforeLoad");
    xml += L"<!-- changed -->";
  };
  module.OnRibbonLoaded = [&](TadxCOMAddInModule&, IDispatch*) { raised.push_back("Loaded"); };
  EXPECT_EQ(CustomUI(*addIn.Get(), L"Microsoft.Outlook.Explorer"), Document(L"") + L"<!-- changed -->");
  EXPECT_EQ(module.HostMajorVersion(), 1);
  EXPECT_TRUE(module.IsRibbon());
  EXPECT_EQ(module.HostType(), ohaOutlook);

  com::ComPtr<IDispatch> dispatch = addIn.As<IDispatch>();
  const wchar_t* names[] = {L"RibbonLoaded_Callback"};
  DISPID id = 0;
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names), 1, 0, &id), S_OK);
  com::ComPtr<RibbonObject> ribbon = com::Make<RibbonObject>();
  VARIANT argument;
  argument.vt = VT_DISPATCH;
  argument.pdispVal = ribbon.Get();
  DISPPARAMS params{&argument, nullptr, 1, 0};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(module.RibbonUI().Get(), static_cast<IDispatch*>(ribbon.Get()));
  EXPECT_EQ(module.OfficeXMLNS(), L"http://schemas.microsoft.com/office/2009/07/customui");
  EXPECT_THAT(raised, ::testing::ElementsAre("BeforeCreate Microsoft.Outlook.Explorer", "BeforeLoad", "Loaded"));

  // The task-pane factory and the framework's call-back interface reach the module too.
  module.OnCTPFactoryAvailable = [&](IDispatch* ctp) { raised.push_back(ctp != nullptr ? "CTP" : "no CTP"); };
  module.OnCallBack = [&](const std::wstring& key, long i1, long, long, const std::wstring& s1, const std::wstring&,
                          const std::wstring&) {
    raised.push_back(std::string(key.begin(), key.end()) + " " + std::to_string(i1) + " " +
                     std::string(s1.begin(), s1.end()));
  };
  EXPECT_EQ(addIn.As<ICustomTaskPaneConsumer>()->CTPFactoryAvailable(ribbon.Get()), S_OK);
  EXPECT_EQ(module.CTPFactory().Get(), static_cast<IDispatch*>(ribbon.Get()));
  EXPECT_EQ(addIn.As<IadxCallBack>()->CallBack(com::Bstr(L"key").Get(), 7, 0, 0, com::Bstr(L"text").Get(), nullptr,
                                                nullptr),
            S_OK);
  EXPECT_THAT(raised, ::testing::ElementsAre("BeforeCreate Microsoft.Outlook.Explorer", "BeforeLoad", "Loaded", "CTP",
                                             "key 7 text"));
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
}

TEST_F(FrameworkTest, CustomUI_WriterNestsWithTabsAndPutsAttributesIntoTheLastStartTag) {
  TadxXMLHelper writer;
  writer.WriteStartElement(L"customUI");
  writer.WriteAttributeString(L"xmlns", L"ns");
  writer.WriteStartElement(L"ribbon");
  writer.WriteElementWithAttributeString(L"button", {{L"id", L"b1"}, {L"label", L"One"}});
  writer.WriteEndElement(L"ribbon");
  writer.WriteEndElement(L"customUI");
  EXPECT_EQ(writer.Text(),
            L"<customUI xmlns=\"ns\">\r\n\t<ribbon>\r\n\t\t<button id=\"b1\" label=\"One\" />\r\n\t</ribbon>\r\n"
            L"</customUI>");
}

TEST_F(FrameworkTest, Dispatch_CallBackNamesAreExactAndUnknownNamesAreRefused) {
  Start(16);
  com::ComPtr<IDispatch> dispatch = addIn.As<IDispatch>();
  com::ComPtr<IUnknown> ownInterface;
  EXPECT_EQ(addIn->QueryInterface(addin::IID_IcoqorOutlook, ownInterface.PutVoid()), S_OK);
  const auto idOf = [&](const wchar_t* name, DISPID* ids, UINT count = 1) {
    const wchar_t* names[] = {name, L"second"};
    return dispatch->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(names), count, 0, ids);
  };
  DISPID ids[2] = {0, 0};
  EXPECT_EQ(idOf(L"RibbonLoaded_Callback", ids), S_OK);
  EXPECT_EQ(ids[0], 10);
  EXPECT_EQ(idOf(L"GetImages_Callback", ids), S_OK);
  EXPECT_EQ(ids[0], 11);
  EXPECT_EQ(idOf(L"ribbonloaded_callback", ids, 2), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(idOf(L"RibbonLoaded_Callback\x0100", ids), DISP_E_UNKNOWNNAME);
}

// Random members, argument counts and argument types: every call comes back with a result.
TEST_F(FrameworkTest, Dispatch_SurvivesAnyInvoke) {
  Start(16);
  ASSERT_EQ(Connect(ext_cm_AfterStartup), S_OK);
  Module()->OnError = [](const std::exception_ptr&, bool& handled) { handled = true; };
  com::ComPtr<IDispatch> dispatch = addIn.As<IDispatch>();
  std::mt19937 random(20261209);
  const std::vector<DISPID> members = {0, 1, 2, 3, 4, 5, 10, 11, 12, 18, 37, 50, 55, 65, 66, -1, -4, DISPID_VALUE,
                                       0x60000000, 0x60010000, 0x60020003, 0x7fffffff};
  com::ComPtr<RibbonObject> object = com::Make<RibbonObject>();
  for (int call = 0; call < 3000; ++call) {
    const DISPID id = members[random() % members.size()];
    const UINT count = random() % 4;
    std::vector<VARIANT> args(count);
    VARIANT_BOOL flag = VARIANT_FALSE;
    com::Bstr text(L"text");
    for (VARIANT& arg : args) {
      VariantInit(&arg);
      switch (random() % 7) {
        case 0: arg.vt = VT_I4; arg.lVal = static_cast<LONG>(random()); break;
        case 1: arg.vt = VT_BSTR; arg.bstrVal = text.Get(); break;
        case 2: arg.vt = VT_DISPATCH; arg.pdispVal = object.Get(); break;
        case 3: arg.vt = VT_DISPATCH; arg.pdispVal = nullptr; break;
        case 4: arg.vt = VT_BOOL | VT_BYREF; arg.pboolVal = &flag; break;
        case 5: arg.vt = VT_ERROR; arg.scode = DISP_E_PARAMNOTFOUND; break;
        default: arg.vt = VT_NULL; break;
      }
    }
    DISPPARAMS params{args.data(), nullptr, count, 0};
    const WORD flags = static_cast<WORD>(1u << (random() % 4));
    VARIANT result;
    EXCEPINFO info{};
    UINT argError = 0;
    const HRESULT hr = dispatch->Invoke(id, IID_NULL, 0, flags, &params, &result, &info, &argError);
    if (SUCCEEDED(hr)) VariantClear(&result);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
  }
  EXPECT_EQ(addIn->OnDisconnection(ext_dm_HostShutdown, nullptr), S_OK);
}

}  // namespace
}  // namespace qor::framework::testing
