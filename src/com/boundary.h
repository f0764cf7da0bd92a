#pragma once

// The one way in from Outlook, Office, COM clients and Windows: every method they call runs its
// body through one of these. An exception becomes the caller's HRESULT with error information
// (as ReportToCom gives it) and a record in the diagnostics log that names the object and member;
// nothing escapes into the host. `where` names them: "TadxAddin.OnConnection".

#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <type_traits>

namespace qor::com {

// Inside `catch (...)`: the current exception reported to the caller and recorded as a failure.
HRESULT FailEntry(const char* where) noexcept;
// As FailEntry, for IDispatch::Invoke: fills `info` (when given) and returns DISP_E_EXCEPTION.
HRESULT FailDispatchEntry(const char* where, EXCEPINFO* info) noexcept;
// Inside `catch (...)`: the current exception recorded as passed over, by design.
void PassOver(const char* where) noexcept;
// `error` recorded as a failure the user was shown.
void RecordShown(const char* where, const std::exception_ptr& error) noexcept;

// A COM method: `body` returns its HRESULT.
template <class Body>
HRESULT Entry(const char* where, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return FailEntry(where);
  }
}

// IDispatch::Invoke and its kin, which hand errors back in an EXCEPINFO.
template <class Body>
HRESULT DispatchEntry(const char* where, EXCEPINFO* info, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return FailDispatchEntry(where, info);
  }
}

// A call whose answer to a failure is fixed, `failed`: a window procedure, another call-back of
// Windows, registration's E_FAIL. The error is recorded and set as error information all the same.
template <class Result, class Body>
Result EntryOr(const char* where, Result failed, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    FailEntry(where);
    return failed;
  }
}

// Work whose errors the design passes over (a host object gone stale, an optional step): runs
// `body`, records what it threw and goes on. Whether `body` ran to its end.
template <class Body>
bool PassingOver(const char* where, Body&& body) noexcept {
  static_assert(std::is_void_v<decltype(body())>, "PassingOver runs a body that returns nothing");
  try {
    body();
    return true;
  } catch (...) {
    PassOver(where);
    return false;
  }
}

// As PassingOver, for work that yields a value: `fallback` when `body` throws.
template <class Result, class Body>
Result PassingOver(const char* where, Result fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    PassOver(where);
    return fallback;
  }
}

}  // namespace qor::com
