#include "com/dispatch_call.h"
#include "com/dispatch_impl.h"

#include "com_test_support.h"

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qor::com {
namespace {

using namespace std::string_literals;
using testing::ComTest;
using testing::Junk;
using testing::JunkVariant;

class Widget final : public ComObject<Widget, DispatchImpl<Widget>> {
 public:
  static const DispatchTable<Widget>& DispatchMembers() {
    static const auto table =
        DispatchTable<Widget>()
            .Property(
                "Name", [](Widget& self) { return self.name_; },
                [](Widget& self, std::string name) { self.name_ = std::move(name); })
            .Property("Count", [](Widget&) { return 3; })
            .Method("Scale", [](Widget&, long factor, unsigned short base) { return factor * base; })
            .Property("Item", DISPID_VALUE, [](Widget&, int index) { return "item " + std::to_string(index); })
            .Method("Join", &Widget::Join)
            .Method("Fail", [](Widget&, std::string message) -> int { throw std::runtime_error(message); })
            .Method("Deny", [](Widget&) { throw ComError(E_ACCESSDENIED, "The folder is read-only.", "Outlook"); })
            .Method("Confirm", [](Widget&, RefArg answer) { answer.Set(true); })
            .Method("CountArgs", [](Widget&, const DispatchArgs& args) { return static_cast<int>(args.Count()); });
    return table;
  }

  std::string Join(std::string first, std::string second, std::optional<std::string> separator) const {
    return first + separator.value_or("+") + second;
  }

 private:
  std::string name_;
};

// One of two dispinterfaces that number the same names the other way round.
template <DISPID kName>
class Described final : public ComObject<Described<kName>, DispatchImpl<Described<kName>>> {
 public:
  static constexpr IID kDispatchIid = {0x0DE5C000u + kName, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  static const DispatchTable<Described>& DispatchMembers() {
    static const auto table = DispatchTable<Described>()
                                  .Property("Name", kName, [](Described&) { return kName == 1 ? "one" : "two"; })
                                  .Property("Other", 3 - kName, [](Described&) { return "other"; });
    return table;
  }
};

// Counts the name lookups on their way to a Widget.
class CountingDispatch final : public ComObject<CountingDispatch, IDispatch> {
 public:
  explicit CountingDispatch(ComPtr<IDispatch> inner) : inner_(std::move(inner)) {}
  int lookups = 0;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) noexcept override {
    return inner_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) noexcept override {
    ++lookups;
    return inner_->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* info, UINT* argumentError) noexcept override {
    return inner_->Invoke(id, iid, lcid, flags, params, result, info, argumentError);
  }

 private:
  ComPtr<IDispatch> inner_;
};

// Fails the way other servers do: through IErrorInfo, a deferred EXCEPINFO, or a wCode. It has
// no type info to give. Any other call is a test failure.
class FailingServer final : public ComObject<FailingServer, IDispatch, ISupportErrorInfo> {
 public:
  explicit FailingServer(bool supportsErrorInfo) : supportsErrorInfo_(supportsErrorInfo) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) noexcept override { return Unexpected(); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept override {
    *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) noexcept override {
    const std::wstring name = names[0];
    *ids = name == L"Broken" ? 1 : name == L"Deferred" ? 2 : name == L"Coded" ? 3 : DISPID_UNKNOWN;
    return *ids == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO* info,
                                   UINT*) noexcept override {
    switch (id) {
      case 1: {
        ComPtr<ICreateErrorInfo> create;
        CreateErrorInfo(create.Put());
        create->SetDescription(const_cast<LPOLESTR>(L"The item has been moved or deleted."));
        SetErrorInfo(0, create.As<IErrorInfo>().Get());
        return E_FAIL;
      }
      case 2:
        info->pfnDeferredFillIn = [](EXCEPINFO* deferred) STDMETHODCALLTYPE -> HRESULT {
          deferred->scode = E_ABORT;
          deferred->bstrDescription = SysAllocString(L"Filled in later.");
          return S_OK;
        };
        return DISP_E_EXCEPTION;
      case 3:
        info->wCode = 1004;
        info->bstrDescription = SysAllocString(L"Application-defined or object-defined error");
        return DISP_E_EXCEPTION;
      default:
        return Unexpected();
    }
  }
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override {
    return supportsErrorInfo_ && iid == __uuidof(IDispatch) ? S_OK : S_FALSE;
  }

 private:
  static HRESULT Unexpected() {
    ADD_FAILURE() << "unexpected call";
    return E_UNEXPECTED;
  }
  bool supportsErrorInfo_;
};

// Coerces its one argument to a number in place, as COM lets a callee do with its arguments, and
// remembers the string it was handed.
class CoercingServer final : public ComObject<CoercingServer, DispatchImpl<CoercingServer>> {
 public:
  static const DispatchTable<CoercingServer>& DispatchMembers() {
    static const auto table =
        DispatchTable<CoercingServer>().Method("Coerce", [](CoercingServer& self, const DispatchArgs& args) {
          VARIANT& value = const_cast<VARIANT&>(args.Raw(0));
          self.handed = value.vt == VT_BSTR ? value.bstrVal : nullptr;
          ThrowIfFailed(VariantChangeType(&value, &value, 0, VT_I4));
          return value.lVal;
        });
    return table;
  }
  BSTR handed = nullptr;
};

template <class Call>
ComError ErrorOf(Call call) {
  try {
    call();
  } catch (const ComError& error) {
    return error;
  }
  return ComError(S_OK, "no error");
}

using DispatchTest = ComTest;

TEST_F(DispatchTest, LateBoundCalls_FindNamesIgnoringCaseAndPassArgumentsInDeclarationOrder) {
  Dispatch widget(Make<Widget>());
  const std::string name =
      "B\xC3\xBC"
      "cher\0Ablage"s;
  widget.Put("name", name);
  EXPECT_EQ(widget.Get("NAME").ToUtf8(), name);
  EXPECT_EQ(widget.Call("join", "a", "b").ToUtf8(), "a+b");
  EXPECT_EQ(widget.Call("JOIN", "a", "b", "-").ToUtf8(), "a-b");
  EXPECT_EQ(widget.Call("Join", "a", "b", VariantOptional()).ToUtf8(), "a+b");
  EXPECT_EQ(widget.Get("Item", 3).ToUtf8(), "item 3");
  EXPECT_EQ(widget.Call("Item", 4).ToUtf8(), "item 4");
  EXPECT_EQ(widget.Call("CountArgs", 1, "two", 3.0).ToInt(), 3);
  EXPECT_EQ(widget.Call("Scale", "-4", 25).ToInt(), -100);
  EXPECT_EQ(ErrorOf([&] { widget.Call("Scale", 1, 70000); }).Code(), DISP_E_OVERFLOW);

  VARIANT_BOOL answer = VARIANT_FALSE;
  widget.Call("Confirm", Variant::ByRef(&answer));
  EXPECT_EQ(answer, VARIANT_TRUE);
  EXPECT_EQ(ErrorOf([&] { widget.Call("Confirm", true); }).Code(), DISP_E_TYPEMISMATCH);
}

TEST_F(DispatchTest, LateBoundCalls_ThrowTheServersMessage) {
  Dispatch widget(Make<Widget>());
  const ComError failed = ErrorOf([&] { widget.Call("Fail", "Disk full"); });
  EXPECT_EQ(failed.Code(), E_UNEXPECTED);
  EXPECT_STREQ(failed.what(), "Disk full");
  const ComError denied = ErrorOf([&] { widget.Call("Deny"); });
  EXPECT_EQ(denied.Code(), E_ACCESSDENIED);
  EXPECT_STREQ(denied.what(), "The folder is read-only.");
  EXPECT_EQ(denied.Source(), "Outlook");
  const ComError unknown = ErrorOf([&] { widget.Get("Colour"); });
  EXPECT_EQ(unknown.Code(), DISP_E_UNKNOWNNAME);
  EXPECT_NE(std::string(unknown.what()).find("Colour"), std::string::npos);
  EXPECT_EQ(ErrorOf([] { Dispatch().Get("Name"); }).Code(), E_POINTER);
  const ComError mismatch = ErrorOf([&] { widget.Call("Join", "a", 2, ComPtr<IDispatch>()); });
  EXPECT_EQ(mismatch.Code(), DISP_E_TYPEMISMATCH);
  EXPECT_NE(std::string(mismatch.what()).find("(argument 3)"), std::string::npos);

  Dispatch trusted(Make<FailingServer>(true));
  const ComError moved = ErrorOf([&] { trusted.Call("Broken"); });
  EXPECT_EQ(moved.Code(), E_FAIL);
  EXPECT_STREQ(moved.what(), "The item has been moved or deleted.");
  const ComError deferred = ErrorOf([&] { trusted.Call("Deferred"); });
  EXPECT_EQ(deferred.Code(), E_ABORT);
  EXPECT_STREQ(deferred.what(), "Filled in later.");
  const ComError coded = ErrorOf([&] { trusted.Call("Coded"); });
  EXPECT_EQ(coded.Code(), static_cast<HRESULT>(0x800A03EC));
  // Error information from an object that does not vouch for it may be stale.
  Dispatch untrusted(Make<FailingServer>(false));
  EXPECT_STREQ(ErrorOf([&] { untrusted.Call("Broken"); }).what(), HresultMessage(E_FAIL).c_str());
}

TEST_F(DispatchTest, LateBoundCalls_HandTheCalleeArgumentsItMayCoerceInPlace) {
  const ComPtr<CoercingServer> server = Make<CoercingServer>();
  Dispatch coercing(server);
  const Variant number("42");
  EXPECT_EQ(coercing.Call("Coerce", number).ToInt(), 42);
  EXPECT_NE(server->handed, number.Get().bstrVal);
  EXPECT_EQ(number.Type(), VT_BSTR);
  EXPECT_EQ(number.ToUtf8(), "42");
}

TEST_F(DispatchTest, LateBoundCalls_LookEachNameUpOncePerObject) {
  const ComPtr<CountingDispatch> counting = Make<CountingDispatch>(Make<Widget>());
  Dispatch widget(counting);
  widget.Put("Name", "x");
  widget.Get("Name");
  widget.Get("Name");
  widget.Call("Join", "a", "b");
  EXPECT_EQ(counting->lookups, 2);
  Dispatch again(counting);
  again.Get("Name");
  EXPECT_EQ(counting->lookups, 3);
}

TEST_F(DispatchTest, LateBoundCalls_LookNamesUpOncePerDispinterfaceOfObjectsThatNameIt) {
  for (int round = 0; round < 2; ++round) {
    const ComPtr<CountingDispatch> one = Make<CountingDispatch>(Make<Described<1>>());
    const ComPtr<CountingDispatch> two = Make<CountingDispatch>(Make<Described<2>>());
    EXPECT_EQ(Dispatch(one).Get("Name").ToUtf8(), "one");
    EXPECT_EQ(Dispatch(two).Get("Name").ToUtf8(), "two");
    EXPECT_EQ(Dispatch(two).Get("Other").ToUtf8(), "other");
    EXPECT_EQ(one->lookups + two->lookups, 0) << "found in their type infos";
  }
  EXPECT_EQ(Dispatch(Make<Described<2>>()).Type().Iid(), Described<2>::kDispatchIid);
  EXPECT_FALSE(Dispatch(Make<Widget>()).Type());
}

TEST_F(DispatchTest, DispatchImpl_AnswersWrongCallsWithTheExactCodes) {
  const ComPtr<IDispatch> widget = Make<Widget>().As<IDispatch>();
  const auto invoke = [&](DISPID id, WORD flags, std::initializer_list<Variant> reversed, UINT* argumentError = nullptr,
                          VARIANT* result = nullptr) {
    std::vector<VARIANTARG> args;
    for (const Variant& arg : reversed) args.push_back(arg.Get());
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXCEPINFO info{};
    return widget->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &info, argumentError);
  };
  const auto idOf = [&](const wchar_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(widget->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    return id;
  };

  VARIANT result = JunkVariant();
  EXPECT_EQ(invoke(4711, DISPATCH_METHOD, {}, nullptr, &result), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(invoke(idOf(L"Count"), DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(idOf(L"Join"), DISPATCH_METHOD, {Variant("b")}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(idOf(L"Join"), DISPATCH_METHOD, {1, 2, 3, 4}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(idOf(L"Count"), DISPATCH_PROPERTYGET, {1}), DISP_E_BADPARAMCOUNT);

  UINT argumentError = 0xdeadbeef;
  EXPECT_EQ(invoke(DISPID_VALUE, DISPATCH_PROPERTYGET, {Variant("abc")}, &argumentError), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argumentError, 0u);
  // Reversed: "b" is the second argument in declaration order, the missing first one is rgvarg[1].
  EXPECT_EQ(invoke(idOf(L"Join"), DISPATCH_METHOD, {Variant("b"), VariantOptional()}, &argumentError),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(argumentError, 1u);

  EXCEPINFO info;
  std::memset(&info, 0xcc, sizeof info);
  Variant message("Quota exceeded");
  DISPPARAMS params{const_cast<VARIANTARG*>(&message.Get()), nullptr, 1, 0};
  result = JunkVariant();
  EXPECT_EQ(widget->Invoke(idOf(L"fail"), IID_NULL, 0, DISPATCH_METHOD, &params, &result, &info, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(info.scode, E_UNEXPECTED);
  EXPECT_EQ(std::wstring(info.bstrDescription), L"Quota exceeded");
  EXPECT_EQ(ErrorFromInvoke(DISP_E_EXCEPTION, info, nullptr).Code(), E_UNEXPECTED);

  DISPID named = 0;
  DISPPARAMS withNames{const_cast<VARIANTARG*>(&message.Get()), &named, 1, 1};
  EXPECT_EQ(widget->Invoke(idOf(L"Fail"), IID_NULL, 0, DISPATCH_METHOD, &withNames, nullptr, nullptr, nullptr),
            DISP_E_NONAMEDARGS);
  EXPECT_EQ(widget->Invoke(idOf(L"Name"), IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(widget->Invoke(idOf(L"Name"), IID_IDispatch, 0, DISPATCH_PROPERTYGET, &params, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);

  LPOLESTR names[] = {const_cast<LPOLESTR>(L"jOiN"), const_cast<LPOLESTR>(L"separator")};
  DISPID ids[] = {0x0bad, 0x0bad};
  EXPECT_EQ(widget->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], idOf(L"Join"));
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  names[0] = const_cast<LPOLESTR>(L"Joint");
  EXPECT_EQ(widget->GetIDsOfNames(IID_NULL, names, 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);

  UINT count = 0xdeadbeef;
  EXPECT_EQ(widget->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  ITypeInfo* typeInfo = Junk<ITypeInfo>();
  EXPECT_EQ(widget->GetTypeInfo(0, 0, &typeInfo), E_NOTIMPL);
  EXPECT_EQ(typeInfo, nullptr);
}

}  // namespace
}  // namespace qor::com
