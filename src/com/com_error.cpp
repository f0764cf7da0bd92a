#include "com/com_error.h"

#include "com/boundary.h"

#include "com/bstr.h"
#include "com/com_ptr.h"
#include "com/utf.h"
#include "platform/diagnostics.h"
#include "platform/wide_text_win32.h"

#include <cstdio>
#include <exception>
#include <new>

namespace qor::com {
namespace {

// What a failed COM method tells its caller.
struct Report {
  HRESULT code = E_UNEXPECTED;
  std::string message;
  std::string source;
};

Report DescribeException(const std::exception_ptr& current) noexcept {
  Report report;
  if (!current) return report;
  try {
    try {
      std::rethrow_exception(current);
    } catch (const ComError& error) {
      if (FAILED(error.Code())) report.code = error.Code();
      report.message = error.what();
      report.source = error.Source();
    } catch (const std::bad_alloc&) {
      report.code = E_OUTOFMEMORY;
    } catch (const std::exception& error) {
      if (const auto* coded = dynamic_cast<const CodedError*>(&error); coded != nullptr && coded->ErrorCode() < 0)
        report.code = static_cast<HRESULT>(coded->ErrorCode());
      report.message = error.what();
    } catch (...) {
      // Not one of ours: E_UNEXPECTED, with the system's text for it.
    }
    if (report.message.empty()) report.message = HresultMessage(report.code);
  } catch (...) {
    // Out of memory while copying the message: the code alone must do.
  }
  return report;
}

Report DescribeCurrentException() noexcept { return DescribeException(std::current_exception()); }

void SetThreadErrorInfo(const Report& report) noexcept {
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.Put()))) return;
    std::wstring description = ToUtf16(report.message);
    std::wstring source = ToUtf16(report.source);
    create->SetGUID(GUID_NULL);
    create->SetDescription(description.data());
    if (!source.empty()) create->SetSource(source.data());
    if (const auto info = create.TryAs<IErrorInfo>()) SetErrorInfo(0, info.Get());
  } catch (...) {
    // No memory for the texts: the caller gets the code without error information.
  }
}

HRESULT Answer(const Report& report) noexcept {
  SetThreadErrorInfo(report);
  return report.code;
}

HRESULT AnswerInExcepInfo(const Report& report, EXCEPINFO* info) noexcept {
  if (info == nullptr) return Answer(report);
  *info = EXCEPINFO{};
  info->scode = report.code;
  try {
    info->bstrDescription = Bstr(report.message).Detach();
    if (!report.source.empty()) info->bstrSource = Bstr(report.source).Detach();
  } catch (...) {
    // No memory for the strings: the code alone goes back.
  }
  return DISP_E_EXCEPTION;
}

void Record(platform::diagnostics::Kind kind, const char* where, const Report& report) noexcept {
  platform::diagnostics::RecordError(kind, where, report.code, report.message);
}

}  // namespace

std::string HresultMessage(HRESULT code) {
  const std::wstring text = platform::SystemMessageText(static_cast<DWORD>(code));
  if (!text.empty()) return ToUtf8(text);
  char fallback[32];
  std::snprintf(fallback, sizeof fallback, "Error 0x%08lX", static_cast<unsigned long>(code));
  return fallback;
}

ComError::ComError(HRESULT code) : ComError(code, HresultMessage(code)) {}

ComError::ComError(HRESULT code, const std::string& message, std::string source)
    : std::runtime_error(message), code_(code), source_(std::move(source)) {}

ComError ComError::FromErrorInfo(HRESULT code, IUnknown* object, REFIID iid) {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.Put()) != S_OK || !info) return ComError(code);
  if (object != nullptr) {
    ComPtr<ISupportErrorInfo> support;
    if (FAILED(object->QueryInterface(__uuidof(ISupportErrorInfo), support.PutVoid())) ||
        support->InterfaceSupportsErrorInfo(iid) != S_OK)
      return ComError(code);
  }
  Bstr description;
  Bstr source;
  info->GetDescription(description.Put());
  info->GetSource(source.Put());
  if (description.Length() == 0) return ComError(code, HresultMessage(code), source.ToUtf8());
  return ComError(code, description.ToUtf8(), source.ToUtf8());
}

ComError ErrorFromInvoke(HRESULT result, EXCEPINFO& info, IUnknown* object) {
  Bstr description;
  Bstr source;
  Bstr helpFile;
  if (result == DISP_E_EXCEPTION && info.pfnDeferredFillIn != nullptr) {
    info.pfnDeferredFillIn(&info);
    info.pfnDeferredFillIn = nullptr;
  }
  description.Attach(std::exchange(info.bstrDescription, nullptr));
  source.Attach(std::exchange(info.bstrSource, nullptr));
  helpFile.Attach(std::exchange(info.bstrHelpFile, nullptr));
  if (result != DISP_E_EXCEPTION) return ComError::FromErrorInfo(result, object, __uuidof(IDispatch));

  HRESULT code = info.scode;
  if (code == 0 && info.wCode != 0) code = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, info.wCode);
  if (code == 0) code = DISP_E_EXCEPTION;
  if (description.Length() == 0) return ComError(code, HresultMessage(code), source.ToUtf8());
  return ComError(code, description.ToUtf8(), source.ToUtf8());
}

HRESULT ReportToCom() noexcept { return Answer(DescribeCurrentException()); }

HRESULT ReportToExcepInfo(EXCEPINFO* info) noexcept { return AnswerInExcepInfo(DescribeCurrentException(), info); }

HRESULT FailEntry(const char* where) noexcept {
  const Report report = DescribeCurrentException();
  Record(platform::diagnostics::Kind::Failed, where, report);
  return Answer(report);
}

HRESULT FailDispatchEntry(const char* where, EXCEPINFO* info) noexcept {
  const Report report = DescribeCurrentException();
  Record(platform::diagnostics::Kind::Failed, where, report);
  return AnswerInExcepInfo(report, info);
}

void PassOver(const char* where) noexcept {
  Record(platform::diagnostics::Kind::Ignored, where, DescribeCurrentException());
}

void RecordShown(const char* where, const std::exception_ptr& error) noexcept {
  Record(platform::diagnostics::Kind::Failed, where, DescribeException(error));
}

}  // namespace qor::com
