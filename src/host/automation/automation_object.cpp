#include "host/automation/automation_object.h"

#include <cstdio>

namespace qor::host::automation {

namespace {

// The failures of a call whose callee has gone: its objects were disconnected, or its apartment or
// process ended (RPC_S_UNKNOWN_IF: no stub is left for the object) or died during the call.
bool IsDisconnection(HRESULT code) noexcept {
  return code == RPC_E_DISCONNECTED || code == CO_E_OBJNOTCONNECTED || code == RPC_E_SERVER_DIED ||
         code == RPC_E_SERVER_DIED_DNE || code == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         code == HRESULT_FROM_WIN32(RPC_S_UNKNOWN_IF) || code == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

constexpr std::string_view kOutlookGone =
    "Outlook is no longer reachable: it was closed or stopped responding. Start Outlook again and repeat the action.";

}  // namespace

void ThrowHostError(std::string_view type, std::string_view member, const com::ComError& error) {
  const std::string where = std::string(type).append(".").append(member).append(": ");
  char code[16];
  std::snprintf(code, sizeof code, " (0x%08lX)", static_cast<unsigned long>(error.Code()));
  if (IsDisconnection(error.Code())) throw HostDisconnected(where + std::string(kOutlookGone) + code);
  throw HostError(where + error.what() + code);
}

std::string Answer::Text() const {
  if (value_.IsEmpty() || value_.IsNull()) return {};
  return AsHostCall(type_, member_, [&] { return value_.ToUtf8(); });
}

int Answer::Number() const {
  return AsHostCall(type_, member_, [&] { return static_cast<int>(value_.ToInt()); });
}

com::ComPtr<IDispatch> Answer::Object() const {
  if (value_.IsEmpty() || value_.IsNull()) return nullptr;
  return AsHostCall(type_, member_, [&] { return value_.ToDispatch(); });
}

com::ComPtr<IDispatch> Answer::RequiredObject() const {
  auto object = Object();
  if (!object) throw HostError(std::string(type_).append(".").append(member_).append(": Outlook returned no object."));
  return object;
}

}  // namespace qor::host::automation
