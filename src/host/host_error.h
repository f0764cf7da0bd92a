#pragma once

#include <stdexcept>
#include <string>

namespace qor::host {

// A failing call on the host's object model, with the host's message. Through COM the message
// also names the object and member and gives the HRESULT ("Items.Restrict: Cannot parse
// condition. (0x80020009)").
class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// The host went away while in use: Outlook was closed or stopped responding, so no later call on
// any object it handed out can succeed.
class HostDisconnected : public HostError {
 public:
  using HostError::HostError;
};

}  // namespace qor::host
