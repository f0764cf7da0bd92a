#pragma once

// One error vocabulary for COM code: inner code throws ComError, every method COM calls ends in
// `catch (...) { return ReportToCom(); }`.

#include <windows.h>
#include <oleauto.h>

#include <stdexcept>
#include <string>
#include <type_traits>

namespace qor::com {

// The system's text for `code`, or "Error 0x80004005" when the system has none.
std::string HresultMessage(HRESULT code);

class ComError : public std::runtime_error {
 public:
  explicit ComError(HRESULT code);
  ComError(HRESULT code, const std::string& message, std::string source = {});

  HRESULT Code() const noexcept { return code_; }
  const std::string& Source() const noexcept { return source_; }

  // Takes the thread's error information (always clearing it) and uses it when `object` declares,
  // through ISupportErrorInfo, that it sets it for `iid`; a null `object` trusts it unasked.
  static ComError FromErrorInfo(HRESULT code, IUnknown* object, REFIID iid);

 private:
  HRESULT code_;
  std::string source_;
};

// The error of a failed IDispatch::Invoke: the callee's EXCEPINFO for DISP_E_EXCEPTION (deferred
// fill-in run, wCode mapped as Visual Basic does), else its IErrorInfo. Frees the EXCEPINFO strings.
ComError ErrorFromInvoke(HRESULT result, EXCEPINFO& info, IUnknown* object);

// Mixed into error types of other layers that carry a numeric code: ReportToCom hands a negative
// code (a failure HRESULT) to the caller and maps any other to E_UNEXPECTED.
class CodedError {
 public:
  virtual long ErrorCode() const noexcept = 0;

 protected:
  ~CodedError() = default;
};

template <class T>
void ThrowIfFailed(T result) {
  static_assert(std::is_same_v<T, HRESULT>,
                "ThrowIfFailed takes an HRESULT; convert Win32 codes with HRESULT_FROM_WIN32");
  if (FAILED(result)) throw ComError(result);
}

// Inside `catch (...)`: the current exception's HRESULT (ComError's code, E_OUTOFMEMORY for
// bad_alloc, a CodedError's negative code, else E_UNEXPECTED), with the message set as the
// thread's COM error information.
HRESULT ReportToCom() noexcept;

// As ReportToCom, for IDispatch::Invoke: fills `info` and returns DISP_E_EXCEPTION; without an
// EXCEPINFO it falls back to ReportToCom.
HRESULT ReportToExcepInfo(EXCEPINFO* info) noexcept;

}  // namespace qor::com
