#pragma once

#include <stdexcept>
#include <string>

namespace qor::host {

// A failing call on the host's object model; the message is the host's own.
class HostError : public std::runtime_error {
 public:
  explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace qor::host
