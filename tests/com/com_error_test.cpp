#include "com/bstr.h"
#include "com/com_error.h"
#include "com/com_object.h"
#include "com/com_ptr.h"

#include "com_test_support.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

namespace qor::com {
namespace {

using testing::ComTest;

class FrameworkError : public std::runtime_error, public CodedError {
 public:
  FrameworkError(long code, const std::string& message) : std::runtime_error(message), code_(code) {}
  long ErrorCode() const noexcept override { return code_; }

 private:
  long code_;
};

// A vtable method shaped as every method COM calls.
class Failing final : public ComObject<Failing, IPersist, SupportsErrorInfo> {
 public:
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) noexcept override try {
    if (id == nullptr) return E_POINTER;
    throw std::runtime_error("The store is offline.");
  } catch (...) {
    return ReportToCom();
  }
};

template <class Throw>
HRESULT ReportThrown(Throw throwIt) {
  try {
    throwIt();
  } catch (...) {
    return ReportToCom();
  }
  return S_OK;
}

struct ThreadError {
  std::string description;
  std::string source;
};

ThreadError TakeThreadError() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK) return {"<none>", ""};
  Bstr description;
  Bstr source;
  info->GetDescription(description.Put());
  info->GetSource(source.Put());
  return {description.ToUtf8(), source.ToUtf8()};
}

using ComErrorTest = ComTest;

TEST_F(ComErrorTest, ThrowIfFailedThrowsFailuresOnlyWithTheSystemsMessage) {
  EXPECT_NO_THROW(ThrowIfFailed(S_OK));
  EXPECT_NO_THROW(ThrowIfFailed(S_FALSE));
  try {
    ThrowIfFailed(E_ACCESSDENIED);
    ADD_FAILURE() << "no throw";
  } catch (const ComError& error) {
    EXPECT_EQ(error.Code(), E_ACCESSDENIED);
    EXPECT_STRNE(error.what(), "");
  }
  EXPECT_EQ(HresultMessage(static_cast<HRESULT>(0xA0001234)), "Error 0xA0001234");
}

TEST_F(ComErrorTest, ReportToCom_MapsEachExceptionAndSetsTheErrorInformation) {
  const std::string german = "Zugriff verweigert: Ordner \xE2\x80\x9EPosteingang\xE2\x80\x9C";
  EXPECT_EQ(ReportThrown([&] { throw ComError(E_ACCESSDENIED, german, "QOR for Outlook"); }), E_ACCESSDENIED);
  const ThreadError denied = TakeThreadError();
  EXPECT_EQ(denied.description, german);
  EXPECT_EQ(denied.source, "QOR for Outlook");

  EXPECT_EQ(ReportThrown([] { throw std::runtime_error("Disk full"); }), E_UNEXPECTED);
  EXPECT_EQ(TakeThreadError().description, "Disk full");
  EXPECT_EQ(ReportThrown([] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(ReportThrown([] { throw FrameworkError(static_cast<long>(E_ABORT), "aborted"); }), E_ABORT);
  EXPECT_EQ(ReportThrown([] { throw FrameworkError(31101, "The Name property cannot be empty."); }), E_UNEXPECTED);
  EXPECT_EQ(TakeThreadError().description, "The Name property cannot be empty.");
  EXPECT_EQ(ReportThrown([] { throw 42; }), E_UNEXPECTED);
  // A success code in an exception must not turn a failure into success.
  EXPECT_EQ(ReportThrown([] { throw ComError(S_FALSE, "odd"); }), E_UNEXPECTED);
  EXPECT_EQ(ReportToCom(), E_UNEXPECTED);
}

TEST_F(ComErrorTest, FromErrorInfo_ReadsTheMessageOfAnObjectThatVouchesForIt) {
  const ComPtr<IPersist> failing = Make<Failing>().As<IPersist>();
  CLSID id;
  const HRESULT hr = failing->GetClassID(&id);
  EXPECT_EQ(hr, E_UNEXPECTED);
  const ComError error = ComError::FromErrorInfo(hr, failing.Get(), __uuidof(IPersist));
  EXPECT_EQ(error.Code(), E_UNEXPECTED);
  EXPECT_STREQ(error.what(), "The store is offline.");
  // Taken once: a second reader finds only the system's text.
  EXPECT_EQ(std::string(ComError::FromErrorInfo(hr, nullptr, __uuidof(IPersist)).what()), HresultMessage(hr));
}

TEST_F(ComErrorTest, ReportToExcepInfo_FillsScodeAndDescription) {
  EXCEPINFO info;
  std::memset(&info, 0xcc, sizeof info);
  HRESULT hr = S_OK;
  try {
    throw ComError(E_ACCESSDENIED, "Denied.", "Outlook");
  } catch (...) {
    hr = ReportToExcepInfo(&info);
  }
  EXPECT_EQ(hr, DISP_E_EXCEPTION);
  EXPECT_EQ(info.scode, E_ACCESSDENIED);
  EXPECT_EQ(info.wCode, 0);
  EXPECT_EQ(info.pfnDeferredFillIn, nullptr);
  const ComError error = ErrorFromInvoke(hr, info, nullptr);
  EXPECT_EQ(error.Code(), E_ACCESSDENIED);
  EXPECT_STREQ(error.what(), "Denied.");
  EXPECT_EQ(error.Source(), "Outlook");
  EXPECT_EQ(info.bstrDescription, nullptr);
}

}  // namespace
}  // namespace qor::com
