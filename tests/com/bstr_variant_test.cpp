#include "com/bstr.h"
#include "com/dispatch_impl.h"
#include "com/utf.h"
#include "com/variant.h"

#include "com_test_support.h"

#include <string>

namespace qor::com {
namespace {

using namespace std::string_literals;
using testing::ComTest;

// "a", NUL, a-umlaut, euro sign, and an emoji outside the Basic Multilingual Plane.
const std::string kMixed = "a\0\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"s;
const std::wstring kMixedWide = L"a\0\x00E4\x20AC\xD83D\xDE00"s;

class Target final : public ComObject<Target, DispatchImpl<Target>> {
 public:
  static const DispatchTable<Target>& DispatchMembers() {
    static const auto table = DispatchTable<Target>().Property("Value", DISPID_VALUE, [](Target&) { return 7; });
    return table;
  }
};

TEST(UtfTest, ConversionsAreExactAndReplaceMalformedInput) {
  EXPECT_EQ(ToUtf16(kMixed), kMixedWide);
  EXPECT_EQ(ToUtf8(kMixedWide), kMixed);
  EXPECT_EQ(ToUtf16(""), L"");
  EXPECT_EQ(ToUtf16("x\xFFy"), L"x\xFFFDy");
  EXPECT_EQ(ToUtf8(L"x\xD800y"s), "x\xEF\xBF\xBDy");
}

TEST(BstrTest, KeepsLengthNulsAndOwnership) {
  const Bstr text(kMixed);
  EXPECT_EQ(text.Length(), 6u);
  EXPECT_EQ(SysStringLen(text.Get()), 6u);
  EXPECT_EQ(text.ToUtf8(), kMixed);
  EXPECT_EQ(Bstr(kMixedWide), text);

  Bstr copy = text;
  EXPECT_NE(copy.Get(), text.Get());
  EXPECT_EQ(copy, text);

  BSTR raw = SysAllocString(L"adopted");
  copy.Attach(raw);
  EXPECT_EQ(copy.Get(), raw);
  EXPECT_EQ(copy.Detach(), raw);
  EXPECT_EQ(copy.Get(), nullptr);
  SysFreeString(raw);

  Bstr empty;
  EXPECT_EQ(empty.Length(), 0u);
  EXPECT_EQ(empty.ToUtf8(), "");
  *empty.Put() = text.Copy();
  EXPECT_EQ(empty, text);
}

using VariantTest = ComTest;

TEST_F(VariantTest, ConstructorsPickTheAutomationTypeVisualBasicSees) {
  EXPECT_EQ(Variant(true).Get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(Variant(true).Type(), VT_BOOL);
  EXPECT_EQ(Variant(42).Type(), VT_I4);
  EXPECT_EQ(Variant(42LL).Type(), VT_I4);
  EXPECT_EQ(Variant(5'000'000'000LL).Type(), VT_I8);
  EXPECT_EQ(Variant(4'000'000'000u).Type(), VT_I8);
  EXPECT_EQ(Variant(1.5).Type(), VT_R8);
  // A string literal must not decay into True.
  EXPECT_EQ(Variant("text").Type(), VT_BSTR);
  EXPECT_EQ(Variant(L"text").Type(), VT_BSTR);
  EXPECT_EQ(Variant(kMixed).ToUtf8(), kMixed);
  EXPECT_EQ(SysStringLen(Variant(kMixed).Get().bstrVal), 6u);
  EXPECT_EQ(Variant(nullptr).Type(), VT_DISPATCH);
  EXPECT_TRUE(VariantOptional().IsMissing());
  EXPECT_TRUE(Variant().IsEmpty());
}

TEST_F(VariantTest, ObjectsAreReferencedCopiedAndReleased) {
  const ComPtr<Target> target = Make<Target>();
  {
    Variant held(target);
    EXPECT_EQ(held.Type(), VT_DISPATCH);
    EXPECT_REF(target.Get(), 2);
    Variant copy = held;
    EXPECT_REF(target.Get(), 3);
    Variant moved = std::move(copy);
    EXPECT_REF(target.Get(), 3);
    EXPECT_EQ(held.ToDispatch(), target);
    moved.Put();
    EXPECT_REF(target.Get(), 2);
    VARIANT raw = held.Detach();
    EXPECT_TRUE(held.IsEmpty());
    moved.Attach(raw);
  }
  EXPECT_REF(target.Get(), 1);
}

TEST_F(VariantTest, ReadersConvertOrThrowTheConversionError) {
  EXPECT_EQ(Variant("42").ToInt(), 42);
  EXPECT_EQ(Variant(42).ToUtf8(), "42");
  EXPECT_EQ(Variant(true).ToUtf8(), "True");
  EXPECT_TRUE(Variant("True").ToBool());
  EXPECT_FALSE(Variant(0).ToBool());
  EXPECT_EQ(Variant().ToUtf8(), "");
  EXPECT_EQ(Variant(5'000'000'000LL).ToInt64(), 5'000'000'000LL);

  VARIANT_BOOL flag = VARIANT_TRUE;
  EXPECT_TRUE(Variant::ByRef(&flag).ToBool());

  const auto codeOf = [](auto read) -> HRESULT {
    try {
      read();
    } catch (const ComError& error) {
      return error.Code();
    }
    return S_OK;
  };
  EXPECT_EQ(codeOf([] { Variant("abc").ToInt(); }), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(codeOf([] { Variant(5'000'000'000LL).ToInt(); }), DISP_E_OVERFLOW);
  EXPECT_EQ(codeOf([] { Variant(1).ToDispatch(); }), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(codeOf([] { Variant().ToDispatch(); }), DISP_E_TYPEMISMATCH);
  EXPECT_FALSE(Variant(nullptr).ToDispatch());
  EXPECT_EQ(codeOf([] { Variant::Null().ToUtf8(); }), DISP_E_TYPEMISMATCH);
  // An object is never asked for its default value behind the caller's back.
  const ComPtr<Target> target = Make<Target>();
  EXPECT_EQ(codeOf([&] { Variant(target).ToInt(); }), DISP_E_TYPEMISMATCH);
}

}  // namespace
}  // namespace qor::com
